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
// The standard calendar shades the days that hold alarm notes in this colour.
const COLORREF kAlarmShade = 0xFFDAB9;

void StoreAlarmNote(const char* text, LONG left, const CDateTime& alarm)
{
    CNoteController note;
    FillTestNote(note, text, left, 300);
    note.m_hidden = true;
    note.m_alarmSet = true;
    note.m_alarm = alarm;
    SaveNote(note);
}

// The first day of the month after this one.
SYSTEMTIME NextMonth()
{
    SYSTEMTIME day;
    GetLocalTime(&day);
    day.wDay = 1;
    day.wMonth = day.wMonth == 12 ? 1 : day.wMonth + 1;
    if (day.wMonth == 1)
        ++day.wYear;
    FILETIME time;
    SystemTimeToFileTime(&day, &time);
    FileTimeToSystemTime(&time, &day);
    return day;
}

// The first month's cell of the day of next month.
HWND CellOfDay(HWND calendar, int day, int firstDayOfWeek)
{
    const int weekday = NextMonth().wDayOfWeek;  // 0 = Sunday
    const int column = firstDayOfWeek == 6 ? weekday : (weekday + 6) % 7;
    return GetDlgItem(calendar, IDC_CAL_DAY + column + day - 1);
}

// The cell shows the shade of an alarm day.
bool Shaded(HWND cell)
{
    RECT rect;
    GetWindowRect(cell, &rect);
    int shaded = 0;
    for (COLORREF pixel : ScreenPixels(rect))
        shaded += pixel == kAlarmShade ? 1 : 0;
    return shaded > 20;
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
    const SYSTEMTIME month = NextMonth();
    CurrentFolder data(install.Path());
    NotesFreeSlots().Clear();
    StoreAlarmNote("Dentist appointment", 300, CDateTime(10, month.wMonth, month.wYear, 9, 30));
    StoreAlarmNote("Piano lesson", 560, CDateTime(12, month.wMonth, month.wYear, 17, 0));
}
}

TEST(CalendarFilter, ATypedWordLeavesOnlyItsDaysMarkedAndEscBringsThemBack)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    StoreTwoAlarmNotes(install);
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    ASSERT_TRUE(SendWithTimeout(calendar, WM_KEYDOWN, VK_NEXT, 0));
    ASSERT_TRUE(SendWithTimeout(calendar, kMsgCalendarSettingsChanged, 0, 0));
    const int firstDay = CalendarFile(install.File("calendar.QPD")).OptionNumber(1, "firstDayOfWeek");
    HWND dentist = CellOfDay(calendar, 10, firstDay);
    HWND piano = CellOfDay(calendar, 12, firstDay);
    ASSERT_TRUE(Settled(calendar));
    ASSERT_TRUE(SaveScreenshotOf(calendar, "calendar-two-alarm-days"));
    ASSERT_TRUE(Shaded(dentist));
    ASSERT_TRUE(Shaded(piano));
    EXPECT_FALSE(Shaded(CellOfDay(calendar, 11, firstDay)));

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
    EXPECT_FALSE(Shaded(dentist));
    EXPECT_TRUE(Shaded(piano));
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
    EXPECT_TRUE(Shaded(dentist));
    EXPECT_TRUE(Shaded(piano));

    // Blanks only: the bar closes as the mouse leaves, and the marks stay.
    ASSERT_TRUE(SendWithTimeout(calendar, WM_MOUSEMOVE, 0, MAKELPARAM(40, 3)));
    ASSERT_GT(WidthOf(edit), 20);
    ASSERT_TRUE(SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("   ")));
    ASSERT_TRUE(SendWithTimeout(calendar, WM_MOUSEMOVE, 0, MAKELPARAM(5, client.bottom - 5)));
    EXPECT_EQ(WidthOf(edit), 0);
    ASSERT_TRUE(Settled(calendar));
    EXPECT_TRUE(Shaded(dentist));
    EXPECT_TRUE(Shaded(piano));
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
    HWND dentist = CellOfDay(calendar, 10, firstDay);
    ASSERT_TRUE(SaveScreenshotOf(calendar, "calendar-marks"));
    ASSERT_TRUE(Shaded(dentist));

    ASSERT_TRUE(SendWithTimeout(calendar, WM_SYSKEYDOWN, '5', 1 << 29));
    ASSERT_TRUE(SaveScreenshotOf(calendar, "calendar-no-marks"));
    EXPECT_FALSE(Shaded(dentist));
    // Back to the second style: the shade is there at once, the day asked again.
    ASSERT_TRUE(SendWithTimeout(calendar, WM_SYSKEYDOWN, '2', 1 << 29));
    ASSERT_TRUE(Settled(calendar));
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-marks-back"));
    EXPECT_TRUE(Shaded(dentist));
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
