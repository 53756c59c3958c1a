#pragma once

#include <windows.h>

#include "calendar/MonthGridDays.h"
#include "calendar/controls/DrawnButton.h"
#include "calendar/controls/TodayButton.h"

class CCalendarStyle;

// The first month of the calendar, the one the user moves: a title row with
// the arrows for the previous year and month at the left, the next month and
// year at the right and the month title between them (a button that brings
// back the current month), over the weekday row and the day cells.
class CMonthGrid : public CMonthGridDays {
public:
    // Point classes of the grid font, by which the arrows and their buttons
    // are sized: 22 points and more, 16 to 21, 8 to 15, under 8.
    enum { kPointClasses = 4 };
    struct ArrowSizes {
        int yearWidth, yearHeight, monthWidth, monthHeight;
    };

    // Over the items of the calendar dialog, showing the settings' month (the
    // current one when it has none) in the settings' look and fonts.
    CMonthGrid(HWND dialog, const CCalendarStyle& settings);
    ~CMonthGrid();

    // The grid's font (day numbers and title), the weekday font and colours.
    void ApplyStyle(const CCalendarStyle& style, HFONT font, HFONT weekdayFont);
    // Text fitting in the grid's font: weekday name length, cell size, title
    // size, and the arrows of the font's size.
    void Measure();
    // The width and height the grid would take in the font; nothing is kept.
    void MeasureTotalSize(const LOGFONTA& font, int* width, int* height) const;
    void LayOut();
    // Cells, weekday names, arrows and the title; false for another item.
    bool DrawItem(const DRAWITEMSTRUCT& item);

    // The moves of the first month. Each shows the new month at once and tells
    // by the title button's tooltip how to come back to the current month; a
    // year outside 1601-9999 is not moved to.
    void GoToCurrentMonth();
    void PreviousMonth();
    void NextMonth();
    void PreviousYear();
    void NextYear();
    // December of the shown year; nothing when it is shown.
    void GoToDecember();

    CDrawnButton& PreviousYearButton() { return m_previousYear; }
    CDrawnButton& NextYearButton() { return m_nextYear; }
    CDrawnButton& PreviousMonthButton() { return m_previousMonth; }
    CDrawnButton& NextMonthButton() { return m_nextMonth; }
    CTodayButton& TitleButton() { return m_title; }
    CDlgDrawnFrame& TitleRowFrame() { return m_titleRowFrame; }
    bool ShowsCurrentMonth() const { return m_showsCurrentMonth; }

    // 0 for 22 points and more .. 3 for under 8.
    static int PointClass(int points);
    static const ArrowSizes& ArrowSizesFor(int points);

private:
    void ShowTitle(const char* title) override;
    // The cell size from the measured texts and the arrows of the font.
    void FitCells(const GridTextSizes& sizes, const ArrowSizes& arrows, int* cellWidth, int* cellHeight,
                  SIZE* titleSize) const;
    void LoadArrows(int points);
    // Days and title of the month, then the grid painted again.
    void ShowNewMonth(BYTE month, WORD year);
    // The title button's tooltip after a move by months: none at the current
    // month, else the way back to it.
    void TipByCurrentMonth();
    void SetTitleTip(bool atCurrentMonth, const char* text);
    int TitleRowHeight(const ArrowSizes& arrows, int titleHeight) const;

    ArrowSizes m_arrows;
    CDlgDrawnFrame m_titleRowFrame;
    CDrawnButton m_previousYear;
    CDrawnButton m_previousMonth;
    CDrawnButton m_nextMonth;
    CDrawnButton m_nextYear;
    CTodayButton m_title;
    bool m_showsCurrentMonth;
};
