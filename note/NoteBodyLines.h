#pragma once

#include <windows.h>

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
// The distance of the ruled lines, a line of the body's font, measured again
// once the body's font is set.
void MeasureNoteLines(CNoteController& note);
// The text's scroll position in pixels.
POINT NoteTextScroll(const CNoteController& note);
// The lines over the background already painted in the DC, at the text's
// present scroll position: the ruled lines move with the text.
void DrawNoteLines(const CNoteController& note, HDC dc, const RECT& client);
