// The rescue backups in the tray's Restore submenu: those of both folders
// where they can be, one written during the run among them, each marked and
// dated, and the one the user picks restored in place of the notes; a
// restore whose own save fails keeps the notes in a rescue backup first.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BackupDriving.h"
#include "globals/MainWindowMessages.h"
#include "resources/ids/RestoreIds.h"
#include "support/HeldFile.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/TextChecks.h"

namespace {
std::vector<std::string> RescueBackupsOf(const ProgramInstall& install)
{
    return FileNamesMatching(install.File("BACKUP\\Unstored *.QPK"));
}

// The entry at that place of the Restore submenu clicked, and the restore
// dialog it opens; null when either did not come. The submenu is kept as a
// picture.
HWND PickRestoreEntry(HWND main, DWORD process, const std::string& layout, size_t entry, const char* picture)
{
    HWND restores = OpenRestoreSubmenu(main, process);
    return restores ? ClickEntryForDialog(restores, process, layout, entry, picture, "Restore notes...") : nullptr;
}

// The timed save's interval in the test. The program's own timer counts
// towards it too, and after each timed save of the test the count stands
// where it stood before, so the program's own save would come only once its
// own ticks made up the interval: ten minutes, longer than any test may run
// before it is ended as hung. With one minute, that save could come between
// the test's steps on a loaded machine.
const long kSaveIntervalMinutes = 10;

// One timed save: the housekeeping ticks (15 seconds each) of its interval,
// sent as the timer sends them.
bool TimedSave(HWND main)
{
    for (int tick = 0; tick < 4 * kSaveIntervalMinutes; ++tick) {
        if (!SendWithTimeout(main, WM_TIMER, kTimerHousekeeping, 0))
            return false;
    }
    return true;
}
}

TEST(RescueRestore, TheRestoreSubmenuOffersTheRescueBackupsOfBothFoldersAndRestoresThePickedOne)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    FirstRun(install);
    // No daily backup among the entries; timed saves only when the test
    // sends their ticks.
    SetBackupOptions(install, false, 7, false, kSaveIntervalMinutes);
    StoreNote(install, [](CNoteController& note) {
        lstrcpynA(note.m_title, "Kept", sizeof note.m_title);
        note.m_left = 200;
        note.m_top = 150;
        const char text[] = "{\\rtf1\\ansi Kept note}";
        note.SetRichText(text, sizeof text - 1);
    });
    // A rescue backup of an earlier run that the backup folder could not take.
    BackupNote earlier;
    earlier.title = "Earlier";
    earlier.content = "{\\rtf1\\ansi From the data folder}";
    WriteBackupFile(install.File("Unstored 20250301101500.QPK"), {earlier});

    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    // The start sets the timed save's count to nothing as it starts its
    // timers, and it handles messages before that: the ticks wait until it
    // listens, which it does after.
    ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
    const DWORD process = program.ProcessId();
    HWND note = WaitForNoteWithText(process, "Kept note");
    ASSERT_NE(note, nullptr);
    // The first timed save of a run writes the notes' files afresh; the
    // later ones, like the one below, store the changes.
    ASSERT_TRUE(TimedSave(main));
    TypeAtStart(note, "Edited ");
    ASSERT_NE(WaitForNoteWithText(process, "Edited Kept note"), nullptr);
    std::string whileHeld;
    {
        // Another program holds the notes table, so that it cannot even be
        // read: the timed save cannot store the edit, which is in a rescue
        // backup at once.
        HeldFile holder(install.File("notes.QPD"), kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());
        ASSERT_TRUE(TimedSave(main));
        ASSERT_EQ(RescueBackupsOf(install).size(), 1u);
        whileHeld = RescueBackupsOf(install)[0];
        TypeAtStart(note, "Newer ");
        ASSERT_NE(WaitForNoteWithText(process, "Newer Edited Kept note"), nullptr);

        // The submenu lists it, written during the run, and the older one of
        // the data folder, above the dated backup of the first run's end.
        // Restoring it needs the notes saved first, which cannot be: nothing
        // is restored, and the box names the rescue backup that now holds the
        // newer text.
        HWND dialog = PickRestoreEntry(main, process, "ii-i", 0, "RestoreSubmenuWithRescueBackups");
        ASSERT_NE(dialog, nullptr);
        const std::string question = ReadWindowText(GetDlgItem(dialog, IDC_RESTORE_QUESTION));
        EXPECT_TRUE(Contains(question, " (unstored) ?")) << question;
        EXPECT_TRUE(IsDlgButtonChecked(dialog, IDC_RESTORE_REPLACE));
        ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
        const std::string told = AcknowledgeProgramBox(process);
        EXPECT_TRUE(Contains(told, "Your notes could not be saved before the restore")) << told;
        EXPECT_TRUE(Contains(told, "Nothing was restored")) << told;
        const std::vector<std::string> rescues = RescueBackupsOf(install);
        ASSERT_EQ(rescues.size(), 2u);
        const std::string newer = rescues[0] == whileHeld ? rescues[1] : rescues[0];
        EXPECT_TRUE(Contains(told, "\\BACKUP\\" + newer)) << told;
        EXPECT_TRUE(Contains(ReadWholeFile(install.File("BACKUP\\" + newer)), "Newer Edited Kept note"));
        EXPECT_NE(NoteWithText(process, "Newer Edited Kept note"), nullptr);
    }

    // The table free, the one written by the timed save, second of the
    // three rescue backups now, is picked: its note comes back in place of the one there
    // was, and the restore can be undone.
    HWND dialog = PickRestoreEntry(main, process, "iii-i", 1, "RestoreSubmenuPickingARescueBackup");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsDlgButtonChecked(dialog, IDC_RESTORE_REPLACE));
    ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
    EXPECT_TRUE(Contains(AcknowledgeProgramBox(process), "The restore operation has been successfully"));
    EXPECT_NE(WaitForNoteWithText(process, "Edited Kept note"), nullptr);
    EXPECT_EQ(NoteWithText(process, "Newer Edited Kept note"), nullptr);
    EXPECT_TRUE(FileExists(install.File("BACKUP\\UNRESTORE\\notes.qpd")));
    CloseProgram(install, program);
}
