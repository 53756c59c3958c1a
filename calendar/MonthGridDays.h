#pragma once

#include <windows.h>

#include "calendar/GridTexts.h"
#include "calendar/controls/DayButton.h"
#include "calendar/controls/DlgDrawnFrame.h"
#include "calendar/controls/DrawnLabel.h"

// How the day cells of a grid look, from the calendar style.
struct DayCellLook {
    HFONT font;
    COLORREF textColor;
    COLORREF backColor;
    bool transparent;
    bool alarmBold, alarmUnderline, alarmShade;
    COLORREF shadeColor;
    bool grid;
};

// What both kinds of month grid hold: the month shown, the sizes of its texts
// in the grid's font, the weekday row with its line and the 42 day cells (six
// rows of seven) over the dialog's items. The first grid adds the arrows and
// the title button (CMonthGrid), the others a plain title (CExtraMonthGrid).
class CMonthGridDays {
public:
    CMonthGridDays(const CMonthGridDays&) = delete;
    CMonthGridDays& operator=(const CMonthGridDays&) = delete;

    // The seven weekday names, in the name length, into the labels.
    void FillWeekdayNames();
    // The month's days into the cells from the column of its first day, with
    // the neighbouring months' days around them when those are shown; every
    // cell asks about alarm days again at its next paint.
    void FillDates();
    // Every cell asks again (or not) at once.
    void RefreshAlarmDays(bool reAsk);
    // The shown month's title, in the locale's year-month form, and its size.
    void UpdateTitle();
    // The parent's WM_DRAWITEM for a cell or a weekday name; false for an item
    // the grid does not know.
    bool DrawItem(const DRAWITEMSTRUCT& item);

    // The right and bottom edges of the last cell of row 6 when the month
    // reaches it (cell 35 holds a day), else of row 5.
    int GetWidth() const;
    int GetHeight() const;

    void SetMonth(BYTE month, WORD year);
    BYTE GetMonth() const { return m_month; }
    WORD GetYear() const { return m_year; }
    void SetWeekStartsOnSunday(bool sundayFirst) { m_weekStartsOnSunday = sundayFirst; }
    void SetShowOtherDays(bool show) { m_showOtherDays = show; }
    void SetOrigin(int x, int y);
    // Moves without first asking the controls to repaint their backgrounds.
    void SetNoErase(bool noErase) { m_noErase = noErase; }

    BYTE GetWeekdayNameLength() const { return m_weekdayNameLength; }
    BYTE GetCellSpacing() const { return m_cellSpacing; }
    int GetCellWidth() const { return m_cellWidth; }
    int GetCellHeight() const { return m_cellHeight; }
    int GetWeekdayRowHeight() const { return m_weekdayRowHeight; }
    SIZE GetTitleSize() const { return m_titleSize; }
    SIZE GetCurrentTitleSize() const { return m_currentTitleSize; }
    HFONT GetFont() const { return m_font; }
    CDayButton& Cell(int index) { return m_cells[index]; }
    CDrawnLabel& Weekday(int column) { return m_weekdays[column]; }
    CDlgDrawnFrame& WeekdayLine() { return m_weekdayLine; }

protected:
    CMonthGridDays(HWND dialog, int lineId, int firstWeekdayId, int firstCellId, BYTE titleStyle,
                   BYTE weekdayNameLength, bool weekStartsOnSunday, BYTE month, WORD year);
    virtual ~CMonthGridDays() = default;

    // The title control takes the text.
    virtual void ShowTitle(const char* title) = 0;

    // The weekday names, the line and the cells take the style.
    void ApplyDaysLook(HFONT weekdayFont, COLORREF weekdayColor, bool weekdayTransparent, COLORREF lineColor,
                       const DayCellLook& cells);
    // Keeps the measured sizes of the texts; the cell size is left to the kind
    // of grid.
    void KeepTextSizes(const GridTextSizes& sizes);
    // Moves a control without repainting it, after asking it to paint its
    // background where it stands (unless no erase is set).
    void MoveControl(HWND control, int x, int y, int width, int height) const;
    // The weekday row at (left, top), the line under it and the cells under
    // that.
    void LayOutDays(int left, int top);

    int m_weekdayWidth = 0;
    int m_weekdayRowHeight = 0;
    int m_titleWidth = 0;
    int m_titleHeight = 0;
    BYTE m_titleStyle;
    BYTE m_weekdayNameLength;
    bool m_weekStartsOnSunday;
    BYTE m_month;
    WORD m_year;
    int m_cellHeight = 0;
    int m_cellWidth = 0;
    HFONT m_font = nullptr;
    SIZE m_weekdaySizes[7] = {};
    SIZE m_monthTitleSizes[12] = {};
    SIZE m_currentTitleSize = {};
    SIZE m_titleSize = {};
    CDrawnLabel m_weekdays[7];
    CDlgDrawnFrame m_weekdayLine;
    CDayButton m_cells[42];
    HWND m_window;
    int m_firstWeekdayId;
    int m_firstCellId;
    BYTE m_weekdayExtraHeight = 1;
    BYTE m_cellSpacing = 0;
    BYTE m_weekdayXOffset = 0;
    BYTE m_sideMargin = 2;
    bool m_showOtherDays = false;
    int m_originX = 0;
    int m_originY = 0;
    bool m_noErase = false;

private:
    // The last cell of row 6 when the month reaches it, else of row 5.
    RECT LastCellRect() const;
};
