#pragma once

#include <windows.h>

#include "foundation/win/GdiObjects.h"

// Font sizes in points at the screen's resolution, and small pixel drawing.

// Changes the font object to the HFONT's face at the point size.
void SetFontPointSize(CGdiFont& font, HFONT source, int points);
// The height in pixels of a line of text in the font on the DC.
int FontTextHeight(HDC dc, const LOGFONTA& font);
// Steps a LOGFONT height one point up (only from 6 points) or down (only from 7
// points); returns 1 when the size did not change, else 0.
int StepFontPointSize(LONG* height, bool up);

// Every pixel of (0, 0)-(width - 1, height - 1) of exactly the colour from becomes to.
void ReplacePixelColor(HDC dc, int width, int height, COLORREF from, COLORREF to);
// The polygon of the three points with the DC's pen and brush, drawn with the
// given background and text colours, which are then restored.
void DrawTriangle(HDC dc, const POINT points[3], COLORREF background, COLORREF text);
