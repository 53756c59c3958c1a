// The calendar window of the running program, driven from outside as a user
// meets it: opened from the tray menu's command, closed by its keys, opened
// again at start when it was left open, and its settings file.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "CalendarDriving.h"
#include "resources/ids/CalendarIds.h"
#include "resources/ids/TrayMenuIds.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
std::string MonthTitleOf(const SYSTEMTIME& day)
{
    char text[64] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &day, "MMMM yyyy", text, sizeof text);
    return text;
}

std::string CurrentMonthTitle()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return MonthTitleOf(now);
}

std::string NextMonthTitle()
{
    SYSTEMTIME day;
    GetLocalTime(&day);
    day.wDay = 1;
    day.wMonth = day.wMonth == 12 ? 1 : day.wMonth + 1;
    if (day.wMonth == 1)
        ++day.wYear;
    return MonthTitleOf(day);
}

HWND OpenCalendar(const RunningProgram& program)
{
    HWND main = WaitForMainWindow(program);
    if (!main || !SendWithTimeout(main, WM_COMMAND, ID_TRAY_CALENDAR, 0))
        return nullptr;
    return WaitForCalendar(program.ProcessId());
}
}

TEST(CalendarProgram, OpensOnceClosesByItsKeysAndReopensWhenLeftOpen)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    {
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, ID_TRAY_CALENDAR, 0));
        ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, ID_TRAY_CALENDAR, 0));
        HWND calendar = WaitForCalendar(program.ProcessId());
        ASSERT_NE(calendar, nullptr);
        EXPECT_EQ(CountCalendars(program.ProcessId()), 1);
        EXPECT_EQ(MonthTitle(calendar, IDC_CAL_TITLE), CurrentMonthTitle());
        EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-opened"));

        // Alt+F4 leaves it open: the next key still reaches it.
        SetForegroundWindow(calendar);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == calendar; }));
        PressKeys({VK_MENU, VK_F4});
        PressKeys({VK_NEXT});
        EXPECT_TRUE(WaitUntil([&] { return MonthTitle(calendar, IDC_CAL_TITLE) == NextMonthTitle(); }));
        EXPECT_TRUE(IsWindow(calendar));
        PressKeys({VK_CONTROL, VK_F4});
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(calendar); }));
        CloseProgram(install, program);
    }
    CalendarFile first(install.File("calendar.QPD"));
    ASSERT_TRUE(first.IsReadable()) << first.Text();
    EXPECT_EQ(first.Option(1, "visible"), "0");
    {
        // Closed by hand, it stays closed.
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        EXPECT_EQ(CountCalendars(program.ProcessId()), 0);
        HWND calendar = OpenCalendar(program);
        ASSERT_NE(calendar, nullptr);
        SetForegroundWindow(calendar);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == calendar; }));
        PressKeys({VK_CONTROL, 'H'});
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(calendar); }));
        ASSERT_NE(OpenCalendar(program), nullptr);
        // Left open as the program ends, it opens again at the next start.
        CloseProgram(install, program);
    }
    EXPECT_EQ(CalendarFile(install.File("calendar.QPD")).Option(1, "visible"), "1");
    RunningProgram program(install, "");
    EXPECT_NE(WaitForCalendar(program.ProcessId()), nullptr);
    CloseProgram(install, program);
}
