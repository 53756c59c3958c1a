#pragma once

#include <windows.h>

#include "calendar/MonthGridDays.h"

// The dialog items of one of the second to fourth months.
struct ExtraMonthGridIds {
    int line;
    int firstWeekday;
    int title;
    int firstCell;
};
extern const ExtraMonthGridIds kSecondMonthIds;
extern const ExtraMonthGridIds kThirdMonthIds;
extern const ExtraMonthGridIds kFourthMonthIds;

// One of the months of the calendar's right-hand column: a plain title over
// the weekday row and the day cells, in the small days font, shown and hidden
// with the number of months shown.
class CExtraMonthGrid : public CMonthGridDays {
public:
    CExtraMonthGrid(HWND dialog, const ExtraMonthGridIds& ids, BYTE titleStyle, BYTE weekdayNameLength,
                    bool weekStartsOnSunday, BYTE month, WORD year);
    ~CExtraMonthGrid();

    // The grid and its title take the days font; the title, the line and the
    // weekday names the text colour; every cell the rest.
    void ApplyStyle(HFONT daysFont, HFONT weekdayFont, bool showOtherDays, bool gridLines, COLORREF textColor,
                    COLORREF backColor, bool transparent, bool alarmBold, bool alarmUnderline, bool alarmShade,
                    COLORREF shadeColor);
    // Text fitting in the grid's font: weekday name length, cell and title size.
    void Measure();
    void LayOut();
    // Cells, weekday names and the title; false for another item.
    bool DrawItem(const DRAWITEMSTRUCT& item);

    // The 51 windows: cells, weekday names, line and title.
    void Show();
    // The same 51 windows hidden in the batch, which is returned.
    HDWP Hide(HDWP batch);

    CDrawnLabel& Title() { return m_title; }

private:
    void ShowTitle(const char* title) override;
    template <class Action>
    void ForEachWindow(Action action);

    CDrawnLabel m_title;
};
