#include "calendar/FilterEdit.h"

#include "calendar/controls/CalendarMessages.h"
#include "foundation/win/HoverButton.h"

namespace {
const char kTipWithoutText[] = "Enter calendar filter text here";
const char kTipWithText[] = "Clear text or press Esc to cancel filter";
}

void CFilterEdit::Attach(HWND parent, int controlId)
{
    Detach();
    m_parent = parent;
    m_controlId = controlId;
    m_window = FindDrawnItem(parent, controlId, "cannot create the filter edit");
    if (!m_window)
        return;
    m_previous = SubclassDrawnControl(m_window, this, &DrawnControlProc<CFilterEdit>);
    m_tip.Create(parent);
    UpdateTip(false);
}

void CFilterEdit::Detach()
{
    // The tooltip has subclassed the edit after us: it goes first.
    m_tip.Destroy();
    UnsubclassDrawnControl(m_window, m_previous);
    m_window = nullptr;
    m_previous = nullptr;
}

void CFilterEdit::UpdateTip(bool hasText)
{
    m_tip.Show(m_parent, m_window, hasText ? kTipWithText : kTipWithoutText);
}

LRESULT CFilterEdit::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_CHAR:
        if (wParam == '\r' || wParam == '\t') {
            SetFocus(m_parent);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            m_escPressed = true;
            SetFocus(m_parent);
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        const LRESULT result = CallWindowProcA(m_previous, m_window, message, wParam, lParam);
        if (m_escPressed) {
            m_escPressed = false;
            SendCloseFilterBar(m_parent, true);
        }
        return result;
    }
    case WM_LBUTTONDOWN:
        SendCalendarRaise(m_parent);
        break;
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
    case kMsgRepaintButtonBackground:
        if (IsBackgroundRepaintRequest(wParam, lParam)) {
            RepaintControlBackground(m_window, m_parent, true, GetSysColor(COLOR_WINDOW));
            return 1;
        }
        break;
    default:
        break;
    }
    return CallWindowProcA(m_previous, m_window, message, wParam, lParam);
}
