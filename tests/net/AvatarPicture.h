#pragma once

#include <windows.h>

#include <string>

// A 24-bit picture of side x side pixels in one colour, with one odd pixel so
// that no two rows of bytes are alike at the start.
std::string SquareBitmap(int side, COLORREF colour);

// How many pixels of the colour the screen shows inside the window.
int ScreenPixelsOfColour(HWND window, COLORREF colour);
