#include "foundation/win/ColorSwatch.h"

#include <commctrl.h>

#include <cstdio>

#include "foundation/win/ColorDialog.h"
#include "foundation/win/DeviceContext.h"
#include "foundation/win/GdiCaches.h"
#include "foundation/win/Subclassing.h"
#include "foundation/win/Tooltips.h"

namespace {
const char kColorSwatchOwner[] = "QnColorSwatch";
}

CColorSwatch::CColorSwatch(HWND dialog, int controlId)
    : m_dialog(dialog), m_swatch(GetDlgItem(dialog, controlId)), m_controlId(controlId)
{
    if (!m_swatch)
        return;
    m_previous = SubclassWindow(m_swatch, kColorSwatchOwner, this, &CColorSwatch::SubclassProc);
    m_tooltip = CreateTooltipControl(dialog);
    SendMessageA(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 30000);
    AddTooltipSubclass(m_tooltip, "", dialog, m_swatch);
}

CColorSwatch::~CColorSwatch()
{
    RestoreWindowProc(m_swatch, kColorSwatchOwner, m_previous);
    if (m_tooltip && IsWindow(m_tooltip))
        DestroyWindow(m_tooltip);
}

void CColorSwatch::SetColor(COLORREF color)
{
    m_color = color;
    InvalidateRect(m_swatch, nullptr, TRUE);
}

void CColorSwatch::SetTooltipText(const char* text)
{
    std::snprintf(m_tooltipText, sizeof m_tooltipText, "%s", text ? text : "");
    UpdateTooltipSubclassText(m_tooltip, m_tooltipText, m_dialog, m_swatch);
}

void CColorSwatch::Paint()
{
    CPaintDC dc(m_swatch);
    RECT client;
    GetClientRect(m_swatch, &client);
    FillRect(dc.GetHandle(), &client, BrushCache().GetBrush(m_color).brush);
    FrameRect(dc.GetHandle(), &client, BrushCache().GetBrush(GetSysColor(COLOR_3DDKSHADOW)).brush);
}

LRESULT CALLBACK CColorSwatch::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DispatchToSubclassOwner(window, kColorSwatchOwner, &CColorSwatch::OnMessage, message, wParam, lParam);
}

LRESULT CColorSwatch::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = m_previous;
    HWND swatch = m_swatch;
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETCURSOR:
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
    case WM_MOUSEMOVE:
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        if (!m_hovering) {
            m_hovering = true;
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_swatch, 0};
            TrackMouseEvent(&track);
        }
        break;
    case WM_MOUSELEAVE:
        m_hovering = false;
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        if (m_tooltipsOn)
            RelayMouseToTooltip(m_tooltip);
        InvalidateRect(m_swatch, nullptr, FALSE);
        break;
    case WM_NCDESTROY:
        RestoreWindowProc(swatch, kColorSwatchOwner, previous);
        m_previous = nullptr;
        break;
    default:
        break;
    }
    return CallWindowProcA(previous, swatch, message, wParam, lParam);
}

int ChooseColorForOwner(const CColorSwatch& swatch, COLORREF* color, COLORREF initial, const char* title)
{
    return ChooseColorWithTitle(color, swatch.GetDialog(), initial, title);
}
