#pragma once

#include <windows.h>

#include <vector>

class CNoteController;

// The margin line and the ruled lines a note draws behind its text, and the
// room its text leaves for the margin line.

// Whether the body shows a margin line or ruled lines.
bool HasNoteLines(const CNoteController& note);
// The text starts 30 pixels from the body's left edge when the note has a
// margin line (never in a chat note), at the body's own edge otherwise; the
// body is painted again.
void ApplyNoteMargin(CNoteController& note);
// After a size change: the margin given back when the body's rectangle lost
// it, taken away from a note that became a chat note, given to one that
// stopped being one.
void KeepNoteMargin(CNoteController& note);
// The rows of the ruled lines for the paint to come, asked before it begins:
// a line under each line of the text where the body lays it out, whatever its
// font and size, so that the ruled lines move with the text; below the text
// they go on a line of the body's font apart. None without ruled lines.
std::vector<int> NoteRuledRows(CNoteController& note);
// The lines over the background already painted in the DC: the margin line
// and the ruled lines at those rows.
void DrawNoteLines(const CNoteController& note, HDC dc, const RECT& client, const std::vector<int>& ruledRows);
