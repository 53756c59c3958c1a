#pragma once

#include <windows.h>

// Draws the part of the bitmap from (sourceX, sourceY) into the rectangle at
// (x, y) in the etched look of a disabled control: the rectangle in the button
// face colour, the picture's dark parts in the shadow colour with a highlight
// one pixel right and down.
void DrawEmbossedBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, int sourceX, int sourceY);
