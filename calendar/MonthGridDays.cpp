#include "calendar/MonthGridDays.h"

#include <cstring>

#include "foundation/Clock.h"
#include "foundation/win/HoverButton.h"
#include "foundation/win/WindowHelpers.h"

namespace {
int DaysInMonth(int month, int year)
{
    CDateTime first(1, static_cast<BYTE>(month), static_cast<WORD>(year));
    return first.GetDaysInMonth();
}
}

CMonthGridDays::CMonthGridDays(HWND dialog, int lineId, int firstWeekdayId, int firstCellId, BYTE titleStyle,
                               BYTE weekdayNameLength, bool weekStartsOnSunday, BYTE month, WORD year)
    : m_titleStyle(titleStyle), m_weekdayNameLength(weekdayNameLength), m_weekStartsOnSunday(weekStartsOnSunday),
      m_month(1), m_year(2000), m_window(dialog), m_firstWeekdayId(firstWeekdayId), m_firstCellId(firstCellId)
{
    SetMonth(month, year);
    for (int column = 0; column < 7; ++column)
        m_weekdays[column].Attach(dialog, firstWeekdayId + column);
    m_weekdayLine.Attach(dialog, lineId);
    m_weekdayLine.SetMode(CDlgDrawnFrame::kFilled);
    for (int index = 0; index < 42; ++index)
        m_cells[index].Attach(dialog, firstCellId + index);
}

void CMonthGridDays::SetMonth(BYTE month, WORD year)
{
    // A month that cannot be shown (a record never saved holds 0) is today's.
    if (month < 1 || month > 12 || year < 1601 || year > 9999) {
        const SYSTEMTIME now = GetLocalNow();
        month = static_cast<BYTE>(now.wMonth);
        year = now.wYear;
    }
    m_month = month;
    m_year = year;
}

void CMonthGridDays::SetOrigin(int x, int y)
{
    m_originX = x;
    m_originY = y;
}

void CMonthGridDays::FillWeekdayNames()
{
    char name[CDrawnLabel::kTextSize];
    for (int column = 0; column < 7; ++column) {
        GetWeekdayName(column, m_weekStartsOnSunday, m_weekdayNameLength, name, sizeof name);
        m_weekdays[column].SetText(name);
    }
}

void CMonthGridDays::FillDates()
{
    for (CDayButton& cell : m_cells) {
        cell.SetDate(0, 0, 0, false);
        cell.SetShowOtherDays(m_showOtherDays);
    }
    const int days = DaysInMonth(m_month, m_year);
    const int weekday = CDateTime(1, m_month, m_year).GetDayOfWeek();  // 0 = Sunday
    const int start = m_weekStartsOnSunday ? weekday : (weekday == 0 ? 6 : weekday - 1);

    if (m_showOtherDays && start > 0) {
        const BYTE month = m_month == 1 ? 12 : m_month - 1;
        const WORD year = m_month == 1 ? m_year - 1 : m_year;
        int day = DaysInMonth(month, year);
        for (int index = start - 1; index >= 0; --index)
            m_cells[index].SetDate(static_cast<BYTE>(day--), month, year, true);
    }
    for (int day = 1; day <= days; ++day)
        m_cells[start + day - 1].SetDate(static_cast<BYTE>(day), m_month, m_year, false);

    // Trailing days complete the row of the last day, or fill row 5 when the
    // month ends with row 4; they never open row 6.
    int index = start + days;
    if (m_showOtherDays && index != 35) {
        const BYTE month = m_month == 12 ? 1 : m_month + 1;
        const WORD year = m_month == 12 ? m_year + 1 : m_year;
        int day = 1;
        do {
            m_cells[index].SetDate(static_cast<BYTE>(day++), month, year, true);
            ++index;
        } while (index % 7 != 0 && index < 42);
    }
}

void CMonthGridDays::UpdateTitle()
{
    char title[CDrawnLabel::kTextSize];
    FormatMonthTitle(m_month, m_year, title, sizeof title);
    ShowTitle(title);
    m_currentTitleSize = MeasureGridTextInFont(m_font, title);
}

void CMonthGridDays::RefreshAlarmDays(bool reAsk)
{
    for (CDayButton& cell : m_cells) {
        cell.SetReAsk(reAsk);
        if (HWND window = cell.GetWindow()) {
            InvalidateRect(window, nullptr, FALSE);
            UpdateWindow(window);
        }
    }
}

bool CMonthGridDays::DrawItem(const DRAWITEMSTRUCT& item)
{
    const int id = static_cast<int>(item.CtlID);
    if (id >= m_firstCellId && id < m_firstCellId + 42) {
        m_cells[id - m_firstCellId].Draw(item);
        return true;
    }
    if (id >= m_firstWeekdayId && id < m_firstWeekdayId + 7) {
        m_weekdays[id - m_firstWeekdayId].Draw(item);
        return true;
    }
    return false;
}

RECT CMonthGridDays::LastCellRect() const
{
    const CDayButton& last = m_cells[m_cells[35].IsEmpty() ? 34 : 41];
    RECT rect = {};
    if (last.GetWindow())
        GetRectInParent(last.GetWindow(), m_window, &rect);
    return rect;
}

int CMonthGridDays::GetWidth() const
{
    return LastCellRect().right;
}

int CMonthGridDays::GetHeight() const
{
    return LastCellRect().bottom;
}

void CMonthGridDays::ApplyDaysLook(HFONT weekdayFont, COLORREF weekdayColor, bool weekdayTransparent,
                                   COLORREF lineColor, const DayCellLook& look)
{
    for (CDrawnLabel& weekday : m_weekdays) {
        weekday.SetFont(weekdayFont);
        weekday.SetTextColor(weekdayColor);
        weekday.SetTransparent(weekdayTransparent);
    }
    m_weekdayLine.SetColor(lineColor);
    for (CDayButton& cell : m_cells) {
        cell.SetFont(look.font);
        cell.SetTextColor(look.textColor);
        cell.SetBackground(look.backColor, look.transparent);
        cell.SetAlarmMarks(look.alarmBold, look.alarmUnderline, look.alarmShade, look.shadeColor);
        cell.SetGrid(look.grid);
    }
}

void CMonthGridDays::KeepTextSizes(const GridTextSizes& sizes)
{
    m_weekdayNameLength = sizes.nameLength;
    m_cellSpacing = sizes.spacing;
    m_cellWidth = sizes.dayWidth;
    m_cellHeight = sizes.dayHeight;
    std::memcpy(m_weekdaySizes, sizes.weekdays, sizeof m_weekdaySizes);
    m_weekdayWidth = sizes.weekdayWidth;
    m_weekdayRowHeight = sizes.weekdayHeight + m_weekdayExtraHeight;
    std::memcpy(m_monthTitleSizes, sizes.titles, sizeof m_monthTitleSizes);
    m_titleWidth = sizes.titleWidth;
    m_titleHeight = sizes.titleHeight;
}

void CMonthGridDays::MoveControl(HWND control, int x, int y, int width, int height) const
{
    if (!control)
        return;
    if (!m_noErase)
        SendMessageA(control, kMsgRepaintButtonBackground, 0, 20);
    MoveWindow(control, x, y, width, height, FALSE);
}

void CMonthGridDays::LayOutDays(int left, int top)
{
    for (int column = 0; column < 7; ++column)
        MoveControl(m_weekdays[column].GetWindow(), left + m_weekdayXOffset + column * m_cellWidth, top, m_cellWidth,
                    m_weekdayRowHeight);
    const int lineTop = top + m_weekdayRowHeight + 1;
    MoveControl(m_weekdayLine.GetWindow(), left, lineTop, 7 * m_cellWidth, 1);
    const int cellsTop = lineTop + 1 + 2;
    for (int index = 0; index < 42; ++index)
        MoveControl(m_cells[index].GetWindow(), left + (index % 7) * m_cellWidth,
                    cellsTop + (index / 7) * m_cellHeight, m_cellWidth, m_cellHeight);
}
