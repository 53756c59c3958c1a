#pragma once

// Every user's calendar options and nine calendar styles in the data folder's
// XML file "calendar.QPD": one "options" element per options record and one
// "styles" element of nine "style" elements per style set, under "content".

// Writes the whole file from the two lists, the last appended first. The new
// file replaces the old one in one step, so a failure half way keeps the old
// file; file failures throw CGenericException.
void SaveCalendarSettings();

// Empty the list and read it back from the file; the current user's record
// (or set) becomes the current one, and a user the file does not know gets
// the standard one. A file that cannot be read is reported in a box and
// what was read before the fault stays; a missing file is no fault.
void LoadCalendarOptions();
void LoadCalendarStyles();
