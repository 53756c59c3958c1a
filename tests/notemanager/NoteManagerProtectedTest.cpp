// Locked notes in the Note Manager of the real program: a closed locked note
// shows the placeholder and its stored size, is listed by the Protected
// filter, and a selection holding it deletes nothing; the lock command locks
// and unlocks an open note; without a password, Lock says so once per command.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "globals/MainWindowMessages.h"
#include "notemanager/NoteManagerDriving.h"
#include "resources/ids/NoteManagerIds.h"
#include "support/NoteDriving.h"
#include "support/ProtectedUser.h"
#include "support/StoredNotes.h"

namespace {
const int kOneBoxPerRun = 1;
const char kNoPasswordText[] =
    "A note can be locked once you have a password:\r\nGeneral settings..., Security, \"Set password...\".";
}

TEST(NoteManagerProtected, AClosedLockedNoteShowsThePlaceholderAndStopsADeletion)
{
    ProgramInstall install("nmlocked");
    install.AddInstalledDataFiles();
    PrepareProtectingUser(install, kOneBoxPerRun);
    TestNote secret("My secret words", true);
    secret.locked = true;
    StoreTestNotes(install, {secret, {"Open words"}});

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    HWND main = manager.OpenFromTrayListing(program, 3);
    ASSERT_NE(main, nullptr);
    manager.Command(ID_NM_COLUMN_SIZE);
    const int row = manager.RowOfTitle("My secret words");
    ASSERT_GE(row, 0);
    EXPECT_EQ(manager.Cell(row, 2), " ...PROTECTED  NOTE... ");
    // The size of its enciphered body, which is larger than its words.
    EXPECT_GT(std::atoi(manager.Cell(row, 7).c_str()), 15);

    manager.Click(IDC_NM_PROTECTED);
    EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 1; }));
    EXPECT_EQ(manager.Cell(0, 1), "My secret words");
    manager.Click(IDC_NM_NOT_PROTECTED);
    EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 2; }));
    EXPECT_EQ(manager.RowOfTitle("My secret words"), -1);
    manager.Click(IDC_NM_PROTECTION_ALL);
    ASSERT_TRUE(WaitUntil([&] { return manager.Rows() == 3; }));

    manager.SelectTitles({"My secret words", "Open words"});
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText().rfind("2 notes are selected", 0) == 0; }));
    manager.Command(ID_NM_DELETE);
    // Done without a question: a box would hold the command open.
    ASSERT_TRUE(manager.CommandsDone());
    manager.SelectTitles({"Open words"});
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "The selected note is on the desktop"; }))
        << manager.StatusText();
    EXPECT_EQ(manager.Rows(), 3);
    EXPECT_EQ(WaitForMessageBox(process, 200, "Quillnet+").window, nullptr);

    // Lock with some but not all selected notes locked does nothing; on one
    // note it locks, and again it unlocks.
    manager.SelectTitles({"My secret words", "Open words"});
    ASSERT_TRUE(WaitUntil([&] { return manager.StatusText().rfind("2 notes are selected", 0) == 0; }));
    manager.Command(ID_NM_LOCK);
    manager.SelectTitles({"Open words"});
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "The selected note is on the desktop"; }));
    manager.Command(ID_NM_LOCK);
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "The selected note is on the desktop, locked"; }))
        << manager.StatusText();
    manager.Command(ID_NM_LOCK);
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "The selected note is on the desktop"; }))
        << manager.StatusText();

    ASSERT_TRUE(manager.Close());
    CloseProgram(install, program);
}

TEST(NoteManagerProtected, LockWithoutAPasswordSaysSoOncePerCommand)
{
    ProgramInstall install("nmnopassword");
    install.AddInstalledDataFiles();
    const std::vector<std::string> titles = {"First plain", "Second plain", "Third plain", "Fourth plain"};
    std::vector<TestNote> notes;
    for (const std::string& title : titles)
        notes.emplace_back(title);
    StoreTestNotes(install, notes);

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    HWND main = manager.OpenFromTrayListing(program, static_cast<int>(titles.size()) + 1);
    ASSERT_NE(main, nullptr);
    manager.SelectTitles(titles);
    ASSERT_TRUE(WaitUntil([&] { return manager.StatusText().rfind("4 notes are selected", 0) == 0; }))
        << manager.StatusText();
    // Each command says it once, however many notes it was given.
    for (int command = 0; command < 2; ++command) {
        manager.PressCtrlToList('L');
        EXPECT_EQ(AcknowledgeProgramBox(process), kNoPasswordText) << "command " << command;
        ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
        EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
    }
    ASSERT_TRUE(manager.Close());
    CloseProgram(install, program);
    const StoredNoteList stored = LoadEveryNote(install.Path());
    for (const std::string& title : titles) {
        const CNoteController* note = StoredNoteTitled(stored, title.c_str());
        ASSERT_NE(note, nullptr) << title;
        EXPECT_FALSE(note->m_protected) << title;
    }
}
