// The calendar window made by this test program over its own data folder,
// with the clock set by the test: today's date in the title, the months that
// follow the date across midnight, and the moves of the first month.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "CalendarDialog.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarSettingsFile.h"
#include "calendar/CalendarWindow.h"
#include "calendar/CalendarWnd.h"
#include "foundation/Clock.h"
#include "shell/ProgramGlobals.h"
#include "support/InFolder.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
SYSTEMTIME Moment(WORD day, WORD month, WORD year, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    FILETIME file;
    SystemTimeToFileTime(&time, &file);
    FileTimeToSystemTime(&file, &time);  // the day of the week
    return time;
}

std::string LongDate(const SYSTEMTIME& time)
{
    char text[128] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, text, sizeof text);
    return text;
}

class CalendarWindowTest : public InFolder {
protected:
    void SetUp() override { SetClock(Moment(31, 5, 2027, 23, 59, 58)); }
    void TearDown() override
    {
        if (HWND calendar = GetCalendarWindow())
            DestroyWindow(calendar);
        SetClockOverride(nullptr);
        RemoveAllCalendarOptions();
        RemoveAllCalendarStyleSets();
    }
    void SetClock(const SYSTEMTIME& time)
    {
        m_now = time;
        SetClockOverride(&m_now);
    }
    // The calendar of the standard options, as a first start opens it.
    HWND Open()
    {
        BuildDefaultCalendarStyles(UserSettings().userId);
        LoadCalendarOptions();
        LoadCalendarStyles();
        HWND calendar = CreateCalendarWindow(nullptr, true);
        EXPECT_NE(calendar, nullptr);
        return calendar;
    }
    CCalendarWnd& Calendar() { return *CCalendarWnd::FromWindow(GetCalendarWindow()); }

    MainWindowStandIn m_main;
    SYSTEMTIME m_now = {};
};
}

TEST_F(CalendarWindowTest, AtMidnightTheTitleAndTheMonthFollowTheDate)
{
    HWND calendar = Open();
    ASSERT_NE(calendar, nullptr);
    char title[128] = "";
    GetWindowTextA(calendar, title, sizeof title);
    EXPECT_EQ(title, LongDate(m_now));
    EXPECT_EQ(Calendar().MainGrid().GetMonth(), 5);
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-in-test-program"));

    SetClock(Moment(1, 6, 2027, 0, 0, 3));
    ASSERT_TRUE(WaitUntil([&] { return Calendar().MainGrid().GetMonth() == 6; }, 20000));
    EXPECT_EQ(Calendar().MainGrid().GetYear(), 2027);
    GetWindowTextA(calendar, title, sizeof title);
    EXPECT_EQ(title, LongDate(m_now));
    EXPECT_EQ(ReadWindowText(GetDlgItem(calendar, 1166)), "June 2027");
}

TEST_F(CalendarWindowTest, DISABLED_Look)
{
    HWND calendar = Open();
    SendMessageA(calendar, WM_COMMAND, 4458, 0);
    EXPECT_TRUE(SaveScreenshotOf(calendar, "look-four"));
    SendMessageA(calendar, WM_COMMAND, 4457, 0);
    EXPECT_TRUE(SaveScreenshotOf(calendar, "look-three"));
}
