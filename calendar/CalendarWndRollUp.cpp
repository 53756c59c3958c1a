// A calendar that rolls up to its caption when it loses the focus, and down
// again when it is activated or the mouse rests on its caption.
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWnd.h"

namespace {
// A window whose top is lower than this share of the screen unrolls upward.
const int kUnrollDownwardPercent = 85;
}

bool CCalendarWnd::CursorOverWindow() const
{
    POINT cursor;
    GetCursorPos(&cursor);
    HWND under = WindowFromPoint(cursor);
    return under && (under == m_window || GetAncestor(under, GA_ROOT) == m_window);
}

void CCalendarWnd::RollUp()
{
    const CCalendarStyle& options = CurrentCalendarOptions();
    RECT window;
    GetWindowRect(m_window, &window);
    m_rolled = true;
    const int width = options.stayOnTop ? options.width : window.right - window.left;
    SetWindowPos(m_window, nullptr, 0, 0, width, GetSystemMetrics(SM_CYMIN),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(m_window, WM_NCPAINT, 1, 0);
    m_hoverTimer.Kill();
}

// Back to the kept size: downward from where it is, or, low on the screen,
// upward from its bottom edge.
void CCalendarWnd::RollDown()
{
    const CCalendarStyle& options = CurrentCalendarOptions();
    if (!options.rollUp || !m_rolled)
        return;
    m_rolled = false;
    m_moved = false;
    RECT window;
    GetWindowRect(m_window, &window);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (window.top <= MulDiv(screenHeight, kUnrollDownwardPercent, 100)) {
        SetWindowPos(m_window, nullptr, 0, 0, options.width, options.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        if (options.stayOnTop && !(GetWindowLongPtrA(m_window, GWL_EXSTYLE) & WS_EX_TOPMOST))
            SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        SetWindowPos(m_window, nullptr, window.left, window.bottom - options.height, options.width, options.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    SendMessageA(m_window, WM_NCPAINT, 1, 0);
    if (!m_hoverTimer.GetId() && options.backgroundType == 5)
        m_hoverTimer.Set(m_window, kHoverTimer, kHoverPeriod);
}

void CCalendarWnd::StopRollTimer()
{
    m_rollTimer.Kill();
    m_rollHoverState = 0;
}

// Half a second on the caption of a rolled window unrolls it; once the
// mouse has left the unrolled window it rolls up again.
void CCalendarWnd::OnRollTick()
{
    if (m_rolled && m_rollHoverState == 1) {
        if (!CursorOverWindow()) {
            StopRollTimer();
            return;
        }
        m_rollHoverState = 2;
        RollDown();
        return;
    }
    if (m_rolled || m_rollHoverState != 2) {
        StopRollTimer();
        return;
    }
    RECT window;
    GetWindowRect(m_window, &window);
    window.bottom = window.top + CurrentCalendarOptions().height;
    POINT cursor;
    GetCursorPos(&cursor);
    if (PtInRect(&window, cursor) || m_hold)
        return;
    StopRollTimer();
    RollUp();
}

void CCalendarWnd::OnExitSizeMove()
{
    StopRollTimer();
    EndCloseHover();
    if (CurrentCalendarOptions().rollUp && !m_rolled && m_moved)
        RollUp();
    m_moved = false;
    m_inSizeMove = false;
}

// The mouse over the frame of a rolled window: on its caption the wait for
// unrolling starts.
void CCalendarWnd::OnCaptionHover(LPARAM hit, POINT screenPoint)
{
    if (!CurrentCalendarOptions().rollUp || !m_rolled || hit != HTCAPTION || m_moved)
        return;
    RECT window;
    GetWindowRect(m_window, &window);
    if (screenPoint.x - window.left < 2 || m_rollTimer.GetId())
        return;
    m_rollHoverState = 1;
    m_rollTimer.Set(m_window, kRollTimer, kRollPeriod);
}

// The mouse left the frame before the window unrolled. An unrolled window
// rolls up by the timer, once the mouse is outside it.
void CCalendarWnd::OnCaptionLeft()
{
    if (m_rollHoverState == 1)
        StopRollTimer();
}
