#include "calendar/ExtraMonthGrid.h"

#include <algorithm>

#include "resources/ids/CalendarIds.h"

const ExtraMonthGridIds kSecondMonthIds = {IDC_CAL2_LINE, IDC_CAL2_WEEKDAY, IDC_CAL2_TITLE, IDC_CAL2_DAY};
const ExtraMonthGridIds kThirdMonthIds = {IDC_CAL3_LINE, IDC_CAL3_WEEKDAY, IDC_CAL3_TITLE, IDC_CAL3_DAY};
const ExtraMonthGridIds kFourthMonthIds = {IDC_CAL4_LINE, IDC_CAL4_WEEKDAY, IDC_CAL4_TITLE, IDC_CAL4_DAY};

CExtraMonthGrid::CExtraMonthGrid(HWND dialog, const ExtraMonthGridIds& ids, BYTE titleStyle, BYTE weekdayNameLength,
                                 bool weekStartsOnSunday, BYTE month, WORD year)
    : CMonthGridDays(dialog, ids.line, ids.firstWeekday, ids.firstCell, titleStyle, weekdayNameLength,
                     weekStartsOnSunday, month, year)
{
    m_title.Attach(dialog, ids.title);
    m_noErase = true;
}

CExtraMonthGrid::~CExtraMonthGrid()
{
    for (CDayButton& cell : m_cells)
        cell.Detach();
}

void CExtraMonthGrid::ApplyStyle(HFONT daysFont, HFONT weekdayFont, bool showOtherDays, bool gridLines,
                                 COLORREF textColor, COLORREF backColor, bool transparent, bool alarmBold,
                                 bool alarmUnderline, bool alarmShade, COLORREF shadeColor)
{
    m_font = daysFont;
    m_title.SetFont(daysFont);
    m_title.SetTextColor(textColor);
    const DayCellLook cells{daysFont,  textColor,      backColor,  transparent, alarmBold,
                            alarmUnderline, alarmShade, shadeColor, gridLines};
    ApplyDaysLook(weekdayFont, textColor, true, textColor, cells);
    m_showOtherDays = showOtherDays;
}

void CExtraMonthGrid::Measure()
{
    GridTextSizes sizes;
    MeasureGridTexts(LogFontOf(m_font), m_weekStartsOnSunday, m_year, &sizes);
    KeepTextSizes(sizes);
    m_cellWidth = sizes.spacing + std::max(sizes.dayWidth, sizes.weekdayWidth) + 1;
    m_titleSize = SIZE{sizes.titleWidth, sizes.titleHeight};
    while (m_cellWidth * 7 < sizes.titleWidth + 2 * m_sideMargin)
        ++m_cellWidth;
    m_cellHeight = std::min(sizes.dayHeight, m_cellWidth);
    UpdateTitle();
}

void CExtraMonthGrid::ShowTitle(const char* title)
{
    m_title.SetText(title);
    // The window text too, for screen readers.
    if (m_title.GetWindow())
        SetWindowTextA(m_title.GetWindow(), title);
}

void CExtraMonthGrid::LayOut()
{
    MoveControl(m_title.GetWindow(), m_originX + (7 * m_cellWidth - m_titleSize.cx) / 2, m_originY, m_titleSize.cx,
                m_titleSize.cy);
    LayOutDays(m_originX, m_originY + m_titleSize.cy + 1);
}

bool CExtraMonthGrid::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (CMonthGridDays::DrawItem(item))
        return true;
    if (static_cast<int>(item.CtlID) != m_title.GetControlId())
        return false;
    m_title.Draw(item);
    return true;
}

template <class Action>
void CExtraMonthGrid::ForEachWindow(Action action)
{
    for (CDayButton& cell : m_cells)
        action(cell.GetWindow());
    for (CDrawnLabel& weekday : m_weekdays)
        action(weekday.GetWindow());
    action(m_weekdayLine.GetWindow());
    action(m_title.GetWindow());
}

void CExtraMonthGrid::Show()
{
    ForEachWindow([](HWND window) {
        if (window)
            ShowWindow(window, SW_SHOWNOACTIVATE);
    });
}

HDWP CExtraMonthGrid::Hide(HDWP batch)
{
    ForEachWindow([&](HWND window) {
        if (window && batch)
            batch = DeferWindowPos(batch, window, nullptr, 0, 0, 0, 0,
                                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_HIDEWINDOW);
    });
    return batch;
}
