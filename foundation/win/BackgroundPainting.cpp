#include "foundation/win/BackgroundPainting.h"

#include <algorithm>

#include "foundation/win/BitmapHelpers.h"

namespace {
// A monochrome mask of the picture in the DC: 1 where it has the colour.
HBITMAP MaskOfColour(HDC picture, int width, int height, COLORREF colour)
{
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    HDC maskDC = CreateCompatibleDC(picture);
    HGDIOBJ previous = SelectObject(maskDC, mask);
    SetBkColor(picture, colour);
    BitBlt(maskDC, 0, 0, width, height, picture, 0, 0, SRCCOPY);
    SelectObject(maskDC, previous);
    DeleteDC(maskDC);
    return mask;
}

GradientFillFunction g_gradientFill = nullptr;

// The tint at a share s of the way from white to the colour: each channel
// 255 + (c - 255) x s / height, kept within 0..255 (shares past the height, as
// in low windows, would otherwise wrap to bright colours).
TRIVERTEX Vertex(LONG x, LONG y, COLORREF color, long long share, long long height)
{
    auto channel = [&](int c) {
        long long value = 255 + (static_cast<long long>(c) - 255) * share / height;
        value = value < 0 ? 0 : (value > 255 ? 255 : value);
        return static_cast<COLOR16>(value << 8);
    };
    TRIVERTEX vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.Red = channel(GetRValue(color));
    vertex.Green = channel(GetGValue(color));
    vertex.Blue = channel(GetBValue(color));
    vertex.Alpha = 0;
    return vertex;
}

}

void DrawPictureOver(HDC target, HDC picture, int width, int height, const RECT& area, bool stretch)
{
    if (width <= 0 || height <= 0)
        return;
    if (stretch) {
        const int previousMode = SetStretchBltMode(target, HALFTONE);
        POINT previousOrigin{};
        SetBrushOrgEx(target, 0, 0, &previousOrigin);
        StretchBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, picture, 0, 0, width,
                   height, SRCCOPY);
        SetStretchBltMode(target, previousMode);
        SetBrushOrgEx(target, previousOrigin.x, previousOrigin.y, nullptr);
        return;
    }
    for (int y = area.top; y < area.bottom; y += height)
        for (int x = area.left; x < area.right; x += width)
            BitBlt(target, x, y, std::min(width, static_cast<int>(area.right) - x),
                   std::min(height, static_cast<int>(area.bottom) - y), picture, 0, 0, SRCCOPY);
}

void SetGradientFillFunction(GradientFillFunction fill)
{
    g_gradientFill = fill;
}

GradientFillFunction GetGradientFillFunction()
{
    return g_gradientFill;
}

int DrawGradient(int kind, int /*x*/, int /*y*/, int width, int height, HDC dc, COLORREF color)
{
    if (!g_gradientFill || height <= 0 || kind < 1 || kind > 3)
        return 0;
    if (kind == 1 || kind == 2) {
        TRIVERTEX vertices[2] = {Vertex(0, 0, color, height / 4, height), Vertex(width, height, color, height, height)};
        GRADIENT_RECT rect = {0, 1};
        return g_gradientFill(dc, vertices, 2, &rect, 1, kind == 1 ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
    }
    long long corner = height / 2 + 20;
    TRIVERTEX vertices[4] = {
        Vertex(0, 0, color, height * 29 / 100, height),
        Vertex(width, 0, color, corner, height),
        Vertex(0, height, color, corner, height),
        Vertex(width, height, color, height, height),
    };
    GRADIENT_TRIANGLE upper = {0, 1, 3};
    GRADIENT_TRIANGLE lower = {0, 3, 2};
    int drawn = g_gradientFill(dc, vertices, 4, &upper, 1, GRADIENT_FILL_TRIANGLE);
    return g_gradientFill(dc, vertices, 4, &lower, 1, GRADIENT_FILL_TRIANGLE) && drawn;
}

int DrawGradientIn(int kind, const RECT& area, HDC dc, COLORREF color)
{
    POINT origin{};
    OffsetViewportOrgEx(dc, area.left, area.top, &origin);
    const int drawn = DrawGradient(kind, 0, 0, area.right - area.left, area.bottom - area.top, dc, color);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    return drawn;
}

void PaintBackgroundPicture(HWND window, CMemoryDC& memoryDC, int gradientKind, HBITMAP picture, int pictureWidth,
                            int pictureHeight, bool stretch, const CBrushEntry& brush)
{
    CClientDC windowDC(window);
    RECT client;
    GetClientRect(window, &client);
    PaintBackgroundPicture(windowDC.GetHandle(), client, memoryDC, gradientKind, picture, pictureWidth, pictureHeight,
                           stretch, brush);
}

void PaintBackgroundPicture(HDC reference, const RECT& area, CMemoryDC& memoryDC, int gradientKind, HBITMAP picture,
                            int pictureWidth, int pictureHeight, bool stretch, const CBrushEntry& brush)
{
    memoryDC.Create(reference, area);
    HDC target = memoryDC.GetHandle();
    int width = pictureWidth & 0xFFFF;
    int height = pictureHeight & 0xFFFF;
    if (picture && width > 0 && height > 0) {
        CCompatibleDC source(reference);
        CObjectSelector selected(source.GetHandle(), picture);
        DrawPictureOver(target, source.GetHandle(), width, height, area, stretch);
    } else if (!DrawGradient(gradientKind, 0, 0, area.right, area.bottom, target, brush.color)) {
        memoryDC.FillWithBrush(brush.brush);
    }
}

void PaintRichEditOverBackground(HWND edit, WNDPROC editProcedure, HDC background, COLORREF colour)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(edit, &paint);
    RECT client{};
    GetClientRect(edit, &client);
    const int width = client.right, height = client.bottom;
    if (width > 0 && height > 0) {
        HideCaret(edit);
        HDC text = CreateCompatibleDC(dc);
        HBITMAP textPicture = CreateCompatibleBitmap(dc, width, height);
        HGDIOBJ previousText = SelectObject(text, textPicture);
        HBRUSH body = CreateSolidBrush(colour);
        FillRect(text, &client, body);
        DeleteObject(body);
        CallWindowProcA(editProcedure, edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(text), PRF_CLIENT);

        HBITMAP mask = MaskOfColour(text, width, height, colour);
        HDC maskDC = CreateCompatibleDC(dc);
        HGDIOBJ previousMask = SelectObject(maskDC, mask);
        // The text where the mask is 0, black where the body's colour was.
        SetBkColor(text, RGB(0, 0, 0));
        SetTextColor(text, RGB(255, 255, 255));
        BitBlt(text, 0, 0, width, height, maskDC, 0, 0, SRCAND);
        // The background where the mask is 1, black elsewhere, laid over it.
        HDC under = CreateCompatibleDC(dc);
        HBITMAP underPicture = CreateCompatibleBitmap(dc, width, height);
        HGDIOBJ previousUnder = SelectObject(under, underPicture);
        BitBlt(under, 0, 0, width, height, background, 0, 0, SRCCOPY);
        SetBkColor(under, RGB(255, 255, 255));
        SetTextColor(under, RGB(0, 0, 0));
        BitBlt(under, 0, 0, width, height, maskDC, 0, 0, SRCAND);
        BitBlt(text, 0, 0, width, height, under, 0, 0, SRCPAINT);
        const RECT& area = paint.rcPaint;
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, text, area.left, area.top,
               SRCCOPY);

        SelectObject(under, previousUnder);
        DeleteObject(underPicture);
        DeleteDC(under);
        SelectObject(maskDC, previousMask);
        DeleteDC(maskDC);
        DeleteObject(mask);
        SelectObject(text, previousText);
        DeleteObject(textPicture);
        DeleteDC(text);
        ShowCaret(edit);
    }
    EndPaint(edit, &paint);
}
