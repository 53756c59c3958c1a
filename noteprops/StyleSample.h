#pragma once

#include <windows.h>

class CNoteStyle;

// A 15 x 15 miniature of a note style: title strip, body (texture, gradient
// or colour), margin marks, lines and frame. In button mode the rectangle is
// a raised button face (sunken when pressed) with the miniature inset.
void DrawStyleSample(HDC dc, int x, int y, const RECT& rect, bool pressed, bool buttonMode, const CNoteStyle& style);
