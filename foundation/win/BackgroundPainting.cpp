#include "foundation/win/BackgroundPainting.h"

#include <richedit.h>

#include <algorithm>

#include "foundation/win/BitmapHelpers.h"

namespace {
// A memory picture kept from one paint to the next and grown to the largest
// size asked for: making a bitmap is the dearest part of a small window's
// paint (about half a millisecond under Wine), so a paint makes none. The
// paints of a thread use it one after another.
class CReusedPicture {
public:
    explicit CReusedPicture(bool monochrome) : m_monochrome(monochrome) {}
    ~CReusedPicture() { Free(); }
    CReusedPicture(const CReusedPicture&) = delete;
    CReusedPicture& operator=(const CReusedPicture&) = delete;

    // A memory DC holding a picture of at least that size; null when none
    // could be made.
    HDC Get(int width, int height)
    {
        if (m_dc && width <= m_width && height <= m_height)
            return m_dc;
        Free();
        m_width = std::max(width, m_width);
        m_height = std::max(height, m_height);
        HDC screen = GetDC(nullptr);
        m_bitmap = m_monochrome ? CreateBitmap(m_width, m_height, 1, 1, nullptr)
                                : CreateCompatibleBitmap(screen, m_width, m_height);
        m_dc = m_bitmap ? CreateCompatibleDC(screen) : nullptr;
        ReleaseDC(nullptr, screen);
        if (!m_dc) {
            Free();
            return nullptr;
        }
        m_previous = SelectObject(m_dc, m_bitmap);
        return m_dc;
    }

private:
    void Free()
    {
        if (m_dc) {
            SelectObject(m_dc, m_previous);
            DeleteDC(m_dc);
        }
        if (m_bitmap)
            DeleteObject(m_bitmap);
        m_dc = nullptr;
        m_bitmap = nullptr;
        m_previous = nullptr;
    }

    bool m_monochrome;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    int m_width = 0;
    int m_height = 0;
};

// The text, the background and the mask of the colour that tells them apart.
struct TextPaintPictures {
    CReusedPicture text{false};
    CReusedPicture under{false};
    CReusedPicture mask{true};
};

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

bool PaintRichEditOverBackground(HWND edit, WNDPROC editProcedure, COLORREF colour, bool focused,
                                 POINT* paintedScroll, const PaintUnderText& paintUnder)
{
    if (paintedScroll) {
        POINT scroll{};
        SendMessageA(edit, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
        if (scroll.x != paintedScroll->x || scroll.y != paintedScroll->y) {
            InvalidateRect(edit, nullptr, FALSE);
            *paintedScroll = scroll;
        }
    }
    RECT client{};
    GetClientRect(edit, &client);
    const int width = client.right, height = client.bottom;
    thread_local TextPaintPictures pictures;
    HDC text = nullptr, under = nullptr, mask = nullptr;
    if (width > 0 && height > 0) {
        text = pictures.text.Get(width, height);
        under = pictures.under.Get(width, height);
        mask = pictures.mask.Get(width, height);
        if (!text || !under || !mask)
            return false;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(edit, &paint);
    RECT area{};
    if (text && IntersectRect(&area, &paint.rcPaint, &client)) {
        paintUnder(under, client);
        if (focused)
            HideCaret(edit);
        // The edit's drawing is cut to what is to be painted: a letter typed
        // repaints one line.
        const int x = area.left, y = area.top, w = area.right - area.left, h = area.bottom - area.top;
        IntersectClipRect(text, area.left, area.top, area.right, area.bottom);
        HBRUSH body = CreateSolidBrush(colour);
        FillRect(text, &area, body);
        DeleteObject(body);
        CallWindowProcA(editProcedure, edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(text), PRF_CLIENT);
        SelectClipRgn(text, nullptr);

        // 1 in the mask where the text's picture shows the body's colour.
        SetBkColor(text, colour);
        BitBlt(mask, x, y, w, h, text, x, y, SRCCOPY);
        // The text where the mask is 0, black where the body's colour was.
        SetBkColor(text, RGB(0, 0, 0));
        SetTextColor(text, RGB(255, 255, 255));
        BitBlt(text, x, y, w, h, mask, x, y, SRCAND);
        // The background where the mask is 1, black elsewhere, laid over it.
        SetBkColor(under, RGB(255, 255, 255));
        SetTextColor(under, RGB(0, 0, 0));
        BitBlt(under, x, y, w, h, mask, x, y, SRCAND);
        BitBlt(text, x, y, w, h, under, x, y, SRCPAINT);
        BitBlt(dc, x, y, w, h, text, x, y, SRCCOPY);
        if (focused)
            ShowCaret(edit);
    }
    EndPaint(edit, &paint);
    return true;
}
