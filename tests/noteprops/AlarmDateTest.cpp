// The Alarm page's date as the user reads it in the real program: the date
// picker shows its date as the system writes "ddd, MMM dd, yyyy", with the
// alarm on (the note's date, a date picked in another month) and off (the
// date it shows then, and the one proposed when the alarm is ticked).
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "noteprops/NoteSheetDriving.h"
#include "resources/ids/NoteSettingsIds.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
std::string SystemDateText(const SYSTEMTIME& date)
{
    char text[64] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &date, "ddd, MMM dd, yyyy", text, sizeof text);
    return text;
}

SYSTEMTIME Day(WORD year, WORD month, WORD day)
{
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    return date;
}

// The day it is now, or will be in that many minutes.
SYSTEMTIME DayInMinutes(int minutes)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME asFileTime{};
    SystemTimeToFileTime(&now, &asFileTime);
    ULARGE_INTEGER ticks{{asFileTime.dwLowDateTime, asFileTime.dwHighDateTime}};
    ticks.QuadPart += static_cast<ULONGLONG>(minutes) * 60 * 10000000;
    asFileTime = {ticks.LowPart, ticks.HighPart};
    FileTimeToSystemTime(&asFileTime, &now);
    return Day(now.wYear, now.wMonth, now.wDay);
}

void ClickAt(HWND window, int x, int y)
{
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// The month calendar that the date picker's button drops down; null when it
// did not show.
HWND DropDownMonth(HWND picker, DWORD process)
{
    const RECT box = RectOf(picker);
    ClickAt(picker, box.right - box.left - 8, (box.bottom - box.top) / 2);
    HWND month = nullptr;
    WaitUntil([&] {
        const std::vector<HWND> shown = TopWindowsOf(process, "SysMonthCal32");
        month = shown.empty() ? nullptr : shown[0];
        return month && IsWindowVisible(month);
    });
    return month && IsWindowVisible(month) ? month : nullptr;
}

// The sheet on the note's Alarm page, with its date picker.
struct AlarmSheet {
    HWND sheet = nullptr;
    HWND page = nullptr;
    HWND date = nullptr;
};

AlarmSheet OpenAlarm(HWND note, DWORD process)
{
    AlarmSheet open;
    PostMessageA(note, WM_COMMAND, kNoteCmdEditAlarm, 0);
    open.page = OpenAlarmPage(process, open.sheet);
    open.date = open.page ? GetDlgItem(open.page, IDC_ALARM_DATE) : nullptr;
    return open;
}
}

TEST(AlarmDate, ReadsAsTheSystemWritesItWithTheAlarmOnAndOff)
{
    ProgramInstall install("alarmdate");
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        CNoteController alarmed;
        FillTestNote(alarmed, "Dentist note", 60, 100);
        alarmed.m_alarmSet = true;
        alarmed.m_alarm = CDateTime(8, 12, 2026, 9, 15, 0);
        SaveNote(alarmed);
        CNoteController plain;
        FillTestNote(plain, "Plain note", 360, 100);
        SaveNote(plain);
    }
    // Without an alarm the page shows the date the note keeps.
    SYSTEMTIME kept{};
    {
        const StoredNoteList stored = LoadEveryNote(install.Path());
        const CNoteController* plain = StoredNoteTitled(stored, "Plain note");
        ASSERT_NE(plain, nullptr);
        plain->m_alarm.ToSystemTime(kept);
    }
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    ASSERT_NE(WaitForMainWindow(program), nullptr);

    // The alarm on: the note's date.
    HWND note = WaitForNoteWithText(process, "Dentist note");
    ASSERT_NE(note, nullptr);
    AlarmSheet open = OpenAlarm(note, process);
    ASSERT_NE(open.date, nullptr);
    EXPECT_EQ(ReadWindowText(open.date), SystemDateText(Day(2026, 12, 8)));
    EXPECT_TRUE(SaveScreenshotOf(open.sheet, "alarm-page-date-alarm-on"));
    // A day of the next month picked from the drop-down month: its right
    // arrow, then the Wednesday of the third row (where Wine's month calendar
    // draws them), 13 January 2027.
    HWND month = DropDownMonth(open.date, process);
    ASSERT_NE(month, nullptr);
    EXPECT_TRUE(SaveScreenshotOf(month, "alarm-page-month-drop-down"));
    const RECT calendar = RectOf(month);
    ClickAt(month, calendar.right - calendar.left - 20, 12);
    ClickAt(month, 111, 94);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(month); }));
    EXPECT_TRUE(WaitUntil([&] { return ReadWindowText(open.date) == SystemDateText(Day(2027, 1, 13)); }))
        << ReadWindowText(open.date);
    EXPECT_TRUE(SaveScreenshotOf(open.sheet, "alarm-page-date-picked"));
    ASSERT_TRUE(PressSheetButton(open.sheet, PSBTN_CANCEL));

    // The alarm off: the date the note keeps; ticked, the proposed one.
    HWND plain = WaitForNoteWithText(process, "Plain note");
    ASSERT_NE(plain, nullptr);
    open = OpenAlarm(plain, process);
    ASSERT_NE(open.date, nullptr);
    EXPECT_FALSE(IsWindowEnabled(open.date));
    EXPECT_EQ(ReadWindowText(open.date), SystemDateText(kept));
    EXPECT_TRUE(SaveScreenshotOf(open.sheet, "alarm-page-date-alarm-off"));
    const std::string before = SystemDateText(DayInMinutes(5));
    PostMessageA(GetDlgItem(open.page, IDC_ALARM_SET), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(open.date) != 0; }));
    const std::string shown = ReadWindowText(open.date);
    // Five minutes on from the tick (which may be past midnight).
    EXPECT_TRUE(shown == before || shown == SystemDateText(DayInMinutes(5))) << shown;
    ASSERT_TRUE(PressSheetButton(open.sheet, PSBTN_CANCEL));
    CloseProgram(install, program);
}
