#include "foundation/win/RuledLines.h"

#include "foundation/bytes/NoteColors.h"
#include "foundation/win/GdiObjects.h"

namespace {
const int kMarginLineLeft = 25;
const int kSecondMarginLineLeft = 28;
const int kMarginLineTopGap = 4;
const int kMarginLineBottomGap = 5;

COLORREF LineColour(COLORREF textColour)
{
    return static_cast<COLORREF>(GetBackgroundTint(textColour));
}

void VerticalLine(HDC dc, int x, int top, int bottom, COLORREF colour, bool dotted)
{
    if (!dotted) {
        DrawSolidLine(dc, x, top, x, bottom, colour);
        return;
    }
    for (int y = top; y < bottom; y += 2)
        SetPixel(dc, x, y, colour);
}
}

void DrawMarginLine(HDC dc, DWORD kind, int top, int bottom, COLORREF textColour)
{
    const int from = top + kMarginLineTopGap, to = bottom - kMarginLineBottomGap;
    // A body too low for the gaps (a rolled-up note) shows no line.
    if (kind < 1 || kind > 4 || to <= from)
        return;
    const COLORREF colour = LineColour(textColour);
    const bool dotted = kind == 1 || kind == 3;
    VerticalLine(dc, kMarginLineLeft, from, to, colour, dotted);
    if (kind >= 3)
        VerticalLine(dc, kSecondMarginLineLeft, from, to, colour, dotted);
}

void DrawRuledLines(HDC dc, int origin, int spacing, int left, int right, int top, int bottom,
                    COLORREF textColour)
{
    if (spacing <= 0 || left >= right)
        return;
    // The first line under a line of text that reaches the area: text
    // scrolled far up starts many lines above it.
    long long y = static_cast<long long>(origin) + spacing;
    if (y < top)
        y += (top - y + spacing - 1) / spacing * spacing;
    const COLORREF colour = LineColour(textColour);
    for (; y < bottom; y += spacing)
        DrawSolidLine(dc, left, static_cast<int>(y), right, static_cast<int>(y), colour);
}

void DrawRuledRows(HDC dc, const std::vector<int>& rows, int left, int right, COLORREF textColour)
{
    if (rows.empty() || left >= right)
        return;
    // One pen for them all; a paint never stops on a box, so no wrapper
    // that shows one.
    HPEN pen = CreatePen(PS_SOLID, 1, LineColour(textColour));
    if (!pen)
        return;
    HGDIOBJ previous = SelectObject(dc, pen);
    for (int y : rows) {
        MoveToEx(dc, left, y, nullptr);
        LineTo(dc, right, y);
    }
    SelectObject(dc, previous);
    DeleteObject(pen);
}
