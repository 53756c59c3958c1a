#pragma once

#include <windows.h>

// The common colour dialog, fully open, with a title of the caller's; its
// custom colours offer the note tints on displays of more than 256 colours.
// 1 with the chosen colour, 0 when cancelled (the colour is then untouched).
int ChooseColorWithTitle(COLORREF* color, HWND owner, COLORREF initial, const char* title);

// The sixteen custom colours the dialog starts with on a display of that many
// colours.
void FillCustomColors(COLORREF colors[16], DWORD displayColors);
