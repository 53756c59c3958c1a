// What the day cells of a month tell the main window and the calendar when
// they are clicked, and how the keys move between them.
#include <windows.h>

#include <gtest/gtest.h>

#include "CalendarDialog.h"
#include "calendar/controls/CalendarMessages.h"
#include "resources/ids/CalendarIds.h"
#include "support/ProgramDriver.h"

namespace {
class DayCellTest : public testing::Test {
protected:
    DayCellTest()
    {
        // The real pointer stays away from the calendar: the test moves the mouse.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5);
        main.SetAlarmDays({20260314});
        dialog.ShowMonth(3, 2026, false, true);
    }

    // The mouse as a user clicks: down and up, and for a double click the
    // second press as the system reports it.
    void Click(const CDayButton& cell, bool twice = false)
    {
        HWND window = cell.GetWindow();
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        if (twice) {
            PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
            PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        }
        // The click is answered when the click timer has come and gone: once
        // the posted presses are handled, it runs until it fires (on a slow
        // machine it may already have fired while they were handled).
        PumpMessagesBriefly();
        EXPECT_TRUE(WaitUntil([&] { return cell.GetClickTimerPeriod() == 0; }));
    }
    // A key pressed on the cell that has the focus.
    void Press(const CDayButton& cell, UINT message, WPARAM key)
    {
        SetFocus(cell.GetWindow());
        SendMessageA(cell.GetWindow(), message, key, 0);
    }
    bool FocusReaches(HWND window)
    {
        return WaitUntil([&] { return GetFocus() == window; });
    }

    MainWindowStandIn main;
    CCalendarStyle style = TestCalendarStyle(11);
    CalendarDialog dialog{style, main};
};
}

TEST_F(DayCellTest, AClickOnAnAlarmDayAsksForItsNotesByValueAndADoubleClickForANewNote)
{
    // Every day of the first month was asked about once, at its first paint.
    int asked = 0;
    for (const SeenMessage& seen : main.Seen(kMsgHasAlarmOnDate))
        asked += seen.year == 2026 && seen.month == 3 && seen.day == 14;
    EXPECT_EQ(asked, 1);
    CDayButton& alarmDay = dialog.CellOfDay(14);
    EXPECT_TRUE(alarmDay.IsAlarmDay());
    EXPECT_FALSE(dialog.CellOfDay(15).IsAlarmDay());
    main.Forget();
    dialog.Repaint();
    EXPECT_TRUE(main.Seen(kMsgHasAlarmOnDate).empty()) << "answers are kept until asked for again";
    dialog.Main().RefreshAlarmDays(true);
    EXPECT_EQ(main.Seen(kMsgHasAlarmOnDate).size(), 42u);

    // One click: the Note Manager request is posted with the date as a
    // number, before the calendar is told to come forward.
    main.Forget();
    Click(alarmDay);
    ASSERT_EQ(dialog.Seen(kMsgCalendarRaise).size(), 1u);
    EXPECT_TRUE(dialog.Seen(kMsgCalendarRaise)[0].noteManagerQueued);
    ASSERT_TRUE(WaitUntil([&] { return main.Seen(kMsgOpenNoteManager).size() == 1; }));
    EXPECT_EQ(main.Seen(kMsgOpenNoteManager)[0].lParam, 20260314);
    EXPECT_TRUE(main.Seen(kMsgNewAlarmNote).empty());

    // A day without alarm notes only raises the calendar.
    dialog.Forget();
    main.Forget();
    Click(dialog.CellOfDay(15));
    EXPECT_EQ(dialog.Seen(kMsgCalendarRaise).size(), 1u);
    PumpMessagesBriefly();
    EXPECT_TRUE(main.Seen(kMsgOpenNoteManager).empty());

    // A double click asks only for a new alarm note on the day.
    dialog.Forget();
    Click(alarmDay, true);
    ASSERT_EQ(main.Seen(kMsgNewAlarmNote).size(), 1u);
    EXPECT_EQ(main.Seen(kMsgNewAlarmNote)[0].day, 14);
    EXPECT_EQ(main.Seen(kMsgNewAlarmNote)[0].month, 3);
    EXPECT_EQ(main.Seen(kMsgNewAlarmNote)[0].year, 2026);
    PumpMessagesBriefly();
    EXPECT_TRUE(main.Seen(kMsgOpenNoteManager).empty());
    EXPECT_TRUE(dialog.Seen(kMsgCalendarRaise).empty());

    // An empty cell has no date: its double click asks for nothing.
    dialog.ShowMonth(3, 2026, false, false);
    main.Forget();
    Click(dialog.Main().Cell(0), true);
    EXPECT_TRUE(main.Seen(kMsgNewAlarmNote).empty());

    // Enter on an alarm day, Ctrl+Enter on any day; not on an empty cell.
    SendMessageA(dialog.CellOfDay(14).GetWindow(), WM_CHAR, '\r', 0);
    {
        HeldKey control(VK_CONTROL);
        SendMessageA(dialog.CellOfDay(20).GetWindow(), WM_CHAR, '\n', 0);
        SendMessageA(dialog.Main().Cell(1).GetWindow(), WM_CHAR, '\n', 0);
    }
    ASSERT_TRUE(WaitUntil([&] { return main.Seen(kMsgOpenNoteManager).size() == 1; }));
    EXPECT_EQ(main.Seen(kMsgOpenNoteManager)[0].lParam, 20260314);
    ASSERT_EQ(main.Seen(kMsgNewAlarmNote).size(), 1u);
    EXPECT_EQ(main.Seen(kMsgNewAlarmNote)[0].day, 20);
}

TEST_F(DayCellTest, WithoutAlarmMarksNoDayIsAsked)
{
    style.daysWithAlarmBold = style.daysWithAlarmUnderline = style.daysWithAlarmIsShade = 0;
    dialog.Main().ApplyStyle(style, style.daysFont.font, style.daysFontSmaller.font);
    main.Forget();
    dialog.Main().RefreshAlarmDays(true);
    EXPECT_TRUE(main.Seen(kMsgHasAlarmOnDate).empty());
    EXPECT_FALSE(dialog.CellOfDay(14).IsAlarmDay());
    Click(dialog.CellOfDay(14));
    PumpMessagesBriefly();
    EXPECT_TRUE(main.Seen(kMsgOpenNoteManager).empty());
}

TEST_F(DayCellTest, AClickWindowOfHalfASecondOrMoreIsShortened)
{
    // The system's setting back for the tests after this one, also when one
    // of these checks ends the test.
    struct DoubleClickTimeKept {
        const UINT original = GetDoubleClickTime();
        ~DoubleClickTimeKept() { SetDoubleClickTime(original); }
    } kept;
    for (UINT time : {500u, 499u, 700u}) {
        SetDoubleClickTime(time);
        CDayButton& cell = dialog.CellOfDay(2);
        PostMessageA(cell.GetWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        ASSERT_TRUE(WaitUntil([&] { return cell.GetClickTimerPeriod() != 0; }));
        EXPECT_EQ(cell.GetClickTimerPeriod(), time >= 500 ? 200u : time);
        PostMessageA(cell.GetWindow(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        EXPECT_TRUE(WaitUntil([&] { return cell.GetClickTimerPeriod() == 0; }));
    }
}

TEST_F(DayCellTest, MouseAndTipsOfLiveCells)
{
    // Right click: the menu for the day, at the point in the calendar.
    CDayButton& alarmDay = dialog.CellOfDay(14);
    SendMessageA(alarmDay.GetWindow(), WM_RBUTTONUP, 0, MAKELPARAM(3, 4));
    ASSERT_EQ(dialog.Seen(kMsgCalendarContextMenu).size(), 1u);
    const SeenMessage menu = dialog.Seen(kMsgCalendarContextMenu)[0];
    EXPECT_EQ(menu.day, 14);
    EXPECT_EQ(menu.month, 3);
    POINT point = {3, 4};
    MapWindowPoints(alarmDay.GetWindow(), dialog.Window(), &point, 1);
    EXPECT_EQ(menu.lParam, MAKELPARAM(point.x, point.y));
    EXPECT_EQ(GetFocus(), alarmDay.GetWindow());

    // Ctrl+click is the calendar's own (its settings): the cell starts no click.
    SendMessageA(alarmDay.GetWindow(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(2, 5));
    ASSERT_TRUE(WaitUntil([&] { return dialog.Seen(WM_LBUTTONUP).size() == 1; }));
    EXPECT_EQ(dialog.Seen(WM_LBUTTONUP)[0].lParam, MAKELPARAM(2, 5));
    EXPECT_EQ(alarmDay.GetClickTimerPeriod(), 0u);

    // Moving over a cell tells the calendar and shows the cell's tip.
    SendMessageA(alarmDay.GetWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(dialog.Seen(kMsgCalendarMouseMove).size(), 1u);
    EXPECT_TRUE(alarmDay.IsHovering());
    EXPECT_STREQ(alarmDay.GetTooltipText(),
                 "Left click for details\r\nDouble click to create new alarm note\r\nRight click for menu");
    CDayButton& plainDay = dialog.CellOfDay(15);
    SendMessageA(plainDay.GetWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    EXPECT_STREQ(plainDay.GetTooltipText(), "Double click to create new alarm note\r\nRight click for menu");
    dialog.ShowMonth(3, 2026, false, false);
    CDayButton& empty = dialog.Main().Cell(0);
    EXPECT_EQ(SendMessageA(empty.GetWindow(), kMsgIsEmptyDayCell, 0, 0), 1);
    EXPECT_EQ(SendMessageA(dialog.CellOfDay(1).GetWindow(), kMsgIsEmptyDayCell, 0, 0), 0);
    SendMessageA(empty.GetWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    EXPECT_STREQ(empty.GetTooltipText(), "Right click for menu");
}

TEST_F(DayCellTest, KeysMoveByDateBetweenTheDaysAndTheArrowButtons)
{
    dialog.ShowMonth(3, 2026, false, false);
    // Tab from the last day goes to the first arrow, Shift+Tab from day 1 to
    // the last one.
    Press(dialog.CellOfDay(31), WM_CHAR, '\t');
    EXPECT_TRUE(FocusReaches(dialog.Item(IDC_CAL_PREV_YEAR)));
    {
        HeldKey shift(VK_SHIFT);
        Press(dialog.CellOfDay(1), WM_CHAR, '\t');
    }
    EXPECT_TRUE(FocusReaches(dialog.Item(IDC_CAL_NEXT_YEAR)));

    // Left on an empty cell hands the key on, marked, until a day takes it:
    // the last day itself, not the control before it.
    SendMessageA(dialog.Main().Cell(39).GetWindow(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_TRUE(FocusReaches(dialog.CellOfDay(31).GetWindow()));
    SendMessageA(dialog.Main().Cell(0).GetWindow(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_TRUE(FocusReaches(dialog.CellOfDay(1).GetWindow()));
    // An empty cell of the first row given the focus hands it to day 1.
    SetFocus(dialog.Main().Cell(2).GetWindow());
    EXPECT_TRUE(FocusReaches(dialog.CellOfDay(1).GetWindow()));

    // Up and down go by a week while the month lasts.
    SendMessageA(dialog.CellOfDay(3).GetWindow(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(FocusReaches(dialog.CellOfDay(10).GetWindow()));
    SendMessageA(dialog.CellOfDay(10).GetWindow(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_TRUE(FocusReaches(dialog.CellOfDay(3).GetWindow()));
    Press(dialog.CellOfDay(30), WM_KEYDOWN, VK_DOWN);
    EXPECT_TRUE(FocusReaches(dialog.CellOfDay(31).GetWindow()));

    // Other keys go on to the calendar; Esc closes it through its Cancel.
    SendMessageA(dialog.CellOfDay(5).GetWindow(), WM_KEYDOWN, VK_F5, 0);
    ASSERT_EQ(dialog.Seen(WM_KEYDOWN).size(), 1u);
    EXPECT_EQ(dialog.Seen(WM_KEYDOWN)[0].wParam, static_cast<WPARAM>(VK_F5));
    SendMessageA(dialog.CellOfDay(5).GetWindow(), WM_CHAR, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !dialog.Seen(WM_COMMAND).empty(); }));
    EXPECT_EQ(dialog.Seen(WM_COMMAND)[0].wParam, static_cast<WPARAM>(IDCANCEL));
    EXPECT_EQ(dialog.Seen(WM_COMMAND)[0].lParam, reinterpret_cast<LPARAM>(dialog.Item(IDCANCEL)));
}

TEST_F(DayCellTest, WithTheNeighbouringMonthsShownKeysMoveByCell)
{
    // 23 February leads March: Up from its row 1 leaves the grid, Down goes
    // a row lower; 5 April at the end of row 6 leaves it downward.
    CDayButton& first = dialog.Main().Cell(0);
    SendMessageA(first.GetWindow(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(FocusReaches(dialog.Main().Cell(7).GetWindow()));
    SendMessageA(dialog.Main().Cell(7).GetWindow(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_TRUE(FocusReaches(first.GetWindow()));
    Press(dialog.Main().Cell(41), WM_KEYDOWN, VK_DOWN);
    EXPECT_TRUE(FocusReaches(dialog.Second().Cell(0).GetWindow()));
}
