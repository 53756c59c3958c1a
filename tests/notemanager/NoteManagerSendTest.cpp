// Sending from the Note Manager of the real program: the notes chosen go one
// after the other to the destinations chosen for the first; while a send is
// under way the window refuses Close, and a note deleted meanwhile is
// skipped without harm.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "note/NoteMessages.h"
#include "notemanager/NoteManagerDriving.h"
#include "resources/ids/NoteManagerIds.h"
#include "support/LoopbackListener.h"
#include "support/NoteDriving.h"

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
    ASSERT_TRUE(manager.Close());
    CloseProgram(install, program);
}
