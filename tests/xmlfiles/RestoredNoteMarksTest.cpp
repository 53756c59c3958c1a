// What a restore shows on the running program: a note added by a restore
// wears a green frame until it is edited, and the calendar marks the days
// of the alarms a restore or an undo brought.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "BackupDriving.h"
#include "globals/MainWindowMessages.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
const COLORREF kRestoredGreen = RGB(0, 200, 0);

// A point of the note's left frame edge, half way down.
POINT FramePoint(HWND note)
{
    RECT bounds = RectOf(note);
    return {bounds.left + 1, (bounds.top + bounds.bottom) / 2};
}

bool GreenFrame(HWND note)
{
    return CloseColour(ScreenPixel(FramePoint(note)), kRestoredGreen);
}
}

TEST(RestoredNoteMarks, ANoteAddedByARestoreHasAGreenFrameUntilItIsEdited)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    StoreNote(install, [](CNoteController& note) { FillTestNote(note, "Stored before", 60, 60); });
    BackupNote added;
    added.title = "Added";
    added.content = "{\\rtf1\\ansi Added by the restore}";
    added.left = 420;
    added.top = 300;
    added.stayOnTop = true;
    WriteBackupFile(install.File("added.QPK"), {added});
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    const DWORD process = program.ProcessId();
    HWND stored = WaitForNoteWithText(process, "Stored before");
    ASSERT_NE(stored, nullptr);

    RunToEnd(install, "/importSilently added.QPK");
    HWND note = WaitForNoteWithText(process, "Added by the restore");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return GreenFrame(note); })) << std::hex << ScreenPixel(FramePoint(note));
    EXPECT_TRUE(SaveScreenshot("RestoredNoteGreenFrame"));
    EXPECT_FALSE(GreenFrame(stored));

    // An edit ends the mark.
    ASSERT_TRUE(SendWithTimeout(BodyOf(note), EM_SETSEL, 0, 0));
    ASSERT_TRUE(SendWithTimeout(BodyOf(note), WM_CHAR, 'X', 1));
    EXPECT_TRUE(WaitUntil([&] { return !GreenFrame(note); })) << std::hex << ScreenPixel(FramePoint(note));
    EXPECT_TRUE(SaveScreenshot("RestoredNoteEdited"));
    CloseProgram(install, program);

    // The mark is not stored: after a restart the frame is plain again.
    RunningProgram again(install, "");
    ASSERT_NE(WaitForMainWindow(again), nullptr);
    HWND back = WaitForNoteWithText(again.ProcessId(), "XAdded by the restore");
    ASSERT_NE(back, nullptr);
    SaveScreenshotOf(back, "RestoredNoteAfterRestart");
    EXPECT_FALSE(GreenFrame(back));
    CloseProgram(install, again);
}
