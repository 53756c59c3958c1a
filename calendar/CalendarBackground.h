#pragma once

#include <windows.h>

// Draws the bitmap over (0, 0)-(width, height) of the target: stretched to
// it, or tiled from the top left, the last row and column cut to the target.
// The bitmap is selected into the memory DC for the copy, and the memory DC's
// own bitmap selected back after it. A bitmap of no size draws nothing.
void DrawBitmapStretchedOrTiled(HDC memoryDC, HDC target, HBITMAP bitmap, int bitmapWidth, int bitmapHeight,
                                bool stretch, int targetWidth, int targetHeight);
