#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// A window's text and the lines ruled under it, read from the screen's pixels
// alone, independent of where the program means to draw them.

struct TextAndRules {
    std::vector<std::pair<int, int>> lines;  // the first and the last row of each line's ink
    std::vector<int> rules;                  // rows ruled across, right of the text's end
};

// The client area of the window once it has painted: the rows of each line
// of text (rows holding ink, neither the background colour nor the lines'
// tint of black text, from column inkLeft to a little before the column
// where the rules are read, grouped where they touch), and the rows ruled
// across at that column, 30 pixels from the right edge.
TextAndRules ReadTextAndRules(HWND window, COLORREF background, int inkLeft);
// The same, read again until the window shows that many lines of text (or
// the wait ends; the last reading then): a caret taken from the window a
// moment before can still stand on the screen, joining two lines' ink.
TextAndRules ReadLinesOnceShown(HWND window, COLORREF background, int inkLeft, size_t lines);

// No rule crosses a line's ink, one runs between each line and the next, one
// under the last, and below it they go on evenly apart to the bottom.
void ExpectARuleUnderEachLine(const TextAndRules& seen, size_t lines, const std::string& what);

// The row of the first rule under the line; -1 when there is none.
int RuleUnder(const TextAndRules& seen, size_t line);
// The distance of the rules below the text; 0 when fewer than two show.
int BelowTextPitch(const TextAndRules& seen);
