// The real program with three hidden notes whose alarms come a few seconds
// after its start: they come up at the next housekeeping tick with their
// frames flashing; Hide moves a daily alarm to tomorrow, "15 minutes" of the
// snooze menu makes the alarm recur every 15 minutes, "&Alarm off" ends an
// alarm, and all of it is in the notes table and back after a restart.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/DateTime.h"
#include "note/NoteController.h"
#include "note/AlarmTestTimes.h"
#include "note/NoteMessages.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/ShownTips.h"
#include "support/StoredNotes.h"

namespace {
const COLORREF kRingingRed = RGB(230, 0, 0);

void StoreHiddenAlarmNote(const char* text, LONG left, const CDateTime& alarm, bool daily)
{
    CNoteController note;
    FillTestNote(note, text, left, 120);
    note.m_hidden = true;
    note.m_alarmSet = true;
    note.m_alarm = alarm;
    note.m_alarmRecurring = daily;
    note.m_alarmUnit = 3;
    note.m_alarmValue = 1;
    SaveNote(note);
}

// A point of the note's left frame edge, half way down.
POINT FramePoint(HWND note)
{
    RECT bounds = RectOf(note);
    return {bounds.left + 1, (bounds.top + bounds.bottom) / 2};
}

bool IsRed(COLORREF colour)
{
    return CloseColour(colour, kRingingRed);
}

HWND PopupMenuOf(DWORD process)
{
    return FindTopWindow("#32768", process);
}

// Keys go to the menu that the note's thread is tracking.
// A snooze of 15 minutes chosen at the moment: from the start of its minute.
CDateTime FifteenMinutesOn(CDateTime moment)
{
    moment.m_second = 0;
    moment.AddMinutes(15);
    return moment;
}

void PressKey(HWND note, WPARAM key)
{
    PostMessageA(note, WM_KEYDOWN, key, 0);
    PostMessageA(note, WM_KEYUP, key, 0xC0000000);
}
}

TEST(AlarmProgram, AlarmsComeUpFlashAndMoveAsTheUserAnswersThem)
{
    ProgramInstall install("alarms");
    install.AddInstalledDataFiles();
    const CDateTime alarm = SecondsFromNow(4);
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreHiddenAlarmNote("Daily call", 30, alarm, true);
        StoreHiddenAlarmNote("Snooze me", 290, alarm, false);
        StoreHiddenAlarmNote("Switch me off", 550, alarm, false);
    }
    {
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND daily = NoteWithText(program.ProcessId(), "Daily call");
        HWND snooze = NoteWithText(program.ProcessId(), "Snooze me");
        HWND off = NoteWithText(program.ProcessId(), "Switch me off");
        ASSERT_TRUE(daily && snooze && off);
        EXPECT_FALSE(IsWindowVisible(daily));

        // The housekeeping tick after the alarm time brings all three up.
        ASSERT_TRUE(
            WaitUntil([&] { return IsWindowVisible(daily) && IsWindowVisible(snooze) && IsWindowVisible(off); }));
        // The note is shown first and made topmost right after.
        EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongA(daily, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));

        // The frame flashes: it is seen red and not red in turn.
        bool sawRed = false;
        bool sawPlain = false;
        ASSERT_TRUE(WaitUntil([&] {
            const bool red = IsRed(ScreenPixel(FramePoint(daily)));
            if (red && !sawRed)
                sawRed = SaveScreenshot("alarm-frame-lit");
            if (!red && !sawPlain)
                sawPlain = SaveScreenshot("alarm-frame-plain");
            return sawRed && sawPlain;
        }));

        // Hide: the daily alarm moves to the same time tomorrow, in the table too.
        ASSERT_TRUE(SendWithTimeout(daily, WM_COMMAND, kNoteCmdHide, 0));
        EXPECT_FALSE(IsWindowVisible(daily));
        CDateTime tomorrow = alarm;
        tomorrow.AddDays(1);
        StoredNoteList stored = LoadEveryNote(install.Path());
        const CNoteController* dailyNote = StoredNoteTitled(stored, "Daily call");
        ASSERT_NE(dailyNote, nullptr);
        EXPECT_EQ(TextOf(dailyNote->m_alarm), TextOf(tomorrow));
        EXPECT_TRUE(dailyNote->m_alarmSet);

        // The snooze menu of the ringing note: "15 minutes" is the third item
        // down, after the heading and "5 minutes".
        PostMessageA(snooze, WM_COMMAND, kNoteCmdSnoozeMenu, 0);
        ASSERT_TRUE(WaitUntil([&] { return PopupMenuOf(program.ProcessId()) != nullptr; }));
        EXPECT_TRUE(SaveScreenshotOf(PopupMenuOf(program.ProcessId()), "alarm-snooze-menu"));
        for (int i = 0; i < 3; ++i)
            PressKey(snooze, VK_DOWN);
        // Chosen between these two moments, which may lie in two minutes.
        const CDateTime beforeChoice = SecondsFromNow(0);
        PressKey(snooze, VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(snooze); }));
        const CDateTime afterChoice = SecondsFromNow(0);
        stored = LoadEveryNote(install.Path());
        const CNoteController* snoozed = StoredNoteTitled(stored, "Snooze me");
        ASSERT_NE(snoozed, nullptr);
        EXPECT_TRUE(snoozed->m_alarmRecurring);
        EXPECT_EQ(snoozed->m_alarmValue, 15);
        EXPECT_EQ(snoozed->m_alarmUnit, 1);
        EXPECT_TRUE(snoozed->m_alarm == FifteenMinutesOn(beforeChoice) ||
                    snoozed->m_alarm == FifteenMinutesOn(afterChoice))
            << TextOf(snoozed->m_alarm);

        // "&Alarm off": the frame stops flashing, and the table says so once saved.
        ASSERT_TRUE(IsWindowVisible(off));
        ASSERT_TRUE(SendWithTimeout(off, WM_COMMAND, kNoteCmdAlarmOff, 0));
        int plainInARow = 0;
        EXPECT_TRUE(WaitUntil([&] {
            plainInARow = IsRed(ScreenPixel(FramePoint(off))) ? 0 : plainInARow + 1;
            return plainInARow >= 100;
        }));
        EXPECT_TRUE(SaveScreenshot("alarm-switched-off"));
        ASSERT_TRUE(SendWithTimeout(off, WM_COMMAND, kNoteCmdSave, 0));
        stored = LoadEveryNote(install.Path());
        const CNoteController* switchedOff = StoredNoteTitled(stored, "Switch me off");
        ASSERT_NE(switchedOff, nullptr);
        EXPECT_FALSE(switchedOff->m_alarmSet);
        EXPECT_FALSE(switchedOff->m_alarmRecurring);
        EXPECT_TRUE(IsWindowVisible(off));
        CloseProgram(install, program);
    }

    // After a restart the snoozed note recurs every 15 minutes: "15 minutes"
    // is its current choice.
    StoredNoteList stored = LoadEveryNote(install.Path());
    const CNoteController* snoozed = StoredNoteTitled(stored, "Snooze me");
    ASSERT_NE(snoozed, nullptr);
    EXPECT_EQ(snoozed->m_snooze.current, 1);
    RunningProgram again(install, "");
    ASSERT_NE(WaitForMainWindow(again), nullptr);
    HWND off = NoteWithText(again.ProcessId(), "Switch me off");
    ASSERT_NE(off, nullptr);
    EXPECT_TRUE(IsWindowVisible(off));
    HWND snooze = NoteWithText(again.ProcessId(), "Snooze me");
    ASSERT_NE(snooze, nullptr);
    EXPECT_FALSE(IsWindowVisible(snooze));
    ShowWindow(snooze, SW_SHOWNOACTIVATE);
    // The pointer resting on the caption tells when the alarm comes next.
    const RECT bounds = RectOf(snooze);
    const POINT onCaption = {(bounds.left + bounds.right) / 2,
                             bounds.top + GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYSMCAPTION) / 2};
    const std::string nextAlarm = "Next alarm at " + TextOf(snoozed->m_alarm) + "\r\nRight click to change";
    EXPECT_EQ(TipAfterRestAt(again.ProcessId(), onCaption, nextAlarm), nextAlarm);
    EXPECT_TRUE(SaveScreenshot("alarm-caption-tip"));
    SetCursorPos(0, 0);
    PostMessageA(snooze, WM_COMMAND, kNoteCmdSnoozeMenu, 0);
    ASSERT_TRUE(WaitUntil([&] { return PopupMenuOf(again.ProcessId()) != nullptr; }));
    EXPECT_TRUE(SaveScreenshotOf(PopupMenuOf(again.ProcessId()), "alarm-snooze-menu-after-restart"));
    PressKey(snooze, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return PopupMenuOf(again.ProcessId()) == nullptr; }));
    CloseProgram(install, again);
}
