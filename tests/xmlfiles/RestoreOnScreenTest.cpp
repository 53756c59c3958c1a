// What a restore and its undo show on the running program: a note added by
// a restore wears a green frame until it is edited, and a close asked for
// while an undo loads the tables waits for it, then ends the program whole.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <shellapi.h>

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

// The program's tray icon is there: it can be changed.
bool TrayIconShown(HWND main)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = main;
    data.uID = 508;
    data.uFlags = NIF_TIP;
    lstrcpynA(data.szTip, "Quillnet+", sizeof data.szTip);
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

bool GreenFrame(HWND note)
{
    return CloseColour(ScreenPixel(FramePoint(note)), kRestoredGreen);
}
}

TEST(RestoreOnScreen, ANoteAddedByARestoreHasAGreenFrameUntilItIsEdited)
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

TEST(RestoreOnScreen, ACloseWhileAnUndoLoadsWaitsForItAndRemovesTheTrayIcon)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    StoreNote(install, [](CNoteController& note) { FillTestNote(note, "Stored before", 60, 60); });
    BackupNote trip;
    trip.title = "Trip";
    trip.content = "{\\rtf1\\ansi From the trip}";
    WriteBackupFile(install.File("trip.QPK"), {trip});
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ASSERT_NE(WaitForNoteWithText(process, "Stored before"), nullptr);
    RunToEnd(install, "/replaceSilently trip.QPK");
    ASSERT_NE(WaitForNoteWithText(process, "From the trip"), nullptr);
    ASSERT_TRUE(TrayIconShown(main));

    // The calendar's file of the undo copy is damaged: its box holds the undo
    // half-way through loading, and the close comes then.
    WriteWholeFile(install.File("BACKUP\\UNRESTORE\\calendar.qpd"), "<?xml version=\"1.0\"?>\r\n<content><options>");
    PostMessageA(main, WM_COMMAND, kCmdUnrestore, 0);
    HWND undo = WaitForDialog(process, "Unrestore notes...");
    ASSERT_NE(undo, nullptr);
    ASSERT_TRUE(PressAndWaitGone(undo, IDOK));
    ShownMessageBox box = WaitForMessageBox(process);
    ASSERT_NE(box.window, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    for (int boxes = 0; boxes < 10 && box.window; ++boxes) {
        AnswerMessageBox(box, IDOK);
        box = WaitForMessageBox(process, 3000);
    }
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(TrayIconShown(main));

    // The undo was made whole before the close.
    RunningProgram again(install, "");
    ASSERT_NE(WaitForMainWindow(again), nullptr);
    EXPECT_NE(WaitForNoteWithText(again.ProcessId(), "Stored before"), nullptr);
    EXPECT_EQ(NoteWithText(again.ProcessId(), "From the trip"), nullptr);
    CloseProgram(install, again);
}
