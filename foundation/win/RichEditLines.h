#pragma once

#include <windows.h>

#include <richedit.h>

#include <vector>

// Where a rich edit lays out its lines of text, asked of the rich edit itself:
// lines ruled under them stay under them whatever fonts and sizes the text
// holds, and move with the text as it scrolls.

// The rows, in the edit's client coordinates, of the lines ruled under its
// text for the paint to come: under each line at the top of the next; under
// the last at the end of the text; below the text every `lineHeight` pixels
// (0: a line of the edit's default format, measured only when the end of the
// text shows). Only the lines from the first visible one on are asked. An
// edit paints again only the lines its text changed, while the rules below
// the text go from its end: when that end shows elsewhere in the text than at
// the last paint that showed it (paintedTextEnd, kept by the caller), the
// whole edit is made to be painted again. Asked before the paint begins.
std::vector<int> RuledRowsForPaint(HWND edit, int lineHeight, int& paintedTextEnd);

// The height a rich edit gives a line of text in the character format, as a
// rich edit of the thread's own lays out such a line (measured once for each
// new format); 0 when it cannot be measured.
int RichEditLineHeight(const CHARFORMATA& format);

// The height of the edit's whole text, from the top of its first line to the
// bottom of its last. The edit tells it to its parent (EN_REQUESTRESIZE),
// whose WM_NOTIFY hands the notice to TakeTextHeightNotice; -1 when the parent
// did not.
int RichEditTextHeight(HWND edit);
// True when the notice answered RichEditTextHeight, which keeps what it says.
bool TakeTextHeightNotice(const NMHDR& notice);
