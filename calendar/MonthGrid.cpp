#include "calendar/MonthGrid.h"

#include <algorithm>

#include "globals/CalendarStyle.h"
#include "foundation/Clock.h"
#include "foundation/win/WindowHelpers.h"
#include "resources/ids/CalendarIds.h"

namespace {
// The arrow buttons by point class: year width and height, month width and
// height. The two smaller classes share one size, which the arrows of both
// fit, so that a grid measured in any font keeps its title row inside it.
const CMonthGrid::ArrowSizes kArrowSizes[CMonthGrid::kPointClasses] = {
    {20, 31, 14, 31},
    {19, 27, 14, 27},
    {19, 20, 14, 20},
    {19, 20, 14, 20},
};

// The arrow pictures by point class: previous year, previous month, next
// month, next year.
const UINT kArrowBitmaps[CMonthGrid::kPointClasses][4] = {
    {IDB_CAL_PREV_YEAR_LARGE, IDB_CAL_PREV_MONTH_LARGE, IDB_CAL_NEXT_MONTH_LARGE, IDB_CAL_NEXT_YEAR_LARGE},
    {IDB_CAL_PREV_YEAR_MEDIUM, IDB_CAL_PREV_MONTH_MEDIUM, IDB_CAL_NEXT_MONTH_MEDIUM, IDB_CAL_NEXT_YEAR_MEDIUM},
    {IDB_CAL_PREV_YEAR_SMALL, IDB_CAL_PREV_MONTH_SMALL, IDB_CAL_NEXT_MONTH_SMALL, IDB_CAL_NEXT_YEAR_SMALL},
    {IDB_CAL_PREV_YEAR_TINY, IDB_CAL_PREV_MONTH_TINY, IDB_CAL_NEXT_MONTH_TINY, IDB_CAL_NEXT_YEAR_TINY},
};

CDlgDrawnFrame::Mode TitleRowMode(BYTE titleStyle)
{
    switch (titleStyle) {
    case 1:
        return CDlgDrawnFrame::kFilled;
    case 2:
        return CDlgDrawnFrame::kFramed;
    default:
        return CDlgDrawnFrame::kNothing;
    }
}
}

int CMonthGrid::PointClass(int points)
{
    if (points >= 22)
        return 0;
    if (points >= 16)
        return 1;
    return points >= 8 ? 2 : 3;
}

const CMonthGrid::ArrowSizes& CMonthGrid::ArrowSizesFor(int points)
{
    return kArrowSizes[PointClass(points)];
}

CMonthGrid::CMonthGrid(HWND dialog, const CCalendarStyle& settings)
    : CMonthGridDays(dialog, IDC_CAL_LINE, IDC_CAL_WEEKDAY, IDC_CAL_DAY, settings.calendarTitleStyle,
                     settings.weekdaysAbbrev, settings.firstDayOfWeek == 6, settings.monthOnTheLeft,
                     settings.yearOnTheLeft),
      m_arrows(kArrowSizes[2]),
      m_previousYear(dialog, IDC_CAL_PREV_YEAR, CDrawnButton::kYearArrow),
      m_previousMonth(dialog, IDC_CAL_PREV_MONTH, CDrawnButton::kMonthArrow),
      m_nextMonth(dialog, IDC_CAL_NEXT_MONTH, CDrawnButton::kMonthArrow),
      m_nextYear(dialog, IDC_CAL_NEXT_YEAR, CDrawnButton::kYearArrow),
      m_title(dialog, IDC_CAL_TITLE)
{
    m_titleRowFrame.Attach(dialog, IDC_CAL_TITLE_FRAME);
    m_previousYear.SetTooltipText("Previous year");
    m_previousMonth.SetTooltipText("Previous month");
    m_nextMonth.SetTooltipText("Next month");
    m_nextYear.SetTooltipText("Next year");
    const SYSTEMTIME now = GetLocalNow();
    m_showsCurrentMonth = m_month == now.wMonth && m_year == now.wYear;
    m_title.SetTooltipText(m_showsCurrentMonth ? "" : "Re-display current month");
    ApplyStyle(settings, settings.daysFont.font, settings.daysFontSmaller.font);
}

CMonthGrid::~CMonthGrid()
{
    // The cells go first, then every other control gets its own procedure back.
    for (CDayButton& cell : m_cells)
        cell.Detach();
}

void CMonthGrid::ApplyStyle(const CCalendarStyle& style, HFONT font, HFONT weekdayFont)
{
    m_font = font;
    m_titleStyle = style.calendarTitleStyle;
    m_showOtherDays = style.showOtherDays != 0;
    const CDlgDrawnFrame::Mode mode = TitleRowMode(m_titleStyle);
    m_titleRowFrame.SetMode(mode);
    m_titleRowFrame.SetColor(style.calendarTitleBackColor);
    m_titleRowFrame.SetTransparent(mode != CDlgDrawnFrame::kFilled);
    for (CDrawnButton* arrow : {&m_previousYear, &m_previousMonth, &m_nextMonth, &m_nextYear}) {
        arrow->SetTransparent(style.prevNextTransparent != 0);
        arrow->SetGlyphColor(style.prevNextForeColor);
    }
    m_title.SetFont(font);
    m_title.SetTextColor(style.calendarTitleTextColor);
    const DayCellLook cells{font,
                            style.daysAreaTextColor,
                            style.daysAreaBackColor,
                            style.daysAreaTransparent != 0,
                            style.daysWithAlarmBold != 0,
                            style.daysWithAlarmUnderline != 0,
                            style.daysWithAlarmIsShade != 0,
                            style.daysWithAlarmShadeColor,
                            style.showGrid != 0};
    ApplyDaysLook(weekdayFont, style.weekdayTextColor, style.weekdaysTransparent != 0, style.weekdayTextColor, cells);
}

int CMonthGrid::TitleRowHeight(const ArrowSizes& arrows, int titleHeight) const
{
    return std::max(arrows.monthHeight, titleHeight) + 2 * m_sideMargin;
}

void CMonthGrid::FitCells(const GridTextSizes& sizes, const ArrowSizes& arrows, int* cellWidth, int* cellHeight,
                          SIZE* titleSize) const
{
    int width = sizes.spacing + std::max(sizes.dayWidth, sizes.weekdayWidth);
    *titleSize = SIZE{sizes.titleWidth + 2, std::max(sizes.titleHeight, arrows.monthHeight)};
    // The widest title fits between the arrows.
    while (width * 7 < sizes.titleWidth + 2 * (arrows.yearWidth + 2 * m_sideMargin + arrows.monthWidth))
        ++width;
    *cellWidth = width;
    *cellHeight = std::min(sizes.dayHeight + 4, width);
}

void CMonthGrid::Measure()
{
    const LOGFONTA font = LogFontOf(m_font);
    GridTextSizes sizes;
    MeasureGridTexts(font, m_weekStartsOnSunday, m_year, &sizes);
    KeepTextSizes(sizes);
    const int points = GridFontPoints(font);
    m_arrows = ArrowSizesFor(points);
    FitCells(sizes, m_arrows, &m_cellWidth, &m_cellHeight, &m_titleSize);
    LoadArrows(points);
    UpdateTitle();
}

void CMonthGrid::MeasureTotalSize(const LOGFONTA& font, int* width, int* height) const
{
    GridTextSizes sizes;
    MeasureGridTexts(font, m_weekStartsOnSunday, m_year, &sizes);
    const ArrowSizes& arrows = ArrowSizesFor(GridFontPoints(font));
    int cellWidth = 0;
    int cellHeight = 0;
    SIZE titleSize;
    FitCells(sizes, arrows, &cellWidth, &cellHeight, &titleSize);
    *width = m_originX + 7 * cellWidth;
    *height = m_originY + TitleRowHeight(arrows, sizes.titleHeight) + sizes.weekdayHeight + m_weekdayExtraHeight +
              6 * cellHeight + 5;
}

void CMonthGrid::LoadArrows(int points)
{
    const UINT* ids = kArrowBitmaps[PointClass(points)];
    m_previousYear.LoadArrow(ids[0]);
    m_previousMonth.LoadArrow(ids[1]);
    m_nextMonth.LoadArrow(ids[2]);
    m_nextYear.LoadArrow(ids[3]);
}

void CMonthGrid::ShowTitle(const char* title)
{
    m_title.SetTitle(title);
    // The window text too, for screen readers.
    if (m_title.GetWindow())
        SetWindowTextA(m_title.GetWindow(), title);
}

void CMonthGrid::LayOut()
{
    const int height = TitleRowHeight(m_arrows, m_titleHeight);
    // Title style 3 keeps the title row where the dialog put it.
    if (m_titleStyle != 3)
        MoveControl(m_titleRowFrame.GetWindow(), m_originX, m_originY, 7 * m_cellWidth, height);
    RECT row = {m_originX, m_originY, m_originX + 7 * m_cellWidth, m_originY + height};
    if (m_titleRowFrame.GetWindow())
        GetRectInParent(m_titleRowFrame.GetWindow(), m_window, &row);

    const ArrowSizes& a = m_arrows;
    const int m = m_sideMargin;
    const int y = (height - a.monthHeight) / 2 + row.top;
    MoveControl(m_previousYear.GetWindow(), row.left + m, y, a.yearWidth, a.yearHeight);
    MoveControl(m_previousMonth.GetWindow(), row.left + m + a.yearWidth, y, a.monthWidth, a.monthHeight);
    MoveControl(m_nextYear.GetWindow(), row.right - m - a.yearWidth, y, a.yearWidth, a.yearHeight);
    const int nextMonthLeft = row.right - m - a.yearWidth - a.monthWidth;
    MoveControl(m_nextMonth.GetWindow(), nextMonthLeft, y, a.monthWidth, a.monthHeight);
    const int titleLeft = row.left + m + a.yearWidth + a.monthWidth + m;
    MoveControl(m_title.GetWindow(), titleLeft, (height - m_titleSize.cy) / 2 + row.top, nextMonthLeft - m - titleLeft,
                m_titleSize.cy);
    LayOutDays(row.left, row.bottom + 1);
}

bool CMonthGrid::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (CMonthGridDays::DrawItem(item))
        return true;
    switch (item.CtlID) {
    case IDC_CAL_PREV_YEAR:
        m_previousYear.Draw(item);
        return true;
    case IDC_CAL_PREV_MONTH:
        m_previousMonth.Draw(item);
        return true;
    case IDC_CAL_NEXT_MONTH:
        m_nextMonth.Draw(item);
        return true;
    case IDC_CAL_NEXT_YEAR:
        m_nextYear.Draw(item);
        return true;
    case IDC_CAL_TITLE:
        m_title.Draw(item);
        return true;
    default:
        return false;
    }
}
