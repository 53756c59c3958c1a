#include "calendar/controls/DrawnLabel.h"

#include <cstdio>

#include "calendar/controls/DrawnText.h"
#include "foundation/win/HoverButton.h"
#include "globals/GlobalTexts.h"

void CDrawnLabel::Attach(HWND parent, int controlId)
{
    Detach();
    m_parent = parent;
    m_controlId = controlId;
    m_window = FindDrawnItem(parent, controlId, "cannot create the drawnLabel");
    if (!m_window)
        return;
    m_previous = SubclassDrawnControl(m_window, this, &DrawnControlProc<CDrawnLabel>);
    m_tip.Create(parent);
}

void CDrawnLabel::Detach()
{
    // The tooltip has subclassed the label after us: it goes first.
    m_tip.Destroy();
    UnsubclassDrawnControl(m_window, m_previous);
    m_window = nullptr;
    m_previous = nullptr;
}

void CDrawnLabel::SetText(const char* text)
{
    std::snprintf(m_text, sizeof m_text, "%s", text ? text : "");
}

void CDrawnLabel::SetTooltipText(const char* text)
{
    m_tip.SetText(m_parent, m_window, text);
}

void CDrawnLabel::Draw(const DRAWITEMSTRUCT& item)
{
    PaintDrawnText(item, DrawnTextLook{m_window, m_parent, m_transparent, m_font, m_textColor, m_text, m_preview});
}

LRESULT CDrawnLabel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
    case kMsgRepaintButtonBackground:
        if (IsBackgroundRepaintRequest(wParam, lParam))
            RepaintControlBackground(m_window, m_parent, m_transparent, GetSysColor(COLOR_BTNFACE));
        return 1;
    case WM_SETCURSOR:
        SetCursor(m_preview ? SharedCursorOrArrow(ProgramCursors().mail) : LoadCursorA(nullptr, IDC_ARROW));
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_MOUSEMOVE:
        if (!m_leaveTracking) {
            m_leaveTracking = true;
            TrackMouseLeave(m_window);
        }
        break;
    case WM_MOUSELEAVE:
        m_leaveTracking = false;
        m_tip.Relay();
        break;
    case WM_RBUTTONUP: {
        LRESULT result = CallWindowProcA(m_previous, m_window, message, wParam, lParam);
        SendContextMenuRequest(m_window, m_parent, lParam, nullptr);
        return result;
    }
    default:
        break;
    }
    return CallWindowProcA(m_previous, m_window, message, wParam, lParam);
}
