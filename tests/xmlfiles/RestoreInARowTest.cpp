// A restore keeps a copy of the notes it replaces, for Unrestore. Restores
// in a row, with nothing stored between them, keep the copy of before the
// first, and Unrestore goes back there; a restore after the user stored
// work keeps a new copy, and Unrestore brings that work back.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "BackupDriving.h"
#include "globals/MainWindowMessages.h"
#include "resources/ids/RestoreIds.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/RescueFiles.h"
#include "support/TextChecks.h"

namespace {
const char kOlderBackup[] = "202001011000.QPK";
const char kNewerBackup[] = "202001021000.QPK";

// The backup at that place of the Restore submenu (the newer one first)
// restored in place of the notes, the dialog's methods clicked as the user
// clicks them; the text of the box that follows.
std::string ReplaceFromSubmenu(HWND main, DWORD process, size_t entry, const char* picture)
{
    HWND restores = OpenRestoreSubmenu(main, process);
    HWND dialog = restores ? ClickEntryForDialog(restores, process, "ii", entry, picture, "Restore notes...") : nullptr;
    if (!dialog)
        return "(no dialog)";
    ClickDialogControl(dialog, IDC_RESTORE_REPLACE);
    if (!ClickDialogButton(dialog, IDOK))
        return "(the dialog stayed)";
    return AcknowledgeProgramBox(process);
}

// The notes' texts, but the welcome note's, once they are the expected ones.
::testing::AssertionResult ShowsNotes(DWORD process, std::vector<std::string> expected)
{
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> shown;
    auto read = [&] {
        shown.clear();
        for (const std::string& text : NoteTexts(process)) {
            if (text.rfind("Welcome to Quillnet+", 0) != 0)
                shown.push_back(text);
        }
        return shown == expected;
    };
    if (WaitUntil(read))
        return ::testing::AssertionSuccess();
    std::string listed;
    for (const std::string& text : shown)
        listed += "\"" + text + "\" ";
    return ::testing::AssertionFailure() << "the notes show " << listed;
}
}

TEST(RestoreInARow, UnrestoreGoesBackBeforeTheFirstOfARowAndBringsBackWorkStoredBeforeTheLast)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    FirstRun(install);
    // No backup at the ends: the two backups of the test are the submenu's.
    SetBackupOptions(install, false, 7, false);
    for (const std::string& name : BackupFiles(install))
        DeleteFileA(BackupFile(install, name).c_str());
    StoreNote(install, [](CNoteController& note) {
        const char text[] = "{\\rtf1\\ansi Original}";
        note.SetRichText(text, sizeof text - 1);
    });
    WriteOneNoteBackup(BackupFile(install, kOlderBackup), "From the older backup");
    WriteOneNoteBackup(BackupFile(install, kNewerBackup), "From the newer backup");
    const char done[] = "The restore operation has been successfully completed";

    auto program = std::make_unique<RunningProgram>(install, "");
    HWND main = WaitForMainWindow(*program);
    ASSERT_NE(main, nullptr);
    DWORD process = program->ProcessId();
    ASSERT_TRUE(ShowsNotes(process, {"Original"}));

    // Two restores in a row: an undo goes back to the notes of before the first.
    std::string told = ReplaceFromSubmenu(main, process, 1, "RestoreInARowFirst");
    EXPECT_TRUE(Contains(told, done)) << told;
    ASSERT_TRUE(ShowsNotes(process, {"From the older backup"}));
    told = ReplaceFromSubmenu(main, process, 0, "RestoreInARowSecond");
    EXPECT_TRUE(Contains(told, done)) << told;
    ASSERT_TRUE(ShowsNotes(process, {"From the newer backup"}));
    EXPECT_TRUE(Contains(UnrestoreFromTrayMenu(main, process), "The unrestore operation has been successfully"));
    ASSERT_TRUE(ShowsNotes(process, {"Original"}));

    // A restore, then work stored by the end of the run and another start,
    // then a restore: the undo brings the work back, with the restored note
    // it was made beside.
    told = ReplaceFromSubmenu(main, process, 1, "RestoreBeforeStoredWork");
    EXPECT_TRUE(Contains(told, done)) << told;
    ASSERT_TRUE(ShowsNotes(process, {"From the older backup"}));
    const std::vector<HWND> before = NoteWindows(process);
    HWND tray = OpenTrayMenu(main, process);
    ASSERT_NE(tray, nullptr);
    PressMenuKey(tray, VK_DOWN);
    PressMenuKey(tray, VK_RETURN);
    HWND made = NewNoteBesides(process, before);
    ASSERT_NE(made, nullptr);
    TypeAtStart(made, "Stored work");
    ASSERT_TRUE(ShowsNotes(process, {"From the older backup", "Stored work"}));
    CloseProgram(install, *program);
    program = std::make_unique<RunningProgram>(install, "");
    main = WaitForMainWindow(*program);
    ASSERT_NE(main, nullptr);
    process = program->ProcessId();
    ASSERT_TRUE(ShowsNotes(process, {"From the older backup", "Stored work"}));
    told = ReplaceFromSubmenu(main, process, 0, "RestoreAfterStoredWork");
    EXPECT_TRUE(Contains(told, done)) << told;
    ASSERT_TRUE(ShowsNotes(process, {"From the newer backup"}));
    EXPECT_TRUE(Contains(UnrestoreFromTrayMenu(main, process), "The unrestore operation has been successfully"));
    EXPECT_TRUE(ShowsNotes(process, {"From the older backup", "Stored work"}));
    CloseProgram(install, *program);
}
