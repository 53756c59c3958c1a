// A restore keeps a copy of the notes it replaces, for Unrestore. Restores
// in a row, with nothing stored between them, keep the copy of before the
// first, and Unrestore goes back there; a restore after the user stored
// work, or after another program stored a note in the table, keeps a new
// copy, and Unrestore brings that work back. The notes' files written anew
// with the same notes do not break the row.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "BackupDriving.h"
#include "foundation/DataFolder.h"
#include "globals/MainWindowMessages.h"
#include "resources/ids/RestoreIds.h"
#include "store/DbfFile.h"
#include "support/CurrentFolder.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/RescueFiles.h"
#include "support/TempFolder.h"
#include "support/TextChecks.h"

namespace {
const char kOlderBackup[] = "202001011000.QPK";
const char kNewerBackup[] = "202001021000.QPK";
const char kRestoreDone[] = "The restore operation has been successfully completed";
const char kUnrestoreDone[] = "The unrestore operation has been successfully";
// Timed saves come only when the test sends their ticks: the program's own
// would take ten minutes, longer than the test may run.
const long kRowSaveIntervalMinutes = 10;

// One timed save: the housekeeping ticks (15 seconds each) of its interval,
// sent as the timer sends them.
bool TimedSaveInRow(HWND main)
{
    for (int tick = 0; tick < 4 * kRowSaveIntervalMinutes; ++tick) {
        if (!SendWithTimeout(main, WM_TIMER, kTimerHousekeeping, 0))
            return false;
    }
    return true;
}

// The backup at that place of the Restore submenu (the newer one first)
// restored in place of the notes, or beside them, the dialog's methods
// clicked as the user clicks them; the text of the box that follows.
std::string RestoreFromSubmenu(HWND main, DWORD process, size_t entry, const char* picture, int methodButton)
{
    HWND restores = OpenRestoreSubmenu(main, process);
    HWND dialog = restores ? ClickEntryForDialog(restores, process, "ii", entry, picture, "Restore notes...") : nullptr;
    if (!dialog)
        return "(no dialog)";
    ClickDialogControl(dialog, methodButton);
    if (!ClickDialogButton(dialog, IDOK))
        return "(the dialog stayed)";
    return AcknowledgeProgramBox(process);
}

std::string ReplaceFromSubmenu(HWND main, DWORD process, size_t entry, const char* picture)
{
    return RestoreFromSubmenu(main, process, entry, picture, IDC_RESTORE_REPLACE);
}

// The record deleted from the install's notes table as another program
// deletes one: its text stays in the memo file, where nothing names it.
void DeleteNoteRecordOf(const ProgramInstall& install, DWORD record)
{
    CurrentFolder data(install.Path());
    CDbfFile table;
    table.SetTable(DataFilePath(DataName::kNotesTable).c_str(), true);
    table.Open("MAPPINGALL");
    table.DeleteRecord(record);
    table.Close();
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

    auto program = std::make_unique<RunningProgram>(install, "");
    HWND main = WaitForMainWindow(*program);
    ASSERT_NE(main, nullptr);
    DWORD process = program->ProcessId();
    ASSERT_TRUE(ShowsNotes(process, {"Original"}));

    // Two restores in a row: an undo goes back to the notes of before the first.
    std::string told = ReplaceFromSubmenu(main, process, 1, "RestoreInARowFirst");
    EXPECT_TRUE(Contains(told, kRestoreDone)) << told;
    ASSERT_TRUE(ShowsNotes(process, {"From the older backup"}));
    told = ReplaceFromSubmenu(main, process, 0, "RestoreInARowSecond");
    EXPECT_TRUE(Contains(told, kRestoreDone)) << told;
    ASSERT_TRUE(ShowsNotes(process, {"From the newer backup"}));
    EXPECT_TRUE(Contains(UnrestoreFromTrayMenu(main, process), kUnrestoreDone));
    ASSERT_TRUE(ShowsNotes(process, {"Original"}));

    // A restore, then work stored by the end of the run and another start,
    // then a restore: the undo brings the work back, with the restored note
    // it was made beside.
    told = ReplaceFromSubmenu(main, process, 1, "RestoreBeforeStoredWork");
    EXPECT_TRUE(Contains(told, kRestoreDone)) << told;
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
    EXPECT_TRUE(Contains(told, kRestoreDone)) << told;
    ASSERT_TRUE(ShowsNotes(process, {"From the newer backup"}));
    EXPECT_TRUE(Contains(UnrestoreFromTrayMenu(main, process), kUnrestoreDone));
    EXPECT_TRUE(ShowsNotes(process, {"From the older backup", "Stored work"}));
    CloseProgram(install, *program);
}

TEST(RestoreInARow, ANoteAnotherProgramStoresBreaksTheRowAndTheNotesFilesWrittenAnewDoNot)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    FirstRun(install);
    SetBackupOptions(install, false, 7, false, kRowSaveIntervalMinutes);
    for (const std::string& name : BackupFiles(install))
        DeleteFileA(BackupFile(install, name).c_str());
    StoreNote(install, [](CNoteController& note) {
        const char text[] = "{\\rtf1\\ansi Original}";
        note.SetRichText(text, sizeof text - 1);
    });
    // A note deleted earlier leaves its text in the memo file, which the
    // first timed save of the run leaves out.
    DeleteNoteRecordOf(install, StoreNote(install, [](CNoteController& note) {
                           const char text[] = "{\\rtf1\\ansi Deleted earlier}";
                           note.SetRichText(text, sizeof text - 1);
                       }));
    WriteOneNoteBackup(BackupFile(install, kOlderBackup), "From the older backup");
    WriteOneNoteBackup(BackupFile(install, kNewerBackup), "From the newer backup");

    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    // The start sets the timed save's count to nothing as it starts its
    // timers, which it does before it listens: the test's ticks come after.
    ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
    const DWORD process = program.ProcessId();
    ASSERT_TRUE(ShowsNotes(process, {"Original"}));

    // A restore beside the notes, then the run's first timed save, which
    // writes the notes table and its memo file anew with the same notes:
    // the next restore is still one of the row, and the undo goes back to
    // the notes of before the first.
    std::string told = RestoreFromSubmenu(main, process, 1, "RestoreInARowBeforeRebuild", IDC_RESTORE_APPEND);
    EXPECT_TRUE(Contains(told, kRestoreDone)) << told;
    ASSERT_TRUE(ShowsNotes(process, {"Original", "From the older backup"}));
    const std::string memoBefore = ReadWholeFile(install.File("notes.qps"));
    ASSERT_TRUE(Contains(memoBefore, "Deleted earlier"));
    ASSERT_TRUE(TimedSaveInRow(main));
    ASSERT_TRUE(WaitUntil([&] { return !Contains(ReadWholeFile(install.File("notes.qps")), "Deleted earlier"); }))
        << "the memo file was not written anew";
    told = ReplaceFromSubmenu(main, process, 0, "RestoreInARowAfterRebuild");
    EXPECT_TRUE(Contains(told, kRestoreDone)) << told;
    ASSERT_TRUE(ShowsNotes(process, {"From the newer backup"}));
    EXPECT_TRUE(Contains(UnrestoreFromTrayMenu(main, process), kUnrestoreDone));
    ASSERT_TRUE(ShowsNotes(process, {"Original"}));

    // Another program (a second run on the folder, a synchronising tool)
    // stores a note in the table between two restores: the second keeps a
    // copy of its own, and its undo brings back that note with what the
    // first restore made.
    told = ReplaceFromSubmenu(main, process, 1, "RestoreBeforeAnotherProgram");
    EXPECT_TRUE(Contains(told, kRestoreDone)) << told;
    ASSERT_TRUE(ShowsNotes(process, {"From the older backup"}));
    StoreNote(install, [](CNoteController& note) {
        lstrcpynA(note.m_title, "Elsewhere", sizeof note.m_title);
        const char text[] = "{\\rtf1\\ansi Stored by another program}";
        note.SetRichText(text, sizeof text - 1);
    });
    told = ReplaceFromSubmenu(main, process, 0, "RestoreAfterAnotherProgram");
    EXPECT_TRUE(Contains(told, kRestoreDone)) << told;
    ASSERT_TRUE(ShowsNotes(process, {"From the newer backup"}));
    EXPECT_TRUE(Contains(UnrestoreFromTrayMenu(main, process), kUnrestoreDone));
    EXPECT_TRUE(ShowsNotes(process, {"From the older backup", "Stored by another program"}));
    CloseProgram(install, program);
}
