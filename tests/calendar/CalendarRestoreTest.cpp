// The running program's calendar while a restore and its undo bring and take
// away alarm notes: its day marks follow at once.
#include <winsock2.h>
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "CalendarDriving.h"
#include "calendar/CalendarWindow.h"
#include "foundation/DateTime.h"
#include "globals/MainWindowMessages.h"
#include "note/NoteController.h"
#include "resources/ids/CalendarIds.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
const int kAlarmDay = 10;

bool Shaded(HWND calendar, int firstDayOfWeek)
{
    return SendWithTimeout(calendar, WM_NULL, 0, 0) &&
           ShowsAlarmShade(NextMonthDayCell(calendar, kAlarmDay, firstDayOfWeek));
}
}

TEST(CalendarRestore, TheDayOfARestoredAlarmIsMarkedAtOnceAndUnmarkedByTheUndo)
{
    // A hidden note ringing on the 10th of next month, in a backup made by the program.
    const std::string backup = BackupMadeByProgram([](const ProgramInstall& earlier) {
        const SYSTEMTIME month = FirstOfNextMonth();
        CurrentFolder data(earlier.Path());
        NotesFreeSlots().Clear();
        CNoteController note;
        FillTestNote(note, "Dentist appointment", 300, 300);
        note.m_hidden = true;
        note.m_alarmSet = true;
        note.m_alarm = CDateTime(kAlarmDay, month.wMonth, month.wYear, 9, 30);
        SaveNote(note);
    });
    ASSERT_FALSE(backup.empty());
    ProgramInstall install;
    install.AddInstalledDataFiles();
    WriteWholeFile(install.File("alarm.QPK"), backup);
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    ASSERT_TRUE(SendWithTimeout(calendar, WM_KEYDOWN, VK_NEXT, 0));
    ASSERT_TRUE(SendWithTimeout(calendar, kMsgCalendarSettingsChanged, 0, 0));
    const int firstDay = CalendarFile(install.File("calendar.QPD")).OptionNumber(1, "firstDayOfWeek");
    ASSERT_FALSE(Shaded(calendar, firstDay));

    RunToEnd(install, "/importSilently alarm.QPK");
    EXPECT_TRUE(WaitUntil([&] { return Shaded(calendar, firstDay); }));
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-after-restore"));

    EXPECT_EQ(UnrestoreAnsweringYes(main, process), "The unrestore operation has been successfully completed");
    EXPECT_TRUE(WaitUntil([&] { return !Shaded(calendar, firstDay); }));
    CloseProgram(install, program);
}
