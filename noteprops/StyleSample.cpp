#include "noteprops/StyleSample.h"

#include <initializer_list>

#include "foundation/bytes/NoteColors.h"
#include "foundation/win/BackgroundPainting.h"
#include "noteprops/AppearancePreview.h"
#include "globals/NoteStyle.h"
#include "store/StyleStorage.h"

namespace {
const int kSize = 15;

void FillSampleRect(HDC dc, int left, int top, int width, int height, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT box{left, top, left + width, top + height};
    FillRect(dc, &box, brush);
    DeleteObject(brush);
}

void Dot(HDC dc, int left, int top, int column, int row, COLORREF colour)
{
    SetPixel(dc, left + column, top + row, colour);
}

void Body(HDC dc, int left, int top, const CNoteStyle& style)
{
    char file[MAX_PATH] = "";
    if (style.textureId && FindTextureByNameHash(file, sizeof file, style.textureId)) {
        // Tiled textures start at the picture's corner, as on a note.
        RECT body{left, top + 5, left + kSize, top + kSize};
        HRGN clip = CreateRectRgnIndirect(&body);
        SelectClipRgn(dc, clip);
        PaintTextureFile(dc, body, file, style.textureStretch != 0);
        SelectClipRgn(dc, nullptr);
        DeleteObject(clip);
        return;
    }
    if (style.backgroundKind >= 1 && style.backgroundKind <= 3 && GetGradientFillFunction()) {
        DrawGradientIn(static_cast<int>(style.backgroundKind), RECT{left, top + 5, left + kSize, top + 16}, dc,
                       style.backgroundColor);
        return;
    }
    FillSampleRect(dc, left, top + 5, kSize, 10, style.backgroundColor);
}

void MarginAndLines(HDC dc, int left, int top, const CNoteStyle& style)
{
    const COLORREF tint = static_cast<COLORREF>(GetBackgroundTint(style.textColor));
    const DWORD kind = style.leftMarginKind;
    const bool dotted = kind == 1 || kind == 3;
    for (int column : {2, 4}) {
        if (kind == 0 || (column == 4 && kind < 3))
            continue;
        for (int row = 6; row <= 13; ++row) {
            if (!dotted || row % 2 == 0)
                Dot(dc, left, top, column, row, tint);
        }
    }
    if (!style.horizontalLines)
        return;
    const int from = kind == 0 ? 2 : kind <= 2 ? 4 : 6;
    for (int row : {8, 10, 12})
        for (int column = from; column <= 13; ++column)
            Dot(dc, left, top, column, row, tint);
}

void Frame(HDC dc, int left, int top, const CNoteStyle& style)
{
    if (!style.hasBorder && !style.stayOnTop)
        return;
    const COLORREF colour = style.stayOnTop ? RGB(255, 0, 0) : RGB(0, 0, 255);
    for (int row : {0, 5, 14})
        FillSampleRect(dc, left, top + row, kSize, 1, colour);
    FillSampleRect(dc, left, top, 1, kSize, colour);
    FillSampleRect(dc, left + kSize - 1, top, 1, kSize, colour);
}
}

void DrawStyleSample(HDC dc, int x, int y, const RECT& rect, bool pressed, bool buttonMode, const CNoteStyle& style)
{
    FillRect(dc, &rect, GetSysColorBrush(buttonMode ? COLOR_BTNFACE : COLOR_WINDOW));
    int left = x + rect.left, top = y + rect.top;
    if (buttonMode) {
        RECT edge = rect;
        DrawEdge(dc, &edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        left += pressed ? 5 : 4;
        top += pressed ? 5 : 4;
    }
    FillSampleRect(dc, left, top, kSize, 5, style.titleBackgroundColor);
    Body(dc, left, top, style);
    MarginAndLines(dc, left, top, style);
    Frame(dc, left, top, style);
}
