// The user's calendar styles applied to the running program's calendar by
// Alt+1 to Alt+9: what they change shows at once, what they keep stays, and
// the calendar's system-wide hotkey follows the style.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "CalendarDriving.h"
#include "calendar/CalendarWindow.h"
#include "resources/ids/CalendarIds.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
// A point of the caption strip left of today's date, where only the strip's
// colour is painted.
COLORREF CaptionColour(HWND calendar)
{
    RECT window;
    GetWindowRect(calendar, &window);
    return ScreenPixel(POINT{window.left + 8, window.top + 5});
}

// The first month's cells that show no day.
int EmptyCells(HWND calendar)
{
    int empty = 0;
    for (int index = 0; index < 42; ++index) {
        LRESULT answer = 0;
        if (SendWithTimeout(GetDlgItem(calendar, IDC_CAL_DAY + index), 0x80AE, 0, 0, &answer) && answer)
            ++empty;
    }
    return empty;
}

int DaysInThisMonth()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (now.wYear % 4 == 0 && now.wYear % 100 != 0) || now.wYear % 400 == 0;
    return days[now.wMonth - 1] + (now.wMonth == 2 && leap ? 1 : 0);
}

bool PressAltDigit(HWND calendar, char digit)
{
    return SendWithTimeout(calendar, WM_SYSKEYDOWN, static_cast<WPARAM>(digit), 1 << 29);
}

// Whether this process could take the combination as its own hotkey: it can
// when no other program holds it. It is given back at once.
bool CombinationIsFree(UINT modifiers, UINT key)
{
    const int probe = 0x3FF0;
    if (!RegisterHotKey(nullptr, probe, modifiers, key))
        return false;
    UnregisterHotKey(nullptr, probe);
    return true;
}

CalendarFile SavedFile(const ProgramInstall& install, HWND calendar)
{
    SendWithTimeout(calendar, kMsgCalendarSettingsChanged, 0, 0);
    return CalendarFile(install.File("calendar.QPD"));
}
}

TEST(CalendarStyles, AltDigitAppliesAStyleAtOnceKeepingMonthsAndFirstDayAndMovesTheHotkey)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    FirstCalendarFile(install);
    // The fifth style takes the calendar's hotkey to Ctrl+Alt+K.
    std::string text = ReadWholeFile(install.File("calendar.QPD"));
    text = WithElement(text, "hotkeyCtrl", "1", 2 + 4);
    text = WithElement(text, "hotkeyShift", "0", 2 + 4);
    text = WithElement(text, "hotkeyKey", "75", 2 + 4);
    WriteWholeFile(install.File("calendar.QPD"), text);

    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    ASSERT_TRUE(SendWithTimeout(calendar, WM_COMMAND, IDM_CAL_THREE_MONTHS, 0));
    const CalendarFile before = SavedFile(install, calendar);
    ASSERT_EQ(before.Option(1, "showOtherDays"), "1");
    const int emptyWithOtherDays = EmptyCells(calendar);
    EXPECT_LE(emptyWithOtherDays, 7) << "the neighbouring months fill the rows";
    EXPECT_FALSE(CombinationIsFree(MOD_ALT | MOD_SHIFT, 'T')) << "the calendar's hotkey is the program's";

    // Alt+3: the third standard style, its red caption and no days of the
    // neighbouring months, shown at once.
    ASSERT_TRUE(PressAltDigit(calendar, '3'));
    EXPECT_EQ(EmptyCells(calendar), 42 - DaysInThisMonth());
    ASSERT_TRUE(SaveScreenshotOf(calendar, "calendar-style-3"));
    EXPECT_EQ(CaptionColour(calendar), RGB(225, 0, 0));
    const CalendarFile third = SavedFile(install, calendar);
    EXPECT_EQ(third.Option(1, "dialogTitleBackColor"), "225");
    EXPECT_EQ(third.Option(1, "showOtherDays"), "0");
    EXPECT_EQ(third.Option(1, "showGrid"), "0");
    for (const char* kept : {"nrOfMonthsToShow", "firstDayOfWeek", "automaticResizing", "monthOnTheLeft"})
        EXPECT_EQ(third.Option(1, kept), before.Option(1, kept)) << kept;
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(calendar, IDC_CAL3_TITLE)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(calendar, IDC_CAL4_TITLE)));

    // Alt+0 is no style.
    ASSERT_TRUE(PressAltDigit(calendar, '0'));
    EXPECT_EQ(SavedFile(install, calendar).Text(), third.Text());

    // Alt+2 brings the days of the other months back.
    ASSERT_TRUE(PressAltDigit(calendar, '2'));
    EXPECT_EQ(EmptyCells(calendar), emptyWithOtherDays);

    // Alt+5: the style's own hotkey; the old combination is free for others.
    ASSERT_TRUE(PressAltDigit(calendar, '5'));
    EXPECT_TRUE(CombinationIsFree(MOD_ALT | MOD_SHIFT, 'T'));
    EXPECT_FALSE(CombinationIsFree(MOD_CONTROL | MOD_ALT, 'K'));
    EXPECT_EQ(SavedFile(install, calendar).Option(1, "hotkeyKey"), "75");
    CloseProgram(install, program);
}
