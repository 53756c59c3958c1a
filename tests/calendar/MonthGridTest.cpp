// The month grids over the calendar's dialog: which day goes in which cell,
// and how the grid fits its texts, arrows and cells to its font.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "CalendarDialog.h"
#include "globals/CalendarFonts.h"
#include "calendar/GridTexts.h"
#include "foundation/win/GdiObjects.h"
#include "foundation/win/WindowHelpers.h"
#include "resources/ids/CalendarIds.h"

namespace {
class MonthGridTest : public testing::Test {
protected:
    void ExpectCell(CMonthGridDays& grid, int index, int day, int month, int year, bool otherMonth)
    {
        const CDayButton& cell = grid.Cell(index);
        SCOPED_TRACE(testing::Message() << "cell " << index);
        EXPECT_EQ(cell.GetDate().m_day, day);
        EXPECT_EQ(cell.GetDate().m_month, month);
        EXPECT_EQ(cell.GetDate().m_year, year);
        EXPECT_EQ(cell.IsOtherMonth(), otherMonth);
    }
    void ExpectEmpty(CMonthGridDays& grid, int first, int last)
    {
        for (int index = first; index <= last; ++index)
            EXPECT_TRUE(grid.Cell(index).IsEmpty()) << "cell " << index;
    }
    RECT RectOf(HWND item) const
    {
        RECT rect = {};
        GetRectInParent(item, dialog.Window(), &rect);
        return rect;
    }
    // The first grid in a style of that size.
    void UseFontOf(int points)
    {
        style = TestCalendarStyle(points);
        dialog.Main().ApplyStyle(style, style.daysFont.font, style.daysFontSmaller.font);
    }

    MainWindowStandIn main;
    CCalendarStyle style = TestCalendarStyle(11);
    CalendarDialog dialog{style, main};
};
}

TEST_F(MonthGridTest, EachMonthStartsInTheColumnOfItsFirstDay)
{
    // 1 March 2026 is a Sunday: with Monday first it takes column 6, after
    // the last six days of February; April fills the rest of row 6.
    dialog.ShowMonth(3, 2026, false, true);
    CMonthGrid& grid = dialog.Main();
    for (int index = 0; index < 6; ++index)
        ExpectCell(grid, index, 23 + index, 2, 2026, true);
    ExpectCell(grid, 6, 1, 3, 2026, false);
    ExpectCell(grid, 36, 31, 3, 2026, false);
    for (int index = 37; index < 42; ++index)
        ExpectCell(grid, index, index - 36, 4, 2026, true);
    // Row 6 is in use: the grid ends with its last cell.
    EXPECT_EQ(grid.GetWidth(), RectOf(grid.Cell(41).GetWindow()).right);
    EXPECT_EQ(grid.GetHeight(), RectOf(grid.Cell(41).GetWindow()).bottom);

    // April 2026 beside it: 30 and 31 March lead, 1-3 May complete the row
    // of the last day and row 6 stays empty, so the grid ends with row 5.
    CExtraMonthGrid& second = dialog.Second();
    ExpectCell(second, 0, 30, 3, 2026, true);
    ExpectCell(second, 2, 1, 4, 2026, false);
    for (int index = 32; index < 35; ++index)
        ExpectCell(second, index, index - 31, 5, 2026, true);
    ExpectEmpty(second, 35, 41);
    EXPECT_EQ(second.GetHeight(), RectOf(second.Cell(34).GetWindow()).bottom);
    EXPECT_LT(second.GetHeight(), RectOf(second.Cell(41).GetWindow()).bottom);

    // February 2026 with Sunday first starts in column 0 and ends with row 4:
    // row 5 takes 1-7 March, row 6 stays empty.
    dialog.ShowMonth(2, 2026, true, true);
    ExpectCell(grid, 0, 1, 2, 2026, false);
    ExpectCell(grid, 27, 28, 2, 2026, false);
    for (int index = 28; index < 35; ++index)
        ExpectCell(grid, index, index - 27, 3, 2026, true);
    ExpectEmpty(grid, 35, 41);
    EXPECT_EQ(grid.GetHeight(), RectOf(grid.Cell(34).GetWindow()).bottom);

    // Without the neighbouring months those cells stay empty.
    dialog.ShowMonth(2, 2026, true, false);
    ExpectEmpty(grid, 28, 41);
    dialog.ShowMonth(3, 2026, false, false);
    ExpectEmpty(grid, 0, 5);
    ExpectCell(grid, 6, 1, 3, 2026, false);
    ExpectEmpty(grid, 37, 41);

    // Across the turn of the year: December 2026 ends with 1-3 January
    // 2027, and January 2027 begins after 28-31 December 2026.
    dialog.ShowMonth(12, 2026, false, true);
    ExpectCell(grid, 0, 30, 11, 2026, true);
    ExpectCell(grid, 1, 1, 12, 2026, false);
    for (int index = 32; index < 35; ++index)
        ExpectCell(grid, index, index - 31, 1, 2027, true);
    for (int index = 0; index < 4; ++index)
        ExpectCell(second, index, 28 + index, 12, 2026, true);
    ExpectCell(second, 4, 1, 1, 2027, false);
}

TEST_F(MonthGridTest, WeekdayNamesAndCellSpacingFollowThePointSize)
{
    struct Expected {
        int points;
        int length;
        int spacing;
        const char* monday;
        const char* sunday;
    };
    for (const Expected& e : {Expected{7, 1, 5, "M", "S"}, Expected{8, 2, 3, "Mo", "Su"},
                              Expected{9, 3, 2, "Mon", "Sun"}}) {
        SCOPED_TRACE(testing::Message() << e.points << " points");
        UseFontOf(e.points);
        dialog.ShowMonth(3, 2026, false, true);
        EXPECT_EQ(dialog.Main().GetWeekdayNameLength(), e.length);
        EXPECT_EQ(dialog.Main().GetCellSpacing(), e.spacing);
        EXPECT_STREQ(dialog.Main().Weekday(0).GetText(), e.monday);
        EXPECT_STREQ(dialog.Main().Weekday(6).GetText(), e.sunday);
        dialog.ShowMonth(3, 2026, true, true);
        EXPECT_STREQ(dialog.Main().Weekday(0).GetText(), e.sunday);
        EXPECT_STREQ(dialog.Main().Weekday(1).GetText(), e.monday);
    }
    // The extra months measure in their own, small font: always 7 points.
    EXPECT_EQ(dialog.Second().GetWeekdayNameLength(), 1);
    EXPECT_STREQ(dialog.Second().Weekday(0).GetText(), "S");
}

TEST_F(MonthGridTest, TheArrowsGrowAtTwentyTwoPoints)
{
    struct Expected {
        int points;
        SIZE yearArrow, monthArrow, yearButton, monthButton;
    };
    for (const Expected& e : {Expected{21, {13, 11}, {6, 11}, {19, 27}, {14, 27}},
                              Expected{22, {17, 15}, {8, 15}, {20, 31}, {14, 31}},
                              Expected{12, {11, 9}, {5, 9}, {19, 20}, {14, 20}},
                              Expected{7, {9, 7}, {4, 7}, {19, 20}, {14, 20}}}) {
        SCOPED_TRACE(testing::Message() << e.points << " points");
        UseFontOf(e.points);
        dialog.ShowMonth(3, 2026, false, true);
        CMonthGrid& grid = dialog.Main();
        EXPECT_EQ(grid.NextYearButton().GetArrowWidth(), e.yearArrow.cx);
        EXPECT_EQ(grid.NextYearButton().GetArrowHeight(), e.yearArrow.cy);
        EXPECT_EQ(grid.PreviousMonthButton().GetArrowWidth(), e.monthArrow.cx);
        EXPECT_EQ(grid.PreviousMonthButton().GetArrowHeight(), e.monthArrow.cy);
        const RECT year = RectOf(dialog.Item(IDC_CAL_PREV_YEAR));
        const RECT month = RectOf(dialog.Item(IDC_CAL_NEXT_MONTH));
        EXPECT_EQ(year.right - year.left, e.yearButton.cx);
        EXPECT_EQ(year.bottom - year.top, e.yearButton.cy);
        EXPECT_EQ(month.right - month.left, e.monthButton.cx);
        EXPECT_EQ(month.bottom - month.top, e.monthButton.cy);
    }
}

TEST_F(MonthGridTest, AtEverySizeTheGridKeepsItsPartsInsideTheSizeItMeasures)
{
    static const int kItems[] = {IDC_CAL_TITLE_FRAME, IDC_CAL_PREV_YEAR, IDC_CAL_PREV_MONTH, IDC_CAL_TITLE,
                                 IDC_CAL_NEXT_MONTH, IDC_CAL_NEXT_YEAR, IDC_CAL_WEEKDAY, IDC_CAL_LINE};
    dialog.Main().SetOrigin(15, 12);
    for (int points = 6; points <= 30; ++points) {
        SCOPED_TRACE(testing::Message() << points << " points");
        UseFontOf(points);
        // March 2026 with Monday first uses all six rows.
        dialog.ShowMonth(3, 2026, false, true);
        CMonthGrid& grid = dialog.Main();
        int width = 0;
        int height = 0;
        grid.MeasureTotalSize(style.daysFont.logFont, &width, &height);
        EXPECT_EQ(width, grid.GetWidth());
        EXPECT_EQ(height, grid.GetHeight());
        for (int id : kItems) {
            const RECT rect = RectOf(dialog.Item(id));
            EXPECT_GE(rect.left, 15) << id;
            EXPECT_GE(rect.top, 12) << id;
            EXPECT_LE(rect.right, width) << id;
            EXPECT_LE(rect.bottom, height) << id;
        }
        // The widest month title fits between the arrows.
        const RECT title = RectOf(dialog.Item(IDC_CAL_TITLE));
        EXPECT_GE(title.right - title.left, grid.GetTitleSize().cx - 2);
        EXPECT_LE(RectOf(dialog.Item(IDC_CAL_PREV_MONTH)).right, title.left);
        EXPECT_LE(title.right, RectOf(dialog.Item(IDC_CAL_NEXT_MONTH)).left);
    }
}

TEST(TextFitting, AnItalicTextIsMeasuredByItsInk)
{
    LOGFONTA logFont = {};
    logFont.lfHeight = -27;
    logFont.lfWeight = 400;
    logFont.lfItalic = TRUE;
    lstrcpyA(logFont.lfFaceName, "Tahoma");
    CGdiFont italic(logFont);
    int inkW = 0, inkWBlanks = 0, inkBlanksW = 0, height = 0, emptyWidth = -1;
    MeasureTextInkWidth(&inkW, &height, italic.GetHFONT(), "W");
    MeasureTextInkWidth(&inkWBlanks, &height, italic.GetHFONT(), "W   ");
    MeasureTextInkWidth(&inkBlanksW, &height, italic.GetHFONT(), "   W");
    MeasureTextInkWidth(&emptyWidth, &height, italic.GetHFONT(), "");
    EXPECT_GT(inkW, 0);
    // Blanks after the letter add no ink; blanks before it move it.
    EXPECT_EQ(inkWBlanks, inkW);
    EXPECT_GT(inkBlanksW, inkW);
    EXPECT_EQ(emptyWidth, 0);

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, italic.GetHFONT());
    SIZE extent = {};
    GetTextExtentPoint32A(dc, "W   ", 4, &extent);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    EXPECT_LT(inkWBlanks, extent.cx);
    EXPECT_EQ(height, metrics.tmHeight);
    // A grid measures a day number in an italic font by its ink, in a plain
    // one by its extent.
    SIZE day = MeasureDayNumber(7, italic.GetHFONT(), false, false);
    int ink = 0;
    MeasureTextInkWidth(&ink, &height, italic.GetHFONT(), " 7");
    EXPECT_EQ(day.cx, ink);
    logFont.lfItalic = FALSE;
    CGdiFont plain(logFont);
    SelectObject(dc, plain.GetHFONT());
    GetTextExtentPoint32A(dc, " 7", 2, &extent);
    EXPECT_EQ(MeasureDayNumber(7, plain.GetHFONT(), false, false).cx, extent.cx);
    SelectObject(dc, previous);
    DeleteDC(dc);
}
