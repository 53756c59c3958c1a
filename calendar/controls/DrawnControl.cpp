#include "calendar/controls/DrawnControl.h"

#include <commctrl.h>

#include <cstdio>

#include "calendar/controls/CalendarMessages.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/FontConversion.h"
#include "foundation/win/GdiCaches.h"
#include "foundation/win/Tooltips.h"
#include "foundation/win/WindowHelpers.h"

HWND FindDrawnItem(HWND parent, int controlId, const char* missingText)
{
    HWND item = GetDlgItem(parent, controlId);
    if (!item)
        ShowInfoMessage(parent, missingText, ProgramTitle);
    return item;
}

WNDPROC SubclassDrawnControl(HWND window, void* object, WNDPROC procedure)
{
    if (!window)
        return nullptr;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

void UnsubclassDrawnControl(HWND window, WNDPROC previous)
{
    if (!window || !IsWindow(window))
        return;
    if (previous)
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

void PaintControlBackground(HWND control, HWND parent, HDC dc, bool transparent, COLORREF color)
{
    RECT client;
    GetClientRect(control, &client);
    if (transparent) {
        HoverButtonBackground background{client, {}, dc};
        GetRectInParent(control, parent, &background.inParent);
        SendMessageA(parent, kMsgPaintButtonBackground, 0, reinterpret_cast<LPARAM>(&background));
    } else {
        FillRect(dc, &client, BrushCache().GetBrush(color).brush);
    }
}

bool IsBackgroundRepaintRequest(WPARAM wParam, LPARAM lParam)
{
    return wParam == 0 && lParam == 20;
}

void RepaintControlBackground(HWND control, HWND parent, bool transparent, COLORREF color)
{
    HDC dc = GetDC(control);
    if (!dc)
        return;
    PaintControlBackground(control, parent, dc, transparent, color);
    ReleaseDC(control, dc);
}

void SendContextMenuRequest(HWND control, HWND parent, LPARAM clientPoint, const CDateTime* date)
{
    POINT point = {static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    MapWindowPoints(control, parent, &point, 1);
    SendMessageA(parent, kMsgCalendarContextMenu, reinterpret_cast<WPARAM>(date), MAKELPARAM(point.x, point.y));
}

void TrackMouseLeave(HWND control)
{
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, control, 0};
    TrackMouseEvent(&track);
}

LOGFONTA LogFontOf(HFONT font)
{
    LOGFONTA logFont = {};
    if (!font || !GetObjectA(font, sizeof logFont, &logFont))
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
    return logFont;
}

int FontPointSize(HFONT font)
{
    return MulDiv(-LogFontOf(font).lfHeight, 72, ScreenPixelsPerInch());
}

void CControlTip::Create(HWND parent)
{
    if (m_tooltip)
        return;
    m_tooltip = CreateTooltipControl(parent);
    if (m_tooltip)
        SendMessageA(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 30000);
}

void CControlTip::Show(HWND parent, HWND control, const char* text)
{
    std::snprintf(m_text, static_cast<size_t>(m_textSize), "%s", text ? text : "");
    if (!m_tooltip || !control)
        return;
    if (!m_registered)
        m_registered = AddTooltipSubclass(m_tooltip, m_text, parent, control) != 0;
    UpdateTooltipSubclassText(m_tooltip, m_text, parent, control);
}

void CControlTip::SetText(HWND parent, HWND control, const char* text)
{
    if (text && text[0]) {
        Show(parent, control, text);
        return;
    }
    m_text[0] = '\0';
    if (m_registered)
        RemoveTooltipSubclass(m_tooltip, parent, control);
    m_registered = false;
}

void CControlTip::Relay() const
{
    if (m_tooltip)
        RelayMouseToTooltip(m_tooltip);
}

void CControlTip::Destroy()
{
    if (m_tooltip && IsWindow(m_tooltip))
        DestroyWindow(m_tooltip);
    m_tooltip = nullptr;
    m_registered = false;
}

HCURSOR SharedCursorOrArrow(HCURSOR cursor)
{
    return cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW);
}

CItemCanvas::CItemCanvas(const DRAWITEMSTRUCT& item)
    : m_item(item), m_width(item.rcItem.right - item.rcItem.left), m_height(item.rcItem.bottom - item.rcItem.top)
{
    if (m_width > 0 && m_height > 0)
        m_memory.Create(item.hDC, item.rcItem);
}

CItemCanvas::~CItemCanvas()
{
    if (IsReady())
        BitBlt(m_item.hDC, m_item.rcItem.left, m_item.rcItem.top, m_width, m_height, m_memory.GetHandle(), 0, 0,
               SRCCOPY);
}
