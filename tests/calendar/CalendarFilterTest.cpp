// The "Notes containing:" bar of the running program's calendar: typing a
// word leaves only the days whose alarm notes hold it marked, at once; Esc
// brings every mark back; a bar of blanks only closes.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "CalendarDriving.h"
#include "calendar/CalendarWindow.h"
#include "foundation/DateTime.h"
#include "note/NoteController.h"
#include "resources/ids/CalendarIds.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
void StoreAlarmNote(const char* text, LONG left, const CDateTime& alarm)
{
    CNoteController note;
    FillTestNote(note, text, left, 300);
    note.m_hidden = true;
    note.m_alarmSet = true;
    note.m_alarm = alarm;
    SaveNote(note);
}

bool Settled(HWND calendar)
{
    return SendWithTimeout(calendar, WM_NULL, 0, 0);
}

LONG WidthOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

// Two hidden notes with alarms next month: on the 10th and on the 12th.
void StoreTwoAlarmNotes(const ProgramInstall& install)
{
    const SYSTEMTIME month = FirstOfNextMonth();
    CurrentFolder data(install.Path());
    NotesFreeSlots().Clear();
    StoreAlarmNote("Dentist appointment", 300, CDateTime(10, month.wMonth, month.wYear, 9, 30));
    StoreAlarmNote("Piano lesson", 560, CDateTime(12, month.wMonth, month.wYear, 17, 0));
}
}

TEST(CalendarFilter, ATypedWordLeavesOnlyItsDaysMarkedAndEscBringsThemBack)
{
    // The bar follows the mouse messages given here, not a pointer left on
    // the calendar's days by an earlier test.
    MovePointerAwayFromCalendar();
    ProgramInstall install;
    install.AddInstalledDataFiles();
    StoreTwoAlarmNotes(install);
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    ASSERT_TRUE(SendWithTimeout(calendar, WM_KEYDOWN, VK_NEXT, 0));
    ASSERT_TRUE(SendWithTimeout(calendar, kMsgCalendarSettingsChanged, 0, 0));
    const int firstDay = CalendarFile(install.File("calendar.QPD")).OptionNumber(1, "firstDayOfWeek");
    HWND dentist = NextMonthDayCell(calendar, 10, firstDay);
    HWND piano = NextMonthDayCell(calendar, 12, firstDay);
    ASSERT_TRUE(Settled(calendar));
    ASSERT_TRUE(SaveScreenshotOf(calendar, "calendar-two-alarm-days"));
    ASSERT_TRUE(ShowsAlarmShade(dentist));
    ASSERT_TRUE(ShowsAlarmShade(piano));
    EXPECT_FALSE(ShowsAlarmShade(NextMonthDayCell(calendar, 11, firstDay)));

    // The mouse over the strip above the month opens the bar.
    SetForegroundWindow(calendar);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == calendar; }));
    HWND edit = GetDlgItem(calendar, IDC_CAL_FILTER_EDIT);
    ASSERT_TRUE(SendWithTimeout(calendar, WM_MOUSEMOVE, 0, MAKELPARAM(40, 3)));
    ASSERT_TRUE(IsWindowVisible(edit));
    EXPECT_GT(WidthOf(edit), 20);

    // A word of one note: only its day keeps the mark, at once.
    ASSERT_TRUE(SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(" piano ")));
    ASSERT_TRUE(Settled(calendar));
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-filter-bar"));
    EXPECT_FALSE(ShowsAlarmShade(dentist));
    EXPECT_TRUE(ShowsAlarmShade(piano));
    // A filter keeps the bar when the mouse leaves it.
    RECT client;
    GetClientRect(calendar, &client);
    ASSERT_TRUE(SendWithTimeout(calendar, WM_MOUSEMOVE, 0, MAKELPARAM(5, client.bottom - 5)));
    EXPECT_GT(WidthOf(edit), 20);

    // Esc in the edit: the filter goes, the bar closes, both days are marked.
    ASSERT_TRUE(SendWithTimeout(calendar, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE));
    ASSERT_TRUE(SendWithTimeout(edit, WM_CHAR, VK_ESCAPE, 1));
    ASSERT_TRUE(WaitUntil([&] { return WidthOf(edit) == 0; }));
    EXPECT_EQ(ReadWindowText(edit), "");
    ASSERT_TRUE(Settled(calendar));
    EXPECT_TRUE(ShowsAlarmShade(dentist));
    EXPECT_TRUE(ShowsAlarmShade(piano));

    // Blanks only: the bar closes as the mouse leaves, and the marks stay.
    ASSERT_TRUE(SendWithTimeout(calendar, WM_MOUSEMOVE, 0, MAKELPARAM(40, 3)));
    ASSERT_GT(WidthOf(edit), 20);
    ASSERT_TRUE(SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("   ")));
    ASSERT_TRUE(SendWithTimeout(calendar, WM_MOUSEMOVE, 0, MAKELPARAM(5, client.bottom - 5)));
    EXPECT_EQ(WidthOf(edit), 0);
    ASSERT_TRUE(Settled(calendar));
    EXPECT_TRUE(ShowsAlarmShade(dentist));
    EXPECT_TRUE(ShowsAlarmShade(piano));
    CloseProgram(install, program);
}

TEST(CalendarFilter, AStyleThatMarksAlarmDaysAgainShowsTheMarksAtOnce)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    StoreTwoAlarmNotes(install);
    FirstCalendarFile(install);
    // The fifth style marks no alarm day at all.
    std::string text = ReadWholeFile(install.File("calendar.QPD"));
    for (const char* mark : {"daysWithAlarmBold", "daysWithAlarmUnderline", "daysWithAlarmIsShade"})
        text = WithElement(text, mark, "0", 2 + 4);
    WriteWholeFile(install.File("calendar.QPD"), text);
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    ASSERT_TRUE(SendWithTimeout(calendar, WM_KEYDOWN, VK_NEXT, 0));
    ASSERT_TRUE(SendWithTimeout(calendar, kMsgCalendarSettingsChanged, 0, 0));
    const int firstDay = CalendarFile(install.File("calendar.QPD")).OptionNumber(1, "firstDayOfWeek");
    HWND dentist = NextMonthDayCell(calendar, 10, firstDay);
    ASSERT_TRUE(SaveScreenshotOf(calendar, "calendar-marks"));
    ASSERT_TRUE(ShowsAlarmShade(dentist));

    ASSERT_TRUE(SendWithTimeout(calendar, WM_SYSKEYDOWN, '5', 1 << 29));
    ASSERT_TRUE(SaveScreenshotOf(calendar, "calendar-no-marks"));
    EXPECT_FALSE(ShowsAlarmShade(dentist));
    // Back to the second style: the shade is there at once, the day asked again.
    ASSERT_TRUE(SendWithTimeout(calendar, WM_SYSKEYDOWN, '2', 1 << 29));
    ASSERT_TRUE(Settled(calendar));
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-marks-back"));
    EXPECT_TRUE(ShowsAlarmShade(dentist));
    CloseProgram(install, program);
}

TEST(CalendarFilter, ASeeThroughCalendarOpensItsBarWhenTheMouseRestsOverTheStrip)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    FirstCalendarFile(install);
    OpenAtNextStartWith(install, {{"backgroundType", "5"}});
    RunningProgram program(install, "");
    HWND calendar = WaitForCalendar(program.ProcessId());
    ASSERT_NE(calendar, nullptr);
    HWND edit = GetDlgItem(calendar, IDC_CAL_FILTER_EDIT);
    ASSERT_TRUE(Settled(calendar));
    EXPECT_FALSE(IsWindowVisible(edit));
    POINT strip = {40, 3};
    ClientToScreen(calendar, &strip);
    SetCursorPos(strip.x, strip.y);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(edit) && WidthOf(edit) > 20; }));
    SetCursorPos(0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(edit); }));
    CloseProgram(install, program);
}
