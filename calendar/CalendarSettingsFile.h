#pragma once

// Every user's calendar options and nine calendar styles in the data folder's
// XML file "calendar.QPD": one "options" element per options record and one
// "styles" element of nine "style" elements per style set, under "content".

// Writes the whole file from the two lists, the last appended first. The new
// file replaces the old one in one step, so a failure half way keeps the old
// file; file failures throw CGenericException, as does a damaged file that
// could not be kept aside (it is not written over).
void SaveCalendarSettings();

// Reads the file once: both lists emptied and read back from it; the current
// user's record and set become the current ones, and a user the file does not
// know gets the standard ones. A file that cannot be parsed is kept aside and
// reported once, and the standard options and styles stand in for it; an
// options record or a style missing a required key is skipped and reading
// goes on, the file then copied aside and reported once (CSkippedEntries). A
// missing file is no fault; one another program holds throws
// CGenericException, the lists as they were.
void LoadCalendarSettingsFile();
