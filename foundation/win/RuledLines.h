#pragma once

#include <windows.h>

#include <vector>

// The lines a note shows behind its text, in the light tint of its text
// colour: the margin line down its left side and the ruled lines under its
// lines of text. The note's body and the preview of its settings draw them
// alike.

// Where the margin line leaves the text: the text starts this far from the
// body's left edge.
const int kMarginTextLeft = 30;

// Margin kind 1 a dotted line (every second pixel) 25 pixels from the left,
// kind 2 a solid one there, kinds 3 and 4 the same at 25 and 28 pixels; no
// line for kind 0. The lines run from 4 pixels under the top to 5 above the
// bottom.
void DrawMarginLine(HDC dc, DWORD kind, int top, int bottom, COLORREF textColour);

// Solid lines across the rows, from `left` to `right`: the rows of a text's
// lines, where its rich edit lays them out.
void DrawRuledRows(HDC dc, const std::vector<int>& rows, int left, int right, COLORREF textColour);

// Solid lines `spacing` pixels apart from `left` to `right`, one under each
// line of text whose first line starts at `origin` (which may lie above the
// area, in text scrolled up), wherever they fall between `top` and `bottom`.
void DrawRuledLines(HDC dc, int origin, int spacing, int left, int right, int top, int bottom,
                    COLORREF textColour);
