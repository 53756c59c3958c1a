// The moves of the first month: by month, by year, to December and back to
// the current month.
#include "calendar/MonthGrid.h"

#include "foundation/Clock.h"
#include "foundation/win/WindowHelpers.h"

namespace {
const char kBackToCurrentMonth[] = "Return to current month";

bool IsShownYear(int year)
{
    return year >= 1601 && year <= 9999;
}
}

void CMonthGrid::ShowNewMonth(BYTE month, WORD year)
{
    SetMonth(month, year);
    FillDates();
    UpdateTitle();
    RECT grid = {};
    if (m_titleRowFrame.GetWindow())
        GetRectInParent(m_titleRowFrame.GetWindow(), m_window, &grid);
    RECT last = {};
    if (m_cells[41].GetWindow())
        GetRectInParent(m_cells[41].GetWindow(), m_window, &last);
    grid.right = last.right > grid.right ? last.right : grid.right;
    grid.bottom = last.bottom;
    RedrawWindow(m_window, &grid, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CMonthGrid::SetTitleTip(bool atCurrentMonth, const char* text)
{
    m_showsCurrentMonth = atCurrentMonth;
    m_title.SetTooltipText(text);
}

void CMonthGrid::TipByCurrentMonth()
{
    const SYSTEMTIME now = GetLocalNow();
    const bool current = m_month == now.wMonth && m_year == now.wYear;
    SetTitleTip(current, current ? "" : kBackToCurrentMonth);
}

void CMonthGrid::GoToCurrentMonth()
{
    SetTitleTip(true, "");
    const SYSTEMTIME now = GetLocalNow();
    if (m_month != now.wMonth || m_year != now.wYear)
        ShowNewMonth(static_cast<BYTE>(now.wMonth), now.wYear);
}

void CMonthGrid::PreviousMonth()
{
    const bool january = m_month == 1;
    if (january && !IsShownYear(m_year - 1))
        return;
    ShowNewMonth(january ? 12 : m_month - 1, january ? m_year - 1 : m_year);
    TipByCurrentMonth();
}

void CMonthGrid::NextMonth()
{
    const bool december = m_month == 12;
    if (december && !IsShownYear(m_year + 1))
        return;
    ShowNewMonth(december ? 1 : m_month + 1, december ? m_year + 1 : m_year);
    TipByCurrentMonth();
}

void CMonthGrid::PreviousYear()
{
    if (!IsShownYear(m_year - 1))
        return;
    ShowNewMonth(m_month, m_year - 1);
    SetTitleTip(false, kBackToCurrentMonth);
}

void CMonthGrid::NextYear()
{
    if (!IsShownYear(m_year + 1))
        return;
    ShowNewMonth(m_month, m_year + 1);
    SetTitleTip(false, kBackToCurrentMonth);
}

void CMonthGrid::GoToDecember()
{
    if (m_month == 12)
        return;
    ShowNewMonth(12, m_year);
    TipByCurrentMonth();
}
