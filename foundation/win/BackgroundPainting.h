#pragma once

#include <windows.h>

#include <functional>

#include "foundation/win/DeviceContext.h"
#include "foundation/win/GdiCaches.h"

// Backgrounds that windows prepare in their memory DC: gradients of one colour
// and pictures stretched or tiled.

// The system's GradientFill, which start-up takes from msimg32 when present.
// Without it no gradient is drawn and callers fill with their brush instead.
using GradientFillFunction = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
void SetGradientFillFunction(GradientFillFunction fill);
GradientFillFunction GetGradientFillFunction();

// Fills (0, 0)-(width, height) of the DC from a pale tint of the colour to the
// colour: kind 1 left to right, 2 top to bottom, 3 diagonally (two triangles).
// x and y are not used. Returns 0 when nothing was drawn: another kind, a height
// of 0 or less, or no GradientFill.
int DrawGradient(int kind, int x, int y, int width, int height, HDC dc, COLORREF color);

// The same gradient over a rectangle anywhere in the DC: the DC's origin is
// moved to the rectangle's corner while it is drawn.
int DrawGradientIn(int kind, const RECT& area, HDC dc, COLORREF color);

// Paints the picture (of that size in pixels) over the area: stretched to it
// (HALFTONE) or tiled from its top-left corner, cut at its edges.
void DrawPictureOver(HDC target, HDC picture, int width, int height, const RECT& area, bool stretch);

// Re-creates the memory DC at the window's client size and paints into it the
// picture stretched (its size from the low 16 bits of the arguments) or tiled; a
// picture of no width or height is refused. Without a picture: a gradient of the
// kind (1 to 3) in the brush's colour, or the brush where no gradient is drawn.
void PaintBackgroundPicture(HWND window, CMemoryDC& memoryDC, int gradientKind, HBITMAP picture, int pictureWidth,
                            int pictureHeight, bool stretch, const CBrushEntry& brush);
// The same at the size of an area whose top left corner is (0, 0), the memory
// DC made compatible with the reference DC.
void PaintBackgroundPicture(HDC reference, const RECT& area, CMemoryDC& memoryDC, int gradientKind, HBITMAP picture,
                            int pictureWidth, int pictureHeight, bool stretch, const CBrushEntry& brush);

// What shows under a rich edit's text, painted into the DC over the edit's
// client area at every paint.
using PaintUnderText = std::function<void(HDC dc, const RECT& client)>;

// WM_PAINT of a rich edit over a background: a rich edit paints its own colour
// under its text, so the control draws into a picture of its own
// (WM_PRINTCLIENT through its procedure), the background takes the place of
// that colour, and the result reaches the screen in one copy, so nothing
// flickers. The pictures are kept from paint to paint. Scrolling moves the
// pixels of the text's rectangle on the screen, background with the text: a
// background that stays in place (a picture, a gradient) is painted whole
// again when the text has scrolled since the last paint (paintedScroll, kept
// by the caller); one of a colour, whose lines go with the text, passes none.
// The caret of an edit that has the focus is hidden while the picture is
// copied over it (asking the system whether it has costs a paint as much).
// False, with nothing painted, when no picture could be made: the edit then
// paints itself.
bool PaintRichEditOverBackground(HWND edit, WNDPROC editProcedure, COLORREF colour, bool focused,
                                 POINT* paintedScroll, const PaintUnderText& paintUnder);
