// The calendar window's messages, commands and keys.
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWindow.h"
#include "calendar/CalendarWnd.h"
#include "calendar/controls/CalendarMessages.h"
#include "foundation/win/HoverButton.h"
#include "resources/ids/CalendarIds.h"

namespace {
// The End key's move, which no control gives.
const WORD kMoveToDecember = 0;
// The title of the calendar's settings dialog, which keeps the calendar
// above the other windows while it is open.
const char kSettingsTitle[] = "Quillnet+ calendar settings";

bool IsDayCell(WORD id)
{
    return (id >= IDC_CAL_DAY && id < IDC_CAL_DAY + 42) || (id >= IDC_CAL2_DAY && id < IDC_CAL2_DAY + 42) ||
           (id >= IDC_CAL3_DAY && id < IDC_CAL3_DAY + 42) || (id >= IDC_CAL4_DAY && id < IDC_CAL4_DAY + 42);
}

const char kCalendarsNoteManagerTitle[] = "Quillnet+ Note Manager";

bool CalendarWndCommandsControlHeld()
{
    return GetKeyState(VK_CONTROL) < 0;
}

POINT CalendarPointOf(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}
}

bool CCalendarWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 1;
    switch (message) {
    case WM_CLOSE:
        OnClose();
        return true;
    case WM_MOVE: {
        const CCalendarStyle& options = CurrentCalendarOptions();
        RECT window;
        GetWindowRect(m_window, &window);
        // A move alone; a change of size is kept by WM_SIZE.
        if (window.right - window.left == options.width && window.bottom - window.top == options.height)
            m_modified = true;
        return true;
    }
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return true;
    case WM_SIZING:
        if (m_resizeState == 0)
            m_resizeState = 1;
        return false;
    case WM_MOVING:
        m_moved = true;
        return false;
    case WM_ENTERSIZEMOVE:
        m_inSizeMove = true;
        return false;
    case WM_EXITSIZEMOVE:
        OnExitSizeMove();
        return false;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return false;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(m_window, &paint);
        EndPaint(m_window, &paint);
        return true;
    }
    case WM_ERASEBKGND:
        OnEraseBackground(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT)
            return false;
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        return true;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{75, GetSystemMetrics(SM_CYMIN)};
        *result = 0;
        return true;
    case WM_MEASUREITEM:
        return OnMenuItem(message, lParam);
    case WM_DRAWITEM: {
        if (OnMenuItem(message, lParam))
            return true;
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID == IDC_CAL_FILTER_LABEL) {
            DrawFilterLabel(item);
            return true;
        }
        return m_main.DrawItem(item) || m_second.DrawItem(item) || m_third.DrawItem(item) || m_fourth.DrawItem(item);
    }
    case WM_INITMENUPOPUP:
        if (reinterpret_cast<HMENU>(wParam) != m_menu.GetMenu())
            return false;
        m_menuOpen = true;
        BuildContextMenu();
        return true;
    case WM_RBUTTONDOWN:
        CloseFilterBar(false);
        OnRightButtonDown(CalendarPointOf(lParam));
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove(CalendarPointOf(lParam));
        return true;
    case WM_LBUTTONUP:
        StopRollTimer();
        EndCloseHover();
        CloseFilterBar(false);
        if (CalendarWndCommandsControlHeld())
            PostMessageA(m_window, WM_COMMAND, IDM_CAL_SETTINGS, 0);
        else
            Raise();
        return true;
    case WM_HELP:
        OpenHelp();
        return true;
    case WM_NCMOUSEMOVE:
        OnNcMouseMove(wParam, CalendarPointOf(lParam));
        return false;
    case WM_NCMOUSELEAVE:
        OnNcMouseLeave();
        return false;
    case WM_MOUSELEAVE:
        OnClientMouseLeave();
        return false;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code != TTN_GETDISPINFOA)
            return false;
        return OnTipText(*reinterpret_cast<NMTTDISPINFOA*>(lParam));
    }
    case WM_NCLBUTTONDOWN:
        return OnNcLeftButtonDown(wParam, CalendarPointOf(lParam), result);
    case WM_NCRBUTTONDOWN:
        OnNcRightButtonDown(CalendarPointOf(lParam));
        return true;
    case WM_NCLBUTTONDBLCLK:
        OpenDateAndTimeSettings();
        return true;
    case WM_NCPAINT:
        OnNcPaint();
        *result = 0;
        return true;
    case WM_NCACTIVATE:
        OnNcActivate(wParam != 0);
        return true;
    case WM_NCHITTEST:
        return OnNcHitTest(lParam, result);
    case WM_TIMER:
        if (wParam == kRollTimer) {
            OnRollTick();
            return true;
        }
        if (wParam == kCloseBoxTimer) {
            OnCloseTick();
            return true;
        }
        OnTimer(wParam);
        return true;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return true;
    case WM_SYSKEYDOWN:
        // Alt+1 to Alt+9: the user's calendar styles.
        if (wParam < '1' || wParam > '9')
            return false;
        ApplyStyle(static_cast<int>(wParam - '1'));
        return true;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case kMsgCalendarSettingsChanged:
        OnClockTick();
        return true;
    case kMsgRefreshCalendar:
        RefreshAlarmDays(true);
        return true;
    case kMsgPaintButtonBackground:
        if (lParam)
            PaintControlBackground(*reinterpret_cast<const HoverButtonBackground*>(lParam));
        return true;
    case kMsgCalendarRaise:
        Raise();
        return true;
    case kMsgCloseFilterBar:
        CloseFilterBar(lParam == 1);
        return true;
    case kMsgFilterLabelTip:
        m_filterLabel.SetTooltipText(reinterpret_cast<const char*>(lParam));
        return true;
    case kMsgCalendarContextMenu:
        m_menuDate = wParam ? *reinterpret_cast<const CDateTime*>(wParam) : CDateTime(0, 0, 0);
        ShowContextMenu(CalendarPointOf(lParam));
        return true;
    default:
        return false;
    }
}

bool CCalendarWnd::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case IDC_CAL_FILTER_EDIT:
        if (code == EN_CHANGE)
            OnFilterChanged();
        return true;
    case IDC_CAL_FILTER_LABEL:
        if (code == STN_CLICKED)
            CloseFilterBar(true);
        return true;
    case IDCANCEL:
        SendMessageA(m_window, WM_CLOSE, 0, 0);
        return true;
    case IDC_CAL_TITLE:
    case IDC_CAL_PREV_YEAR:
    case IDC_CAL_PREV_MONTH:
    case IDC_CAL_NEXT_MONTH:
    case IDC_CAL_NEXT_YEAR:
        StopRollTimer();
        Navigate(id);
        return true;
    case IDM_CAL_CLOSE:
        PostMessageA(m_window, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(m_window, IDCANCEL)));
        return true;
    case IDHELP:
    case IDM_CAL_HELP:
        OpenHelp();
        return true;
    case IDM_CAL_STAY_ON_TOP:
        ToggleStayOnTop();
        return true;
    case IDM_CAL_BORDER:
        ToggleBorder();
        return true;
    case IDM_CAL_ROLL_UP:
        ToggleRollUp();
        return true;
    case IDM_CAL_NEW_ALARM_NOTE:
        NewAlarmNoteOnMenuDate();
        return true;
    case IDM_CAL_COPY_IMAGE:
        CopyAsImage();
        return true;
    case IDC_CAL_SETTINGS:
    case IDM_CAL_SETTINGS:
        OpenSettings();
        return true;
    case IDM_CAL_THREE_MONTHS:
        ToggleThreeMonths();
        return true;
    case IDM_CAL_FOUR_MONTHS:
        ToggleFourMonths();
        return true;
    default:
        // The day cells do their own work.
        if (!IsDayCell(id))
            return false;
        StopRollTimer();
        return true;
    }
}

// The first month moves, the column follows it, and the month is kept.
void CCalendarWnd::Navigate(WORD id)
{
    switch (id) {
    case IDC_CAL_TITLE:
        m_main.GoToCurrentMonth();
        break;
    case IDC_CAL_PREV_YEAR:
        m_main.PreviousYear();
        break;
    case IDC_CAL_PREV_MONTH:
        m_main.PreviousMonth();
        break;
    case IDC_CAL_NEXT_MONTH:
        m_main.NextMonth();
        break;
    case IDC_CAL_NEXT_YEAR:
        m_main.NextYear();
        break;
    default:
        m_main.GoToDecember();
        break;
    }
    KeepMainMonth();
    RefreshSecondaryMonths(true);
    GrowToGrids();
}

void CCalendarWnd::OnKeyDown(WPARAM key)
{
    StopRollTimer();
    EndCloseHover();
    const bool control = CalendarWndCommandsControlHeld();
    auto command = [&](WORD id) {
        if (control)
            OnCommand(id, 0);
    };
    switch (key) {
    case VK_APPS: {
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(m_window, &cursor);
        OnRightButtonDown(cursor);
        break;
    }
    case 'C':
        command(IDM_CAL_COPY_IMAGE);
        break;
    case 'G':
        command(IDM_CAL_SETTINGS);
        break;
    case 'W':
        command(IDM_CAL_BORDER);
        break;
    case 'R':
        command(IDM_CAL_ROLL_UP);
        break;
    case 'T':
        // With Shift the window rolls up exactly while it is off top.
        if (control && GetKeyState(VK_SHIFT) < 0) {
            CCalendarStyle& options = CurrentCalendarOptions();
            options.rollUp = options.stayOnTop ? 1 : 0;
        }
        command(IDM_CAL_STAY_ON_TOP);
        break;
    case VK_NEXT:
        Navigate(control ? IDC_CAL_NEXT_YEAR : IDC_CAL_NEXT_MONTH);
        break;
    case VK_PRIOR:
        Navigate(control ? IDC_CAL_PREV_YEAR : IDC_CAL_PREV_MONTH);
        break;
    case VK_HOME:
        Navigate(IDC_CAL_TITLE);
        break;
    case VK_END:
        Navigate(kMoveToDecember);
        break;
    case VK_F4:
    case 'H':
        if (control)
            PostMessageA(m_window, WM_COMMAND, IDCANCEL, 0);
        break;
    default:
        break;
    }
}

// A click brings the calendar above the other windows until it loses the
// activation; its frame tells so.
void CCalendarWnd::Raise()
{
    if (m_broughtForward)
        return;
    m_broughtForward = true;
    if (!CurrentCalendarOptions().stayOnTop)
        SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(m_window, WM_NCPAINT, 1, 0);
}

// Losing the activation ends the brought-forward state; with roll-up the
// window rolls up, unless its menu, its settings or the Note Manager is open,
// and rolls down when activated again.
void CCalendarWnd::OnActivate(bool active)
{
    const CCalendarStyle& options = CurrentCalendarOptions();
    if (!active && m_broughtForward && !FindWindowA(nullptr, kSettingsTitle)) {
        m_broughtForward = false;
        if (!options.stayOnTop)
            SetWindowPos(m_window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageA(m_window, WM_NCPAINT, 1, 0);
    }
    if (!options.rollUp)
        return;
    if (active) {
        StopRollTimer();
        if (!m_rolled && options.backgroundType == 5) {
            InvalidateRect(m_window, nullptr, TRUE);
            UpdateWindow(m_window);
        }
        RollDown();
    } else if (!m_hold && !FindWindowA(nullptr, kCalendarsNoteManagerTitle)) {
        RollUp();
    }
}

// The bottom right corner of the client area sizes the window.
bool CCalendarWnd::OnNcHitTest(LPARAM point, LRESULT* result)
{
    POINT cursor = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    ScreenToClient(m_window, &cursor);
    RECT client;
    GetClientRect(m_window, &client);
    const int grip = GetSystemMetrics(SM_CYVSCROLL);
    if (cursor.x < client.right - grip || cursor.y < client.bottom - grip || cursor.x >= client.right ||
        cursor.y >= client.bottom)
        return false;
    *result = HTBOTTOMRIGHT;
    return true;
}
