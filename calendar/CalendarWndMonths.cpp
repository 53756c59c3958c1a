// The months of the calendar window: the first month and the column of the
// others beside it, one, three or four of them shown, and the window sized to
// them.
#include <algorithm>

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWnd.h"

namespace {
// The month the given number of months away, across years.
void MonthsAway(BYTE month, WORD year, int months, BYTE* outMonth, WORD* outYear)
{
    const int index = year * 12 + (month - 1) + months;
    *outMonth = static_cast<BYTE>(index % 12 + 1);
    *outYear = static_cast<WORD>(index / 12);
}
}

// With dates the month's days go into the cells again; without, only the
// texts are measured and the grid laid out anew.
void CCalendarWnd::FillGrid(CMonthGridDays& grid, bool withDates)
{
    if (withDates)
        grid.FillDates();
    if (&grid == &m_main) {
        m_main.Measure();
        m_main.FillWeekdayNames();
        m_main.LayOut();
        return;
    }
    auto& extra = static_cast<CExtraMonthGrid&>(grid);
    extra.Measure();
    extra.FillWeekdayNames();
    extra.LayOut();
}

void CCalendarWnd::FillMainGrid()
{
    m_main.SetOrigin(m_gridLeft, m_stripHeight);
    FillGrid(m_main);
}

// With four months the column follows the first month; with three it holds
// the month before and the month after it.
void CCalendarWnd::ComputeExtraMonths()
{
    const bool four = CurrentCalendarOptions().nrOfMonthsToShow == 3;
    const BYTE month = m_main.GetMonth();
    const WORD year = m_main.GetYear();
    const int offsets[3] = {four ? 1 : -1, four ? 2 : 1, 3};
    for (int index = 1; index <= 3; ++index) {
        BYTE extraMonth;
        WORD extraYear;
        MonthsAway(month, year, offsets[index - 1], &extraMonth, &extraYear);
        ExtraGrid(index).SetMonth(extraMonth, extraYear);
    }
}

// The column starts right of the first month, a little higher, each month
// under the one before.
void CCalendarWnd::PlaceExtraGrids(bool withDates)
{
    const int left = m_main.GetWidth() + m_columnGap;
    int top = m_stripHeight - 10;
    for (int index = 1; index <= 3; ++index) {
        CExtraMonthGrid& grid = ExtraGrid(index);
        grid.SetOrigin(left, top);
        FillGrid(grid, withDates);
        top = grid.GetHeight();
    }
}

void CCalendarWnd::RefreshSecondaryMonths(bool repaint)
{
    const BYTE shown = CurrentCalendarOptions().nrOfMonthsToShow;
    ComputeExtraMonths();
    if (shown == 1)
        return;
    PlaceExtraGrids();
    if (!repaint)
        return;
    RECT client;
    GetClientRect(m_window, &client);
    client.left = m_main.GetWidth();
    RedrawWindow(m_window, &client, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CCalendarWnd::HideExtraGrids(int first)
{
    HDWP batch = BeginDeferWindowPos(51 * (4 - first));
    for (int index = first; index <= 3; ++index)
        batch = ExtraGrid(index).Hide(batch);
    if (batch)
        EndDeferWindowPos(batch);
}

// 1 when months were shown and filled, 0 when some were only hidden.
int CCalendarWnd::SetMonthsShown(int oldValue, int newValue, bool repaint)
{
    if (oldValue == newValue)
        return 0;
    if (newValue == 1) {
        HideExtraGrids(1);
        return 0;
    }
    if (newValue == 2) {
        if (oldValue == 3)
            HideExtraGrids(3);
        else
            for (int index = 1; index <= 2; ++index)
                ExtraGrid(index).Show();
    } else {
        for (int index = oldValue == 1 ? 1 : 3; index <= 3; ++index)
            ExtraGrid(index).Show();
    }
    RefreshSecondaryMonths(repaint);
    return 1;
}

void CCalendarWnd::ToggleThreeMonths()
{
    CCalendarStyle& options = CurrentCalendarOptions();
    const BYTE old = options.nrOfMonthsToShow;
    options.nrOfMonthsToShow = old == 2 ? 1 : 2;
    SetMonthsShown(old, options.nrOfMonthsToShow, true);
    AfterMonthsToggled();
}

void CCalendarWnd::ToggleFourMonths()
{
    CCalendarStyle& options = CurrentCalendarOptions();
    const BYTE old = options.nrOfMonthsToShow;
    options.nrOfMonthsToShow = old == 3 ? 1 : 3;
    SetMonthsShown(old, options.nrOfMonthsToShow, true);
    AfterMonthsToggled();
}

void CCalendarWnd::AfterMonthsToggled()
{
    const CCalendarStyle& options = CurrentCalendarOptions();
    m_modified = true;
    if (options.automaticResizing)
        FitToGrids();
    RECT window;
    GetWindowRect(m_window, &window);
    if (options.backgroundType == 5 && window.right > GetSystemMetrics(SM_CXSCREEN))
        InvalidateRect(m_window, nullptr, TRUE);
}

// How far the months reach in the client area: the first month's corner, or
// the column's last shown month's, whichever reaches further.
SIZE CCalendarWnd::GridsExtent() const
{
    const CCalendarStyle& options = CurrentCalendarOptions();
    SIZE extent = {m_main.GetWidth(), m_main.GetHeight()};
    if (options.nrOfMonthsToShow > 1) {
        const CExtraMonthGrid& last = options.nrOfMonthsToShow == 3 ? m_fourth : m_third;
        extent.cx = std::max(extent.cx, static_cast<LONG>(last.GetWidth()));
        extent.cy = std::max(extent.cy, static_cast<LONG>(last.GetHeight()));
    }
    return extent;
}

// The window as large as its months, with the frame and the caption around
// them.
void CCalendarWnd::FitToGrids()
{
    CCalendarStyle& options = CurrentCalendarOptions();
    const SIZE extent = GridsExtent();
    RECT rect = {0, 0, extent.cx, extent.cy};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrA(m_window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(m_window, GWL_EXSTYLE)));
    options.width = static_cast<WORD>(rect.right - rect.left);
    options.height = static_cast<WORD>(rect.bottom - rect.top);
    m_background.Release();
    SetWindowPos(m_window, nullptr, 0, 0, options.width, options.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HasBackground())
        PaintBackgroundDC();
}

// After a move to other months: a month with one more week than the window
// was sized for would lose its last row, so a window that sizes itself grows
// to hold it. It does not shrink for a shorter month, so it does not jump at
// every step.
void CCalendarWnd::GrowToGrids()
{
    if (!CurrentCalendarOptions().automaticResizing || m_rolled)
        return;
    RECT client;
    GetClientRect(m_window, &client);
    const SIZE extent = GridsExtent();
    if (extent.cx > client.right || extent.cy > client.bottom)
        FitToGrids();
}

void CCalendarWnd::RefreshAlarmDays(bool reAsk)
{
    const BYTE shown = CurrentCalendarOptions().nrOfMonthsToShow;
    m_main.RefreshAlarmDays(reAsk);
    if (shown > 1) {
        m_second.RefreshAlarmDays(reAsk);
        m_third.RefreshAlarmDays(reAsk);
    }
    if (shown == 3)
        m_fourth.RefreshAlarmDays(reAsk);
}

// Every move of the first month is kept, so the calendar opens on it again.
void CCalendarWnd::KeepMainMonth()
{
    CCalendarStyle& options = CurrentCalendarOptions();
    options.monthOnTheLeft = m_main.GetMonth();
    options.yearOnTheLeft = m_main.GetYear();
}
