#pragma once

#include <windows.h>

// Draws the bitmap with its top-left corner at (x, y), leaving the pixels of
// the transparent colour as the destination had them. Works through masks, so
// printers and any mapping mode take it too.
void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent);
