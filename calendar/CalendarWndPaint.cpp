// The calendar window's painting: the background the window and its
// transparent controls share, the frame, the border that tells the window's
// state and the caption with today's date.
#include "calendar/CalendarBackground.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWnd.h"
#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/FontSizeAndPixels.h"
#include "foundation/win/HoverButton.h"

namespace {
// Borders by the window's state.
const COLORREF kBorderColor = 0xFF0000;
const COLORREF kOnTopColor = 0x0000FF;
const COLORREF kBroughtForwardColor = 0xE10000;
const int kCornerLeg = 6;

void FillArea(HDC dc, int left, int top, int right, int bottom, HBRUSH brush)
{
    const RECT area = {left, top, right, bottom};
    FillRect(dc, &area, brush);
}

// A corner mark: the triangle with its right angle at the corner point, legs
// going in the directions given (+1 or -1).
void DrawCorner(HDC dc, int x, int y, int dx, int dy)
{
    const POINT points[3] = {{x, y}, {x + dx * kCornerLeg, y}, {x, y + dy * kCornerLeg}};
    DrawTriangle(dc, points, 0xFFFFFF, 0x0000FF);
}
}

void DrawBitmapStretchedOrTiled(HDC memoryDC, HDC target, HBITMAP bitmap, int bitmapWidth, int bitmapHeight,
                                bool stretch, int targetWidth, int targetHeight)
{
    if (!bitmap || bitmapWidth <= 0 || bitmapHeight <= 0)
        return;
    CObjectSelector selected(memoryDC, bitmap);
    if (stretch) {
        SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, nullptr);
        StretchBlt(target, 0, 0, targetWidth, targetHeight, memoryDC, 0, 0, bitmapWidth, bitmapHeight, SRCCOPY);
        return;
    }
    for (int y = 0; y < targetHeight; y += bitmapHeight) {
        const int rowHeight = targetHeight - y < bitmapHeight ? targetHeight - y : bitmapHeight;
        for (int x = 0; x < targetWidth; x += bitmapWidth) {
            const int columnWidth = targetWidth - x < bitmapWidth ? targetWidth - x : bitmapWidth;
            BitBlt(target, x, y, columnWidth, rowHeight, memoryDC, 0, 0, SRCCOPY);
        }
    }
}

bool CCalendarWnd::HasBackground() const
{
    return CurrentCalendarOptions().backgroundType >= 1;
}

// The texture, tiled or stretched, or the window's colour, at the client
// area's size.
void CCalendarWnd::PaintBackgroundDC()
{
    RECT client;
    GetClientRect(m_window, &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    const CCalendarStyle& options = CurrentCalendarOptions();
    CClientDC windowDC(m_window);
    m_background.Create(windowDC.GetHandle(), client);
    if (!m_background.GetBitmap()) {
        m_background.Release();
        return;
    }
    if (options.backgroundType == 4 && m_picture.GetBitmap()) {
        CCompatibleDC source(windowDC.GetHandle());
        DrawBitmapStretchedOrTiled(source.GetHandle(), m_background.GetHandle(), m_picture.GetBitmap(),
                                   m_picture.GetWidth(), m_picture.GetHeight(), options.tileStretch != 0,
                                   client.right, client.bottom);
    } else {
        FillRect(m_background.GetHandle(), &client, m_dialogBrush.brush);
    }
}

void CCalendarWnd::OnEraseBackground(HDC dc)
{
    RECT client;
    GetClientRect(m_window, &client);
    if (CurrentCalendarOptions().backgroundType == 0) {
        FillRect(dc, &client, m_dialogBrush.brush);
        return;
    }
    if (!m_background.GetHandle())
        PaintBackgroundDC();
    if (m_background.GetHandle())
        BitBlt(dc, 0, 0, client.right, client.bottom, m_background.GetHandle(), 0, 0, SRCCOPY);
    else
        FillRect(dc, &client, m_dialogBrush.brush);
}

// A transparent control's piece of the window's background, at the control's
// place in the client area.
void CCalendarWnd::PaintControlBackground(const HoverButtonBackground& background)
{
    if (!m_background.GetHandle()) {
        FillRect(background.dc, &background.client, m_dialogBrush.brush);
        return;
    }
    BitBlt(background.dc, 0, 0, background.client.right - background.client.left,
           background.client.bottom - background.client.top, m_background.GetHandle(), background.inParent.left,
           background.inParent.top, SRCCOPY);
}

int CCalendarWnd::CaptionHeight() const
{
    RECT window;
    GetWindowRect(m_window, &window);
    POINT clientTop = {0, 0};
    ClientToScreen(m_window, &clientTop);
    return clientTop.y - window.top;
}

void CCalendarWnd::OnNcPaint()
{
    if (HasBackground() && !m_background.GetHandle())
        PaintBackgroundDC();
    CWindowDC dc(m_window);
    RECT window;
    GetWindowRect(m_window, &window);
    RECT client;
    GetClientRect(m_window, &client);
    MapWindowPoints(m_window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    OffsetRect(&window, -window.left, -window.top);
    PaintFrameStrips(dc.GetHandle(), window, client);
    FillArea(dc.GetHandle(), 0, 0, window.right, client.top, m_captionBrush.brush);
    PaintBorder(dc.GetHandle(), window.right, window.bottom, client.top, false);
    PaintCaption(dc.GetHandle());
}

// Left, right and bottom of the frame: the edges of the background drawn
// over them, or the window's colour.
void CCalendarWnd::PaintFrameStrips(HDC dc, const RECT& window, const RECT& client)
{
    const RECT strips[3] = {{0, client.top, client.left, window.bottom},
                            {client.right, client.top, window.right, window.bottom},
                            {client.left, client.bottom, client.right, window.bottom}};
    HDC background = m_background.GetHandle();
    const int width = m_background.GetWidth();
    const int height = m_background.GetHeight();
    if (background)
        SetStretchBltMode(dc, HALFTONE);
    for (int index = 0; index < 3; ++index) {
        const RECT& strip = strips[index];
        const int stripWidth = strip.right - strip.left;
        const int stripHeight = strip.bottom - strip.top;
        if (stripWidth <= 0 || stripHeight <= 0)
            continue;
        if (!background) {
            FillRect(dc, &strip, m_dialogBrush.brush);
            continue;
        }
        // The matching edge of the background: its left, right or bottom side.
        const int sourceWidth = index == 2 ? width : (stripWidth < width ? stripWidth : width);
        const int sourceHeight = index == 2 ? (stripHeight < height ? stripHeight : height) : height;
        const int sourceLeft = index == 1 ? width - sourceWidth : 0;
        const int sourceTop = index == 2 ? height - sourceHeight : 0;
        StretchBlt(dc, strip.left, strip.top, stripWidth, stripHeight, background, sourceLeft, sourceTop, sourceWidth,
                   sourceHeight, SRCCOPY);
    }
}

// No border for a plain window; a thin one for a bordered window; a double
// one with corner marks while it stays on top or has been brought forward.
// The caption alone takes only the border's part around the caption.
void CCalendarWnd::PaintBorder(HDC dc, int width, int height, int captionHeight, bool captionOnly)
{
    const CCalendarStyle& options = CurrentCalendarOptions();
    const bool plain = !options.stayOnTop && !m_broughtForward;
    if (plain && !options.hasBorder)
        return;
    const COLORREF color = plain ? kBorderColor : m_broughtForward ? kBroughtForwardColor : kOnTopColor;
    const int thickness = plain ? 1 : 2;
    HBRUSH brush = BrushCache().GetBrush(color).brush;
    const int bottom = captionOnly ? captionHeight : height;
    FillArea(dc, 0, 0, width, thickness, brush);
    FillArea(dc, 0, captionHeight - 1, width, captionHeight, brush);
    FillArea(dc, 0, 0, thickness, bottom, brush);
    FillArea(dc, width - thickness, 0, width, bottom, brush);
    if (!captionOnly)
        FillArea(dc, 0, height - thickness, width, height, brush);
    if (plain)
        return;
    CGdiPen pen(color, PS_SOLID);
    CObjectSelector penSelected(dc, pen.GetHandle());
    CObjectSelector brushSelected(dc, brush);
    DrawCorner(dc, 0, 1, 1, 1);
    DrawCorner(dc, width - 1, 1, -1, 1);
    if (captionOnly)
        return;
    DrawCorner(dc, 0, height - 2, 1, -1);
    DrawCorner(dc, width - 1, height - 2, -1, -1);
}

// Today's long date in the caption's font and colour, after the room of the
// caption's icon; a date too long for the caption ends in an ellipsis.
void CCalendarWnd::PaintCaption(HDC dc)
{
    RECT window;
    GetWindowRect(m_window, &window);
    RECT caption = {GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CYSIZE), 0,
                    window.right - window.left, CaptionHeight()};
    CObjectSelector font(dc, m_captionFont.GetHFONT());
    const COLORREF previousColor = SetTextColor(dc, CurrentCalendarOptions().dialogTitleTextColor);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, m_today, -1, &caption, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SetBkMode(dc, previousMode);
    SetTextColor(dc, previousColor);
    DrawCloseBox(dc, caption.right, caption.bottom);
}

void CCalendarWnd::OnNcActivate(bool active)
{
    {
        CWindowDC dc(m_window);
        RECT window;
        GetWindowRect(m_window, &window);
        const int width = window.right - window.left;
        const int captionHeight = CaptionHeight();
        FillArea(dc.GetHandle(), 0, 0, width, captionHeight, m_captionBrush.brush);
        PaintBorder(dc.GetHandle(), width, window.bottom - window.top, captionHeight, true);
        PaintCaption(dc.GetHandle());
    }
    const CCalendarStyle& options = CurrentCalendarOptions();
    if (options.backgroundType == 5 || options.transparency == 0)
        return;
    // An active calendar is much less see-through than an inactive one.
    const int share = active ? 64 : 255;
    SetLayeredWindowAttributes(m_window, 0, static_cast<BYTE>(255 - MulDiv(options.transparency, share, 100)),
                               LWA_ALPHA);
}
