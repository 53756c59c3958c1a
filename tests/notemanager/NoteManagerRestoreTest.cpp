// A restore and its undo while the Note Manager is open: the window lets go
// of the notes they close, and opened again it lists only the live notes. A
// group renamed between two restores of the same notes is not lost by the
// undo of the second.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "globals/MainWindowMessages.h"
#include "notemanager/NoteManagerDriving.h"
#include "resources/ids/ComboBoxMenuIds.h"
#include "resources/ids/NoteManagerIds.h"
#include "support/NoteDriving.h"

namespace {
std::vector<std::string> SortedTitles(std::vector<std::string> texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::vector<std::string> ShownTexts(DWORD process)
{
    std::vector<std::string> texts;
    for (HWND note : NoteWindows(process))
        texts.push_back(ReadWindowText(BodyOf(note)));
    return SortedTitles(texts);
}

// The install's notes, and beside them a backup of other notes made by the
// program, under that name.
void InstallBesideBackup(ProgramInstall& install, const std::vector<TestNote>& live,
                         const std::vector<TestNote>& backedUp, const char* name)
{
    const std::string backup =
        BackupMadeByProgram([&backedUp](const ProgramInstall& earlier) { StoreTestNotes(earlier, backedUp); });
    ASSERT_FALSE(backup.empty());
    install.AddInstalledDataFiles();
    StoreTestNotes(install, live);
    WriteWholeFile(install.File(name), backup);
}
}

TEST(NoteManagerRestore, ARestoreAndItsUndoCloseTheWindowAndItListsOnlyLiveNotesAgain)
{
    ProgramInstall install;
    InstallBesideBackup(install, {TestNote("Live one"), TestNote("Live two")},
                        {TestNote("Backup one"), TestNote("Backup two"), TestNote("Backup three")}, "three.QPK");
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    HWND main = manager.OpenFromTray(program);
    ASSERT_NE(main, nullptr);
    // The welcome note of a new user is there too.
    const std::vector<std::string> live = SortedTitles(manager.Column(1));
    ASSERT_EQ(live.size(), 3u);
    ASSERT_EQ(live[0], "Live one");
    const std::vector<std::string> liveTexts = ShownTexts(process);

    // The replace closes the window before it closes the notes.
    RunToEnd(install, "/replaceSilently three.QPK");
    ASSERT_TRUE(WaitUntil([&] { return ShownTexts(process).size() == 4 && ShownTexts(process)[0] == "Backup one"; }));
    EXPECT_TRUE(manager.WaitClosed());
    ASSERT_NE(manager.OpenFromTray(program), nullptr);
    const std::vector<std::string> restored = SortedTitles(manager.Column(1));
    ASSERT_EQ(restored.size(), 4u);
    EXPECT_EQ(restored[0], "Backup one");
    EXPECT_EQ(restored[1], "Backup three");
    EXPECT_EQ(restored[2], "Backup two");

    // So does the undo, chosen while the window is open.
    EXPECT_EQ(UnrestoreAnsweringYes(main, process), "The unrestore operation has been successfully completed");
    EXPECT_EQ(ShownTexts(process), liveTexts);
    EXPECT_TRUE(manager.WaitClosed());
    ASSERT_NE(manager.OpenFromTray(program), nullptr);
    EXPECT_EQ(SortedTitles(manager.Column(1)), live);
    EXPECT_TRUE(manager.Close());
    CloseProgram(install, program);
}

TEST(NoteManagerRestore, AGroupRenamedBetweenTwoRestoresOutlivesTheUndoOfTheSecond)
{
    ProgramInstall install;
    InstallBesideBackup(install, {TestNote("Live one")}, {TestNote("Backup one")}, "one.QPK");
    WriteGroupsFile(install, {8}, {});
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    HWND main = manager.OpenFromTray(program);
    ASSERT_NE(main, nullptr);
    RunToEnd(install, "/replaceSilently one.QPK");
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<std::string> shown = ShownTexts(process);
        return !shown.empty() && shown[0] == "Backup one";
    }));
    EXPECT_TRUE(manager.WaitClosed());

    // The group renamed and stored as the window closes; then the same
    // backup restored again, the notes still as the first restore left them.
    ASSERT_NE(manager.OpenFromTray(program), nullptr);
    int item = -1;
    for (int i = 0; i < 12 && item < 0; ++i)
        item = manager.ComboItem(IDC_NM_GROUP, i) == "Group 008" ? i : -1;
    ASSERT_GE(item, 0);
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_GROUP, item));
    ASSERT_TRUE(manager.TypeInPlace(ID_GROUP_COMBO_RENAME, "Trips"));
    ASSERT_TRUE(WaitUntil([&] { return manager.ComboItem(IDC_NM_GROUP, manager.ComboSelection(IDC_NM_GROUP)) ==
                                       "Trips"; }));
    ASSERT_TRUE(manager.Close());
    const std::vector<std::string> afterFirst = ShownTexts(process);
    RunToEnd(install, "/replaceSilently one.QPK");
    ASSERT_TRUE(WaitUntil([&] { return ShownTexts(process) == afterFirst; }));

    // The undo goes back to just before the second restore: the rename is kept.
    EXPECT_EQ(UnrestoreAnsweringYes(main, process), "The unrestore operation has been successfully completed");
    EXPECT_EQ(ShownTexts(process), afterFirst);
    ASSERT_NE(manager.OpenFromTray(program), nullptr);
    std::vector<std::string> groups;
    for (int i = 0; i < 12; ++i)
        groups.push_back(manager.ComboItem(IDC_NM_GROUP, i));
    EXPECT_NE(std::find(groups.begin(), groups.end(), "Trips"), groups.end());
    EXPECT_EQ(std::find(groups.begin(), groups.end(), "Group 008"), groups.end());
    EXPECT_TRUE(manager.Close());
    CloseProgram(install, program);
}
