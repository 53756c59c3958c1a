#include "calendar/controls/DayButton.h"

#include <cstdio>

#include "calendar/controls/CalendarMessages.h"
#include "resources/ids/CalendarIds.h"
#include "globals/GlobalTexts.h"

int FirstCellIdOf(int controlId)
{
    for (int first : {IDC_CAL_DAY, IDC_CAL2_DAY, IDC_CAL3_DAY, IDC_CAL4_DAY})
        if (controlId >= first && controlId < first + 42)
            return first;
    return controlId;
}

CDayButton::CDayButton() : m_date(0, 0, 0), m_tip(kTipSize)
{
}

void CDayButton::Attach(HWND parent, int controlId)
{
    Detach();
    m_parent = parent;
    m_controlId = controlId;
    m_firstCellId = FirstCellIdOf(controlId);
    m_window = FindDrawnItem(parent, controlId, "could not create day button");
    m_previous = SubclassDrawnControl(m_window, this, &DrawnControlProc<CDayButton>);
}

void CDayButton::Detach()
{
    m_hoverTimer.Kill();
    m_clickTimer.Kill();
    // The tooltip has subclassed the cell after us: it goes first.
    m_tip.Destroy();
    UnsubclassDrawnControl(m_window, m_previous);
    m_window = nullptr;
    m_previous = nullptr;
}

void CDayButton::SetDate(BYTE day, BYTE month, WORD year, bool otherMonth)
{
    m_date.m_day = day;
    m_date.m_month = month;
    m_date.m_year = year;
    m_alarmDay = false;
    m_reAsk = true;
    m_otherMonth = otherMonth;
}

void CDayButton::SetBackground(COLORREF color, bool transparent)
{
    m_backgroundColor = color;
    m_transparent = transparent;
}

void CDayButton::SetAlarmMarks(bool bold, bool underline, bool shade, COLORREF shadeColor)
{
    m_alarmBold = bold;
    m_alarmUnderline = underline;
    m_alarmShade = shade;
    m_shadeColor = shadeColor;
}

void CDayButton::SetPreviewTips(const char* dayTip, const char* blankTip)
{
    std::snprintf(m_previewDayTip, sizeof m_previewDayTip, "%s", dayTip ? dayTip : "");
    std::snprintf(m_previewBlankTip, sizeof m_previewBlankTip, "%s", blankTip ? blankTip : "");
}

HWND CDayButton::Neighbour(int offset) const
{
    const int index = IndexInGrid() + offset;
    return index >= 0 && index < 42 ? GetDlgItem(m_parent, m_controlId + offset) : nullptr;
}

void CDayButton::OnLeftButtonDown(WPARAM, LPARAM)
{
    m_secondClick = false;
    if (m_clickTimer.GetId())
        return;
    // A double click must come sooner than the system's time when that is
    // long, so that a single click is answered without a long wait.
    UINT period = GetDoubleClickTime();
    if (period >= 500)
        period = 200;
    m_clickTimer.Set(m_window, kClickTimer, period);
}

void CDayButton::OnClickTick()
{
    m_clickTimer.Kill();
    if (!m_secondClick) {
        if (m_alarmDay)
            PostOpenNoteManagerOnDate(m_date);
        SendCalendarRaise(m_parent);
    } else if (!IsEmpty()) {
        // An empty cell has no date to put an alarm on.
        SendNewAlarmNote(m_date);
    }
}

void CDayButton::OnHoverTick()
{
    m_hoverTimer.Kill();
    POINT cursor;
    RECT rect;
    GetCursorPos(&cursor);
    GetWindowRect(m_window, &rect);
    if (!PtInRect(&rect, cursor))
        return;
    ScreenToClient(m_window, &cursor);
    SendMessageA(m_window, WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x, cursor.y));
}

void CDayButton::OnMouseMove()
{
    if (!m_preview)
        SendCalendarMouseMove(m_parent);
    if (m_hover)
        return;
    m_hover = true;
    if (!m_preview)
        InvalidateRect(m_window, nullptr, FALSE);
    UpdateTooltip();
    TrackMouseLeave(m_window);
}

LRESULT CDayButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = m_window;
    WNDPROC previous = m_previous;
    switch (message) {
    case WM_SETFOCUS:
        if (m_preview)
            break;
        m_hasFocus = true;
        CallWindowProcA(previous, window, message, wParam, lParam);
        OnSetFocus();
        return 0;
    case WM_KILLFOCUS:
        if (m_preview)
            break;
        CallWindowProcA(previous, window, message, wParam, lParam);
        InvalidateRect(window, nullptr, TRUE);
        m_hasFocus = false;
        return 0;
    case WM_ERASEBKGND:
    case kMsgRepaintButtonBackground:
        if (IsBackgroundRepaintRequest(wParam, lParam))
            RepaintControlBackground(window, m_parent, m_transparent, m_backgroundColor);
        return 1;
    case kMsgIsEmptyDayCell:
        return IsEmpty() ? 1 : 0;
    case WM_SETCURSOR:
        if (!m_preview)
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        else
            SetCursor(SharedCursorOrArrow(IsEmpty() ? ProgramCursors().pointer : ProgramCursors().mail));
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (m_preview)
            break;
        if (OnKeyDown(wParam, lParam))
            return 0;
        SendMessageA(m_parent, message, wParam, lParam);
        break;
    case WM_CHAR:
        if (OnChar(wParam))
            return 0;
        break;
    case WM_SYSKEYDOWN:
        SendMessageA(m_parent, message, wParam, lParam);
        return 0;
    case WM_TIMER:
        if (wParam == kClickTimer)
            OnClickTick();
        else if (wParam == kHoverTimer)
            OnHoverTick();
        break;
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_MOUSELEAVE:
        m_hover = false;
        InvalidateRect(window, nullptr, FALSE);
        break;
    case WM_LBUTTONDOWN:
        if (!m_preview && (wParam & MK_CONTROL)) {
            PostMessageA(m_parent, WM_LBUTTONUP, 0, lParam);
            return 0;
        }
        OnLeftButtonDown(wParam, lParam);
        break;
    case WM_LBUTTONDBLCLK:
        if (!m_preview)
            m_secondClick = true;
        break;
    case WM_RBUTTONUP:
        if (m_preview)
            break;
        CallWindowProcA(previous, window, message, wParam, lParam);
        SetFocus(window);
        SendContextMenuRequest(window, m_parent, lParam, &m_date);
        // The menu took the mouse: once it has gone, a cursor still over the
        // cell gets the hover mark back. A command of the menu may have closed
        // the calendar, and the cell with it.
        if (IsWindow(window) && GetWindowLongPtrA(window, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
            m_hoverTimer.Set(window, kHoverTimer, 250);
        return 0;
    default:
        break;
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}
