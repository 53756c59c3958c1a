#include "foundation/win/LinkStatic.h"

#include "foundation/win/Subclassing.h"
#include "foundation/win/SystemProbes.h"

namespace {
const COLORREF kXpBackground = 0xF6F8F8;
const char kLinkStaticOwner[] = "QnLinkStatic";
}

void PostNextDialogControl(HWND dialog, bool previous)
{
    PostMessageA(dialog, WM_NEXTDLGCTL, previous ? 1 : 0, 0);
}

void PostDialogCancel(HWND dialog)
{
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

CLinkStatic::CLinkStatic(HWND dialog, int controlId)
    : m_dialog(dialog), m_control(GetDlgItem(dialog, controlId)), m_controlId(controlId),
      m_backgroundColor(GetXpColorScheme() ? kXpBackground : GetSysColor(COLOR_BTNFACE)),
      m_disabledColor(GetSysColor(COLOR_GRAYTEXT))
{
    SetDerivedWindowFont(m_font, dialog, true, false, 0);
    m_previous = SubclassWindow(m_control, kLinkStaticOwner, this, &CLinkStatic::SubclassProc);
}

CLinkStatic::~CLinkStatic()
{
    Unsubclass();
}

void CLinkStatic::Unsubclass()
{
    RestoreWindowProc(m_control, kLinkStaticOwner, m_previous);
    m_previous = nullptr;
}

void CLinkStatic::EndHover()
{
    if (!m_hovering)
        return;
    m_hovering = false;
    InvalidateRect(m_control, nullptr, FALSE);
}

LRESULT CALLBACK CLinkStatic::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DispatchToSubclassOwner(window, kLinkStaticOwner, &CLinkStatic::OnMessage, message, wParam, lParam);
}

bool CLinkStatic::OnKey(UINT message, WPARAM key)
{
    if (message == WM_KEYDOWN && (key == VK_UP || key == VK_DOWN)) {
        PostNextDialogControl(m_dialog, key == VK_UP);
        return true;
    }
    if (message != WM_CHAR)
        return false;
    switch (key) {
    case '\t':
        PostNextDialogControl(m_dialog, GetKeyState(VK_SHIFT) < 0);
        return true;
    case '\r':
        SendMessageA(m_dialog, WM_COMMAND, MAKEWPARAM(m_controlId, BN_CLICKED), reinterpret_cast<LPARAM>(m_control));
        return true;
    case VK_ESCAPE:
        PostDialogCancel(m_dialog);
        return true;
    default:
        return false;
    }
}

LRESULT CLinkStatic::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = m_previous;
    switch (message) {
    case WM_KEYDOWN:
    case WM_CHAR:
        if (OnKey(message, wParam))
            return 0;
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_SETFOCUS:
        m_focused = true;
        break;
    case WM_KILLFOCUS:
        m_focused = false;
        InvalidateRect(m_control, nullptr, FALSE);
        break;
    case WM_SETCURSOR:
        if (m_hovering) {
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        if (!m_hovering) {
            m_hovering = true;
            InvalidateRect(m_control, nullptr, FALSE);
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_control, 0};
            TrackMouseEvent(&track);
        }
        break;
    case WM_MOUSELEAVE:
        m_hovering = false;
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        InvalidateRect(m_control, nullptr, FALSE);
        break;
    case WM_NCDESTROY: {
        HWND control = m_control;
        Unsubclass();
        return CallWindowProcA(previous, control, message, wParam, lParam);
    }
    default:
        break;
    }
    return CallWindowProcA(previous, m_control, message, wParam, lParam);
}

void CLinkStatic::DrawOwnerDrawListItem(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    GetWindowTextA(m_control, m_text, sizeof m_text);
    HBRUSH background = CreateSolidBrush(m_backgroundColor);
    FillRect(dc, &rect, background);
    DeleteObject(background);
    HGDIOBJ oldFont = SelectObject(dc, m_font.GetHFONT());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX;
    if (item.itemState & ODS_DISABLED) {
        RECT shadow = rect;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextA(dc, m_text, -1, &shadow, format);
        SetTextColor(dc, m_disabledColor);
    } else {
        SetTextColor(dc, m_hovering ? kHoverColor : kLinkColor);
    }
    DrawTextA(dc, m_text, -1, &rect, format);
    if ((item.itemState & ODS_FOCUS) && !m_noFocusRect)
        DrawFocusRect(dc, &rect);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}
