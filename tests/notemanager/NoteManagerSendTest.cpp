// Sending from the Note Manager of the real program: the notes chosen go one
// after the other to the destinations chosen for the first; while a send is
// under way the window refuses Close, a note deleted meanwhile is skipped
// without harm, and an end refused for the send keeps the edits of the other
// notes in a file first.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <richedit.h>

#include <string>

#include "globals/MainWindowMessages.h"
#include "note/NoteMessages.h"
#include "notemanager/NoteManagerDriving.h"
#include "resources/ids/NoteManagerIds.h"
#include "support/LoopbackListener.h"
#include "support/NoteDriving.h"
#include "support/TempFolder.h"
#include "support/TextChecks.h"

TEST(NoteManagerSend, ANoteDeletedWhileTheSelectionIsSentIsSkipped)
{
    ProgramInstall install("nmsend");
    install.AddInstalledDataFiles();
    StoreTestNotes(install, {{"Send one"}, {"Send two"}, {"Send three"}});
    // A port that takes connections but never answers them: a send to it
    // waits until the port closes.
    LoopbackListener silent;
    ASSERT_TRUE(silent.IsListening());

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    ASSERT_NE(manager.OpenFromTrayListing(program, 4), nullptr);
    HWND first = WaitForNoteWithText(process, "Send one");
    HWND second = WaitForNoteWithText(process, "Send two");
    ASSERT_TRUE(first && second);
    ASSERT_TRUE(manager.SendTitles({"Send one", "Send two", "Send three"}, silent.Port()));

    // Close is refused while the first note is on its way; the second note goes.
    manager.Press(IDCANCEL);
    PostMessageA(second, WM_COMMAND, kNoteCmdDelete, 0);
    EXPECT_TRUE(WaitUntil([&] {
        ShownMessageBox box = WaitForMessageBox(process, 50, "Quillnet+");
        if (box.window)
            AnswerMessageBox(box, IDYES);
        return manager.RowOfTitle("Send two") < 0;
    }));
    EXPECT_TRUE(IsWindow(manager.Window()));
    silent.Close();
    EXPECT_TRUE(WaitUntil([&] { return !NoteIsTransmitting(first); }));
    // The third note has been tried after the deleted one, and the window is still there.
    HWND third = WaitForNoteWithText(process, "Send three");
    EXPECT_TRUE(WaitUntil([&] { return !NoteIsTransmitting(third); }));
    EXPECT_TRUE(program.IsRunning());
    EXPECT_EQ(manager.Rows(), 3);
    manager.SelectTitles({"Send three"});
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText().find(", Sent to 127.0.0.1 on ") != std::string::npos; }))
        << manager.StatusText();
    ASSERT_TRUE(manager.CloseAfterItsSend(third));
    CloseProgram(install, program);
}

namespace {
// The rescue backups of the install that hold the text.
size_t RescuesHolding(const ProgramInstall& install, const std::string& text)
{
    size_t holding = 0;
    for (const std::string& name : FileNamesMatching(install.File("BACKUP\\Unstored *.QPK")))
        holding += Contains(ReadWholeFile(install.File("BACKUP\\" + name)), text);
    return holding;
}

// The box that says a note is being sent, answered; false when none came.
bool AcknowledgeBusySending(DWORD process)
{
    ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Sorry...");
    const bool told = box.window && Contains(box.text, "busy transmitting a note");
    return AnswerMessageBox(box, IDOK) && told;
}
}

TEST(NoteManagerSend, WhileASendHangsAnEndRefusedForItAndTheExitKeepTheEditsOfAnotherNote)
{
    ProgramInstall install("nmsendend");
    install.AddInstalledDataFiles();
    StoreTestNotes(install, {{"Send away"}, {"Write here"}});
    LoopbackListener silent;
    ASSERT_TRUE(silent.IsListening());
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    ASSERT_NE(manager.OpenFromTrayListing(program, 3), nullptr);
    ASSERT_TRUE(manager.SendTitles({"Send away"}, silent.Port()));
    TypeAtStart(WaitForNoteWithText(process, "Write here"), "Kept ");
    ASSERT_NE(WaitForNoteWithText(process, "Kept Write here"), nullptr);
    HWND main = FindTopWindow(kMainClass, process);
    ASSERT_NE(main, nullptr);

    // Windows asks to end the session: refused for the send, with the edit
    // in a file by the answer; the user hears why after it.
    LRESULT answer = 1;
    ASSERT_TRUE(SendWithTimeout(main, WM_QUERYENDSESSION, 0, 0, &answer));
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(RescuesHolding(install, "Kept Write here"), 1u);
    EXPECT_TRUE(AcknowledgeBusySending(process));

    // The tray's Exit, with more written: the busy box, and the newer edit
    // in a file while it is up.
    TypeAtStart(WaitForNoteWithText(process, "Kept Write here"), "More ");
    ASSERT_NE(WaitForNoteWithText(process, "More Kept Write here"), nullptr);
    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Sorry...");
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(RescuesHolding(install, "More Kept Write here"), 1u);
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));

    silent.Close();
    ASSERT_TRUE(manager.CloseAfterItsSend(WaitForNoteWithText(process, "Send away")));
    CloseProgram(install, program);
}
