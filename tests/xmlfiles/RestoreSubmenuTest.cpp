// The tray's Restore submenu stays usable: however many rescue backups there
// are, it fits the screen and reaches every dated backup it lists, and a
// file named BACKUP in the data folder keeps it neither from opening nor
// from restoring the rescue backup of the data folder once the file is put
// away; until then the rescue backup's mark stays, and the next start offers
// it again.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BackupDriving.h"
#include "globals/MainWindowMessages.h"
#include "resources/ids/RestoreIds.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/RescueFiles.h"
#include "support/Screenshot.h"
#include "support/TextChecks.h"

namespace {
const size_t kDatedBackups = 101;
const size_t kRescueBackups = 120;
const size_t kRescuesShown = 10;

std::string Digits(size_t value)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02u", static_cast<unsigned>(value));
    return text;
}

// An install whose backup folder holds no backup yet, and no daily backup
// or backup at the end comes.
void InstallWithoutBackups(ProgramInstall& install)
{
    install.AddInstalledDataFiles();
    FirstRun(install);
    SetBackupOptions(install, false, 7, false);
    for (const std::string& name : BackupFiles(install))
        DeleteFileA(BackupFile(install, name).c_str());
}

// The items the open menu shows below the rows of head, as its picture
// shows them: the count whose rows fill the menu.
size_t ItemsBelow(HWND menu, const std::string& head)
{
    for (size_t items = 1; items < 80; ++items) {
        if (MenuPicture(menu, head + std::string(items, 'i')).Fits())
            return items;
    }
    return 0;
}

// The menu's window lies on the screen.
::testing::AssertionResult OnTheScreen(HWND menu)
{
    RECT shown{};
    GetWindowRect(menu, &shown);
    if (shown.left >= 0 && shown.top >= 0 && shown.right <= GetSystemMetrics(SM_CXSCREEN) &&
        shown.bottom <= GetSystemMetrics(SM_CYSCREEN))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the menu spans (" << shown.left << ", " << shown.top << ") to ("
                                         << shown.right << ", " << shown.bottom << ")";
}

// The notes' texts, the welcome note's left out.
std::vector<std::string> UsersNoteTexts(DWORD process)
{
    std::vector<std::string> texts;
    for (const std::string& text : NoteTexts(process)) {
        if (text.rfind("Welcome to Quillnet+", 0) != 0)
            texts.push_back(text);
    }
    return texts;
}
}

TEST(RestoreSubmenu, ManyRescueBackupsLeaveEveryDatedBackupReachableInMenusThatFitTheScreen)
{
    ProgramInstall install;
    InstallWithoutBackups(install);
    // Dated backups of every day from 1 January 2020 at 10:00, the oldest
    // first, and rescue backups of every day from 1 January 2021.
    for (size_t i = 0; i < kDatedBackups; ++i)
        WriteOneNoteBackup(BackupFile(install, "2020" + Digits(1 + i / 28) + Digits(1 + i % 28) + "1000.QPK"),
                           "Dated backup " + std::to_string(i));
    for (size_t j = 0; j < kRescueBackups; ++j)
        WriteOneNoteRescue(
            install, BackupFile(install, "Unstored 2021" + Digits(1 + j / 28) + Digits(1 + j % 28) + "120000.QPK"),
            "Rescue backup " + std::to_string(j));

    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();

    // The newest rescue backups in their group, then as many dated backups
    // as the screen's height takes, the last row leading to the older ones,
    // whose last row leads on in turn: every one of them is there.
    const std::string rescueGroup = std::string(kRescuesShown, 'i') + "-";
    HWND menu = OpenRestoreSubmenu(main, process);
    ASSERT_NE(menu, nullptr);
    size_t listed = 0;
    size_t pages = 0;
    std::string head = rescueGroup;
    for (;;) {
        const size_t rows = ItemsBelow(menu, head);
        ASSERT_GT(rows, 1u) << "page " << pages << " shows no column of rows";
        EXPECT_TRUE(OnTheScreen(menu)) << "page " << pages;
        const MenuPicture page(menu, head + std::string(rows, 'i'));
        const size_t items = static_cast<size_t>(std::count(head.begin(), head.end(), 'i')) + rows;
        for (size_t row = 0; row < items; ++row)
            EXPECT_TRUE(page.HasDarkText(row)) << "page " << pages << ", row " << row;
        EXPECT_TRUE(SaveScreenshotOf(menu, "RestoreSubmenuPage" + std::to_string(pages)));
        ++pages;
        if (listed + rows >= kDatedBackups) {
            ASSERT_EQ(listed + rows, kDatedBackups) << "the last page lists the oldest backups";
            break;
        }
        listed += rows - 1;
        menu = OpenOlderBackups(process, menu);
        ASSERT_NE(menu, nullptr) << "page " << pages;
        head.clear();
    }
    EXPECT_GE(pages, 2u);
    // The oldest of them is picked from the last page.
    HWND dialog = ClickEntryForDialog(menu, process, std::string(kDatedBackups - listed, 'i'),
                                      kDatedBackups - listed - 1, "RestoreSubmenuOldestBackup", "Restore notes...");
    ASSERT_NE(dialog, nullptr);
    const std::string oldest = ReadWindowText(GetDlgItem(dialog, IDC_RESTORE_QUESTION));
    EXPECT_TRUE(Contains(oldest, "January") && Contains(oldest, " 1, 2020")) << oldest;
    ASSERT_TRUE(ClickDialogButton(dialog, IDCANCEL));

    // The newest rescue backup, restored in place of the notes as its dialog
    // proposes; the dialog of a dated backup then starts on adding the
    // notes, the method kept since the user last chose one.
    menu = OpenRestoreSubmenu(main, process);
    ASSERT_NE(menu, nullptr);
    const size_t firstRows = ItemsBelow(menu, rescueGroup);
    dialog = ClickEntryForDialog(menu, process, rescueGroup + std::string(firstRows, 'i'), 0,
                                 "RestoreSubmenuManyRescueBackups", "Restore notes...");
    ASSERT_NE(dialog, nullptr);
    const std::string newest = ReadWindowText(GetDlgItem(dialog, IDC_RESTORE_QUESTION));
    EXPECT_TRUE(Contains(newest, "May") && Contains(newest, " 8, 2021") && Contains(newest, " (unstored) ?"))
        << newest;
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RESTORE_REPLACE), BST_CHECKED);
    ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
    EXPECT_TRUE(Contains(AcknowledgeProgramBox(process), "The restore operation has been successfully"));
    EXPECT_TRUE(WaitUntil([&] { return UsersNoteTexts(process) == std::vector<std::string>{"Rescue backup 119"}; }));
    menu = OpenRestoreSubmenu(main, process);
    ASSERT_NE(menu, nullptr);
    dialog = ClickEntryForDialog(menu, process, rescueGroup + std::string(firstRows, 'i'), kRescuesShown,
                                 "RestoreSubmenuNewestDatedBackup", "Restore notes...");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RESTORE_APPEND), BST_CHECKED);
    ASSERT_TRUE(ClickDialogButton(dialog, IDCANCEL));
    CloseProgram(install, program);
}

TEST(RestoreSubmenu, AFileNamedBackupKeepsTheRescueOfTheDataFolderOfferedUntilItCanBeRestored)
{
    ProgramInstall install;
    InstallWithoutBackups(install);
    StoreNote(install, [](CNoteController& note) {
        const char text[] = "{\\rtf1\\ansi Kept note}";
        note.SetRichText(text, sizeof text - 1);
    });
    // Another program put a file where the backup folder belongs; the last
    // run's end could not store a change, and its rescue backup went to the
    // data folder.
    RemoveDirectoryA(install.File("BACKUP").c_str());
    WriteWholeFile(install.File("BACKUP"), "not a folder");
    ASSERT_EQ(ReadWholeFile(install.File("BACKUP")), "not a folder");
    const std::string rescue = install.File("Unstored 20260102030405.QPK");
    WriteMarkedOneNoteRescue(install, rescue, "Rescued note");

    {
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        const DWORD process = program.ProcessId();
        // The start says that the backup folder cannot be made, then offers
        // the rescue backup; Yes cannot restore it while the file is there
        // (no copy for Unrestore can be kept), and the box says what to put
        // right.
        EXPECT_TRUE(Contains(AcknowledgeProgramBox(process), "BACKUP location could not be created"));
        const std::string offer = AnswerProgramBox(process, IDYES);
        EXPECT_TRUE(Contains(offer, rescue + "\r\n")) << offer;
        HWND dialog = WaitForDialog(process, "Restore notes...");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RESTORE_REPLACE), BST_CHECKED);
        ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
        const std::string told = AcknowledgeProgramBox(process);
        EXPECT_TRUE(Contains(told, "a file named BACKUP stands in the data folder")) << told;
        EXPECT_TRUE(Contains(told, "Please move or rename that file, then restore again.")) << told;
        EXPECT_TRUE(Contains(told, "Nothing was restored")) << told;
        EXPECT_EQ(UsersNoteTexts(process), std::vector<std::string>{"Kept note"});

        // The submenu opens, lists the rescue backup and says once why no
        // dated backup is there.
        HWND menu = OpenRestoreSubmenu(main, process);
        ASSERT_NE(menu, nullptr);
        const MenuPicture shown(menu, "i-i");
        ASSERT_TRUE(shown.Fits());
        EXPECT_TRUE(shown.HasDarkText(0));
        EXPECT_FALSE(shown.HasDarkText(1)) << "the line that says why is greyed";
        EXPECT_TRUE(SaveScreenshotOf(menu, "RestoreSubmenuWithAFileNamedBackup"));
        EXPECT_TRUE(CloseMenus(process));
        CloseProgram(install, program);
    }
    EXPECT_EQ(RescueMarksIn(install.Path()).size(), 1u) << "not restored: still to be told";

    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    EXPECT_TRUE(Contains(AcknowledgeProgramBox(process), "BACKUP location could not be created"));
    EXPECT_TRUE(Contains(AnswerProgramBox(process, IDNO), rescue + "\r\n")) << "offered again";
    EXPECT_TRUE(RescueMarksIn(install.Path()).empty()) << "answered";
    // The file put away, the rescue backup is restored from the submenu.
    ASSERT_TRUE(DeleteFileA(install.File("BACKUP").c_str()));
    HWND menu = OpenRestoreSubmenu(main, process);
    ASSERT_NE(menu, nullptr);
    HWND dialog = ClickEntryForDialog(menu, process, "i", 0, "RestoreSubmenuOnceTheFileIsGone", "Restore notes...");
    ASSERT_NE(dialog, nullptr);
    ClickDialogControl(dialog, IDC_RESTORE_REPLACE);
    ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
    EXPECT_TRUE(Contains(AcknowledgeProgramBox(process), "The restore operation has been successfully"));
    EXPECT_TRUE(WaitUntil([&] { return UsersNoteTexts(process) == std::vector<std::string>{"Rescued note"}; }));
    EXPECT_TRUE(FileExists(install.File("BACKUP\\UNRESTORE\\notes.qpd")));
    CloseProgram(install, program);
}
