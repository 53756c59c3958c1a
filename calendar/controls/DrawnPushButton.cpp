#include "calendar/controls/DrawnPushButton.h"

#include "foundation/win/HoverButton.h"
#include "foundation/win/LinkStatic.h"

CDrawnPushButton::~CDrawnPushButton()
{
    Detach();
}

void CDrawnPushButton::Attach(HWND parent, int controlId, const char* missingText)
{
    m_parent = parent;
    m_controlId = controlId;
    m_window = FindDrawnItem(parent, controlId, missingText);
    if (!m_window)
        return;
    m_previous = SubclassDrawnControl(m_window, this, &DrawnControlProc<CDrawnPushButton>);
    m_tip.Create(parent);
}

void CDrawnPushButton::Detach()
{
    m_tip.Destroy();
    UnsubclassDrawnControl(m_window, m_previous);
    m_window = nullptr;
    m_previous = nullptr;
}

LRESULT CDrawnPushButton::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_previous ? CallWindowProcA(m_previous, m_window, message, wParam, lParam) : 0;
}

void CDrawnPushButton::DrawMarks(HDC dc, RECT rect, UINT itemState, bool focusAllowed, bool edgeAllowed) const
{
    if ((itemState & ODS_FOCUS) && !m_noFocusRect && focusAllowed)
        DrawFocusRect(dc, &rect);
    if (m_hover && edgeAllowed)
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
}

bool CDrawnPushButton::OnKeyDown(WPARAM key, LPARAM lParam, LRESULT* result)
{
    switch (key) {
    case VK_RETURN:
        OnEnterKey();
        return false;
    case VK_LEFT:
    case VK_UP:
        PostNextDialogControl(m_parent, true);
        *result = 0;
        return true;
    case VK_RIGHT:
    case VK_DOWN:
        PostNextDialogControl(m_parent, false);
        *result = 0;
        return true;
    default:
        SendMessageA(m_parent, WM_KEYDOWN, key, lParam);
        return false;
    }
}

bool CDrawnPushButton::OnChar(WPARAM key, LPARAM, LRESULT* result)
{
    switch (key) {
    case '\t':
        PostNextDialogControl(m_parent, GetKeyState(VK_SHIFT) < 0);
        *result = 0;
        return true;
    case '\r':
        *result = 0;
        return true;
    case VK_ESCAPE:
        PostDialogCancel(m_parent);
        return false;
    default:
        return false;
    }
}

LRESULT CDrawnPushButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_SETFOCUS:
        m_hasFocus = true;
        CallPrevious(message, wParam, lParam);
        return 0;
    case WM_KILLFOCUS:
        CallPrevious(message, wParam, lParam);
        InvalidateRect(m_window, nullptr, TRUE);
        m_hasFocus = false;
        return 0;
    case WM_ERASEBKGND:
    case kMsgRepaintButtonBackground:
        if (IsBackgroundRepaintRequest(wParam, lParam)) {
            HDC dc = GetDC(m_window);
            PaintBackground(dc);
            ReleaseDC(m_window, dc);
        }
        return 1;
    case WM_SETCURSOR:
        if (!m_hover)
            break;
        SetCursor(HoverCursor());
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam, lParam, &result))
            return result;
        break;
    case WM_CHAR:
        if (OnChar(wParam, lParam, &result))
            return result;
        break;
    case WM_SYSKEYDOWN:
        SendMessageA(m_parent, message, wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove();
        if (!m_hover) {
            m_hover = true;
            InvalidateRect(m_window, nullptr, FALSE);
            TrackMouseLeave(m_window);
        }
        break;
    case WM_LBUTTONUP:
        m_tip.Relay();
        OnLeftButtonUp();
        break;
    case WM_MOUSELEAVE:
        m_hover = false;
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        InvalidateRect(m_window, nullptr, FALSE);
        m_tip.Relay();
        break;
    case WM_RBUTTONUP:
        CallPrevious(message, wParam, lParam);
        SendContextMenuRequest(m_window, m_parent, lParam, nullptr);
        return 0;
    default:
        break;
    }
    return CallPrevious(message, wParam, lParam);
}
