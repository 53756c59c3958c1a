#pragma once

#include <windows.h>

// The common font dialog (screen fonts, effects and colour) started from the given
// font and colour, with the caller's title when one is given. Returns true with the
// chosen font (face cut to 31 characters) and colour; false when cancelled, the
// outputs untouched.
bool ChooseFontWithTitle(LOGFONTA* fontOut, COLORREF* colorOut, HWND owner, const LOGFONTA& font, COLORREF color,
                         const char* title);
