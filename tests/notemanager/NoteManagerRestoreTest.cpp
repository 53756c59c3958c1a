// A restore and its undo while the Note Manager is open: the window lets go
// of the notes they close, and opened again it lists only the live notes.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "globals/MainWindowMessages.h"
#include "notemanager/NoteManagerDriving.h"
#include "support/NoteDriving.h"

namespace {
std::vector<std::string> Sorted(std::vector<std::string> texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::vector<std::string> ShownTexts(DWORD process)
{
    std::vector<std::string> texts;
    for (HWND note : NoteWindows(process))
        texts.push_back(ReadWindowText(BodyOf(note)));
    return Sorted(texts);
}
}

TEST(NoteManagerRestore, ARestoreAndItsUndoCloseTheWindowAndItListsOnlyLiveNotesAgain)
{
    const std::string backup = BackupMadeByProgram([](const ProgramInstall& earlier) {
        StoreTestNotes(earlier, {TestNote("Backup one"), TestNote("Backup two"), TestNote("Backup three")});
    });
    ASSERT_FALSE(backup.empty());
    ProgramInstall install;
    install.AddInstalledDataFiles();
    StoreTestNotes(install, {TestNote("Live one"), TestNote("Live two")});
    WriteWholeFile(install.File("three.QPK"), backup);
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    HWND main = manager.OpenFromTray(program);
    ASSERT_NE(main, nullptr);
    // The welcome note of a new user is there too.
    const std::vector<std::string> live = Sorted(manager.Column(1));
    ASSERT_EQ(live.size(), 3u);
    ASSERT_EQ(live[0], "Live one");
    const std::vector<std::string> liveTexts = ShownTexts(process);

    // The replace closes the window before it closes the notes.
    RunToEnd(install, "/replaceSilently three.QPK");
    ASSERT_TRUE(WaitUntil([&] { return ShownTexts(process).size() == 4 && ShownTexts(process)[0] == "Backup one"; }));
    EXPECT_TRUE(manager.WaitClosed());
    ASSERT_NE(manager.OpenFromTray(program), nullptr);
    const std::vector<std::string> restored = Sorted(manager.Column(1));
    ASSERT_EQ(restored.size(), 4u);
    EXPECT_EQ(restored[0], "Backup one");
    EXPECT_EQ(restored[1], "Backup three");
    EXPECT_EQ(restored[2], "Backup two");

    // So does the undo, chosen while the window is open.
    EXPECT_EQ(UnrestoreAnsweringYes(main, process), "The unrestore operation has been successfully completed");
    EXPECT_EQ(ShownTexts(process), liveTexts);
    EXPECT_TRUE(manager.WaitClosed());
    ASSERT_NE(manager.OpenFromTray(program), nullptr);
    EXPECT_EQ(Sorted(manager.Column(1)), live);
    EXPECT_TRUE(manager.Close());
    CloseProgram(install, program);
}
