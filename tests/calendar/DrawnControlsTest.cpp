// The arrows, titles, labels and frames of the calendar's months, and how one
// month looks on the screen.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "CalendarDialog.h"
#include "calendar/controls/CalendarMessages.h"
#include "foundation/Clock.h"
#include "foundation/bytes/MessageBoxes.h"
#include "resources/ids/CalendarIds.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
class DrawnControlsTest : public testing::Test {
protected:
    DrawnControlsTest()
    {
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5);
        // Today is 10 March 2026.
        SYSTEMTIME today = {};
        today.wYear = 2026;
        today.wMonth = 3;
        today.wDay = 10;
        today.wHour = 12;
        SetClockOverride(&today);
        main.SetAlarmDays({20260314});
        dialog = std::make_unique<CalendarDialog>(style, main);
        dialog->ShowMonth(3, 2026, false, true);
    }
    ~DrawnControlsTest() override
    {
        dialog.reset();
        SetClockOverride(nullptr);
    }

    MainWindowStandIn main;
    CCalendarStyle style = TestCalendarStyle(11);
    std::unique_ptr<CalendarDialog> dialog;
};

// The screen's colour at a point of the window's client area.
COLORREF PixelAt(HWND window, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    COLORREF color = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return color;
}

// How many pixels of the colour lie inside the cell, away from its edges.
int CountInside(HWND cell, COLORREF color)
{
    RECT client;
    GetClientRect(cell, &client);
    int count = 0;
    for (int y = 3; y < client.bottom - 3; ++y)
        for (int x = 3; x < client.right - 3; ++x)
            count += PixelAt(cell, x, y) == color;
    return count;
}
}

TEST_F(DrawnControlsTest, ArrowsAndTheMonthTitleActForTheCalendar)
{
    CMonthGrid& grid = dialog->Main();
    EXPECT_STREQ(grid.PreviousYearButton().GetTooltipText(), "Previous year");
    EXPECT_STREQ(grid.PreviousMonthButton().GetTooltipText(), "Previous month");
    EXPECT_STREQ(grid.NextMonthButton().GetTooltipText(), "Next month");
    EXPECT_STREQ(grid.NextYearButton().GetTooltipText(), "Next year");
    // The grid opened on today's month: the title has nothing to bring back.
    EXPECT_TRUE(grid.ShowsCurrentMonth());
    EXPECT_STREQ(grid.TitleButton().GetTooltipText(), "");
    EXPECT_STREQ(grid.TitleButton().GetTitle(), "March 2026");

    // Enter presses an arrow; Esc on the title closes the calendar.
    HWND previousMonth = dialog->Item(IDC_CAL_PREV_MONTH);
    SendMessageA(previousMonth, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_FALSE(dialog->Seen(WM_COMMAND).empty());
    EXPECT_EQ(dialog->Seen(WM_COMMAND)[0].wParam, static_cast<WPARAM>(IDC_CAL_PREV_MONTH));
    EXPECT_EQ(dialog->Seen(WM_COMMAND)[0].lParam, reinterpret_cast<LPARAM>(previousMonth));
    dialog->Forget();
    SendMessageA(dialog->Item(IDC_CAL_TITLE), WM_CHAR, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !dialog->Seen(WM_COMMAND).empty(); }));
    EXPECT_EQ(dialog->Seen(WM_COMMAND)[0].wParam, static_cast<WPARAM>(IDCANCEL));

    // The title raises the calendar when clicked and reports the mouse;
    // a right click anywhere asks for the menu without a date.
    SendMessageA(dialog->Item(IDC_CAL_TITLE), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    SendMessageA(dialog->Item(IDC_CAL_TITLE), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(dialog->Seen(kMsgCalendarMouseMove).size(), 1u);
    EXPECT_EQ(dialog->Seen(kMsgCalendarRaise).size(), 1u);
    SendMessageA(dialog->Item(IDC_CAL_NEXT_YEAR), WM_RBUTTONUP, 0, MAKELPARAM(1, 1));
    SendMessageA(dialog->Item(IDC_CAL_WEEKDAY + 2), WM_RBUTTONUP, 0, MAKELPARAM(1, 1));
    ASSERT_EQ(dialog->Seen(kMsgCalendarContextMenu).size(), 2u);
    EXPECT_EQ(dialog->Seen(kMsgCalendarContextMenu)[0].wParam, 0u);

    // A transparent arrow asks for its background only when told to repaint
    // it; an ordinary erase leaves the face to the painting.
    dialog->Forget();
    HDC dc = GetDC(previousMonth);
    SendMessageA(previousMonth, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(previousMonth, dc);
    EXPECT_TRUE(dialog->Seen(kMsgPaintButtonBackground).empty());
    SendMessageA(previousMonth, kMsgRepaintButtonBackground, 0, 20);
    EXPECT_EQ(dialog->Seen(kMsgPaintButtonBackground).size(), 1u);
}

TEST_F(DrawnControlsTest, ATitleOfAnotherMonthOffersTheCurrentOne)
{
    dialog.reset();
    style.monthOnTheLeft = 5;
    dialog = std::make_unique<CalendarDialog>(style, main);
    EXPECT_FALSE(dialog->Main().ShowsCurrentMonth());
    EXPECT_STREQ(dialog->Main().TitleButton().GetTooltipText(), "Re-display current month");

    // A label's tip: an empty text takes it off its tooltip, a text puts it back.
    CDrawnLabel& title = dialog->Second().Title();
    title.SetTooltipText("Notes of April");
    EXPECT_TRUE(title.IsTooltipRegistered());
    title.SetTooltipText("");
    EXPECT_FALSE(title.IsTooltipRegistered());
    title.SetTooltipText("Notes of April");
    EXPECT_TRUE(title.IsTooltipRegistered());
    EXPECT_STREQ(title.GetTooltipText(), "Notes of April");

    // A static whose face the calendar paints asks for it on every paint.
    CParentPaintedStatic face(dialog->Window(), IDC_CAL_FILTER_LABEL);
    dialog->Forget();
    RedrawWindow(face.GetWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(dialog->Seen(kMsgPaintStaticFace).size(), 1u);
}

TEST_F(DrawnControlsTest, AMissingItemIsReportedAndTheRestGoesOn)
{
    MessageBoxRecorder boxes;
    CDayButton cell;
    cell.Attach(dialog->Window(), 9990);
    CDrawnLabel label;
    label.Attach(dialog->Window(), 9991);
    CDlgDrawnFrame frame;
    frame.Attach(dialog->Window(), 9992);
    CDrawnButton year(dialog->Window(), 9993, CDrawnButton::kYearArrow);
    CDrawnButton month(dialog->Window(), 9994, CDrawnButton::kMonthArrow);
    CTodayButton today(dialog->Window(), 9995);
    const char* expected[] = {"could not create day button",      "cannot create the drawnLabel",
                              "cannot create CDlgDrawnFrame button", "cannot create ChangeYear button",
                              "cannot create ChangeMonth button",   "cannot create Today button"};
    ASSERT_EQ(boxes.Count(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(boxes.Boxes()[i].text, expected[i]);
        EXPECT_EQ(boxes.Boxes()[i].caption, ProgramTitle);
    }
    EXPECT_EQ(cell.GetWindow(), nullptr);
    EXPECT_EQ(SendMessageA(dialog->Item(IDC_CAL_DAY), kMsgIsEmptyDayCell, 0, 0), 0);
}

TEST_F(DrawnControlsTest, OneMonthAsTheUserSeesIt)
{
    HWND window = dialog->Window();
    ASSERT_TRUE(SaveScreenshotOf(window, "calendar-march-2026"));
    auto cellWindow = [&](int day) { return dialog->CellOfDay(day).GetWindow(); };
    RECT today;
    GetClientRect(cellWindow(10), &today);
    // Today's frame is red all round.
    EXPECT_EQ(PixelAt(cellWindow(10), 0, today.bottom / 2), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(cellWindow(10), today.right / 2, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(cellWindow(10), today.right - 1, today.bottom / 2), RGB(255, 0, 0));
    // The alarm day is shaded; an ordinary day shows the calendar's
    // background through it.
    EXPECT_EQ(PixelAt(cellWindow(14), 2, 2), style.daysWithAlarmShadeColor);
    EXPECT_EQ(PixelAt(cellWindow(11), 2, 2), CalendarDialog::kBackground);
    // Days of this month are black, February's are in the tint of black.
    HWND february = dialog->Main().Cell(0).GetWindow();
    EXPECT_GT(CountInside(cellWindow(11), RGB(0, 0, 0)), 0);
    EXPECT_GT(CountInside(february, RGB(0xA0, 0xA0, 0xA0)), 0);
    EXPECT_EQ(CountInside(february, RGB(0, 0, 0)), 0);
    // The grid lines are in the tint too.
    RECT cell;
    GetClientRect(cellWindow(11), &cell);
    EXPECT_EQ(PixelAt(cellWindow(11), cell.right - 1, cell.bottom / 2), RGB(0xA0, 0xA0, 0xA0));
}
