// The rescue backups in the tray's Restore submenu: those of both folders
// where they can be, one written during the run among them, each marked and
// dated, and the one the user picks restored in place of the notes; a
// restore whose own save fails keeps the notes in a rescue backup first; a
// rescue records the write of the notes table it was measured against, and
// the start's offer and its Yes judge it by that; one cut short by a crash
// is never offered nor listed, and the next start removes it unless another
// running program holds it.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BackupDriving.h"
#include "RescueDriving.h"
#include "globals/MainWindowMessages.h"
#include "resources/ids/RestoreIds.h"
#include "support/ExtraTries.h"
#include "support/HeldFile.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/RescueFiles.h"
#include "support/Screenshot.h"
#include "support/TextChecks.h"
#include "xmlfiles/bytes/BackupNames.h"

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

}

TEST(RescueRestore, TheRestoreSubmenuOffersTheRescueBackupsOfBothFoldersAndRestoresThePickedOne)
{
    ProgramInstall install;
    InstallWithKeptNote(install);
    // A rescue backup of an earlier run that the backup folder could not take.
    BackupNote earlier;
    earlier.title = "Earlier";
    earlier.content = "{\\rtf1\\ansi From the data folder}";
    WriteBackupFile(install.File("Unstored 20250301101500.QPK"), {earlier});

    RunningProgram program(install, "");
    HWND main = StartAndEditKeptNote(install, program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    HWND note = NoteWithText(process, "Edited Kept note");
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

namespace {
unsigned long long TableWriteTime(const ProgramInstall& install)
{
    WIN32_FILE_ATTRIBUTE_DATA table{};
    if (!GetFileAttributesExA(install.File("notes.QPD").c_str(), GetFileExInfoStandard, &table))
        return 0;
    return (static_cast<unsigned long long>(table.ftLastWriteTime.dwHighDateTime) << 32) |
           table.ftLastWriteTime.dwLowDateTime;
}

// The write of the notes table the rescue backup records, 0 when it records none.
unsigned long long RecordedTableTime(const ProgramInstall& install, const std::string& rescueName)
{
    unsigned long long recorded = 0;
    return ReadRescueTableTime(ReadWholeFile(install.File("BACKUP\\" + rescueName)), recorded) ? recorded : 0;
}

// The notes table written an hour later, its notes as they were: what a save
// that stored a note unchanged leaves.
bool TableWrittenLater(const ProgramInstall& install)
{
    HANDLE table = CreateFileA(install.File("notes.QPD").c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (table == INVALID_HANDLE_VALUE)
        return false;
    FILETIME written{};
    bool set = GetFileTime(table, nullptr, nullptr, &written) != FALSE;
    ULARGE_INTEGER later{};
    later.LowPart = written.dwLowDateTime;
    later.HighPart = written.dwHighDateTime;
    later.QuadPart += 36000000000ULL;  // an hour, in 100 ns
    written.dwLowDateTime = later.LowPart;
    written.dwHighDateTime = later.HighPart;
    set = set && SetFileTime(table, nullptr, nullptr, &written);
    CloseHandle(table);
    return set;
}

// The next start offers the rescue backup, and its Yes proposes it in place
// of the notes, since nothing was stored after it; the restore brings back
// the edit it holds.
void ExpectOfferedAndRestoredInPlace(ProgramInstall& install, const std::string& rescue)
{
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    const DWORD process = program.ProcessId();
    const std::string offer = AnswerProgramBox(process, IDYES);
    EXPECT_TRUE(Contains(offer, "\\BACKUP\\" + rescue + "\r\n")) << offer;
    HWND dialog = WaitForDialog(process, "Restore notes...");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RESTORE_REPLACE), BST_CHECKED);
    const std::string explanation = ReadWindowText(GetDlgItem(dialog, IDC_RESTORE_EXPLANATION));
    EXPECT_FALSE(Contains(explanation, "Notes were stored after")) << explanation;
    ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
    EXPECT_TRUE(Contains(AcknowledgeProgramBox(process), "The restore operation has been successfully"));
    EXPECT_NE(WaitForNoteWithText(process, "Edited Kept note"), nullptr);
    CloseProgram(install, program);
}
}

TEST(RescueRestore, ARescueIsJudgedByTheTableWriteItRecordsAndIsListedOnlyOnceWhole)
{
    ProgramInstall install;
    InstallWithKeptNote(install);
    std::string rescue;
    {
        HeldFile holder;
        RunningProgram program(install, "");
        HWND main = StartAndEditKeptNote(install, program);
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(holder.Hold(install.File("notes.QPD"), kHolderSharesNothing));
        ASSERT_TRUE(TimedSave(main));
        ASSERT_EQ(RescueBackupsOf(install).size(), 1u);
        rescue = RescueBackupsOf(install)[0];
        EXPECT_EQ(RecordedTableTime(install, rescue), TableWriteTime(install));
        holder.Release();
        // A save wrote the table since, the notes as they were; the next
        // timed save again cannot store the edit: the same file records
        // that later write, made whole beside it before it took its place.
        ASSERT_TRUE(TableWrittenLater(install));
        const unsigned long long later = TableWriteTime(install);
        ASSERT_TRUE(holder.Hold(install.File("notes.QPD"), kHolderSharesNothing));
        ASSERT_TRUE(TimedSave(main));
        EXPECT_EQ(RescueBackupsOf(install), std::vector<std::string>{rescue});
        EXPECT_EQ(RecordedTableTime(install, rescue), later);
        EXPECT_TRUE(Contains(ReadWholeFile(install.File("BACKUP\\" + rescue)), "Edited Kept note"));
        EXPECT_TRUE(FileNamesMatching(install.File("BACKUP\\*.tmp")).empty());
        // Ended as a crash ends it, before the table is free.
    }

    // The start offers the file, and its Yes proposes it in place of the
    // notes, judged by the same record: nothing was stored after it.
    ExpectOfferedAndRestoredInPlace(install, rescue);
}

// A rescue backup and its mark as an earlier version leaves them, the file
// recording no write of the notes table: the mark's record judges it. Nothing
// was stored since, so the start offers it, and its Yes proposes it in place
// of the notes.
TEST(RescueRestore, ARescueThatRecordsNothingIsJudgedByItsMark)
{
    ProgramInstall install;
    InstallWithKeptNote(install);
    std::string rescue;
    {
        HeldFile holder;
        RunningProgram program(install, "");
        HWND main = StartAndEditKeptNote(install, program);
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(holder.Hold(install.File("notes.QPD"), kHolderSharesNothing));
        ASSERT_TRUE(TimedSave(main));
        ASSERT_EQ(RescueBackupsOf(install).size(), 1u);
        rescue = RescueBackupsOf(install)[0];
        // Ended as a crash ends it, before the table is free.
    }
    const std::string path = install.File("BACKUP\\" + rescue);
    std::string bytes = ReadWholeFile(path);
    const size_t record = bytes.find("<!--" + RescueTableTimeComment(RecordedTableTime(install, rescue)) + "-->");
    ASSERT_NE(record, std::string::npos);
    const size_t lineStart = bytes.rfind("\r\n", record) + 2;
    bytes.erase(lineStart, bytes.find("\r\n", record) + 2 - lineStart);
    WriteWholeFile(path, bytes);
    ASSERT_EQ(RecordedTableTime(install, rescue), 0u);
    ASSERT_TRUE(Contains(bytes, "Edited Kept note"));
    ASSERT_EQ(RescueMarksIn(install.File("BACKUP")).size(), 1u);

    ExpectOfferedAndRestoredInPlace(install, rescue);
    EXPECT_TRUE(RescueMarksIn(install.File("BACKUP")).empty()) << "answered";
}

namespace {
const char kBeingWritten[] = "BACKUP\\Unstored being written *.tmp";

// How error.txt tells that the start removed the file of that name, which a
// crash left being written.
std::string RemovalOfCutShort(const ProgramInstall& install, const std::string& name)
{
    return install.File("BACKUP\\" + name) + ", a rescue backup cut short when the program ended, was removed\r\n";
}

}

// A rescue backup cut short when the program ended is never offered nor
// listed, the older whole one is, and brings its note back; the next start
// removes the file cut short, but never one that another running program
// holds, nor a file of the user's that is named alike.
TEST(RescueRestore, ARescueCutShortIsNeverOfferedAndTheNextStartRemovesIt)
{
    ProgramInstall install;
    InstallWithKeptNote(install);
    std::string older, olderBytes;
    {
        HeldFile holder;
        RunningProgram program(install, "");
        HWND main = StartAndEditKeptNote(install, program);
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(holder.Hold(install.File("notes.QPD"), kHolderSharesNothing));
        ASSERT_TRUE(TimedSave(main));
        ASSERT_EQ(RescueBackupsOf(install).size(), 1u);
        older = RescueBackupsOf(install)[0];
        olderBytes = ReadWholeFile(install.File("BACKUP\\" + older));
        EXPECT_TRUE(FileNamesMatching(install.File(kBeingWritten)).empty());
        // Ended as a crash ends it, before the table is free.
    }
    // What a crash in the middle of the next rescue leaves: its first half
    // under the name it is written by. Another running program writes its
    // rescue backup into the same folder now; a file of the user's own is
    // named alike.
    const std::string leftName = "Unstored being written 3F9A0C1B2D4E.tmp";
    const std::string othersName = "Unstored being written 0123456789AB.tmp";
    const std::string usersName = "Unstored being written by hand.tmp";
    WriteWholeFile(install.File("BACKUP\\" + leftName), olderBytes.substr(0, olderBytes.size() / 2));
    WriteWholeFile(install.File("BACKUP\\" + othersName), "being written");
    WriteWholeFile(install.File("BACKUP\\" + usersName), "the user's own");
    HeldFile others(install.File("BACKUP\\" + othersName), kHolderSharesReading, GENERIC_WRITE);
    ASSERT_TRUE(others.Held());

    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ShownMessageBox offer = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(offer.window, nullptr);
    EXPECT_TRUE(Contains(offer.text, "\\BACKUP\\" + older + "\r\n")) << offer.text;
    // By the offer the start has removed what the crash left, and only that.
    EXPECT_EQ(FileNamesMatching(install.File(kBeingWritten)), (std::vector<std::string>{othersName, usersName}));
    EXPECT_TRUE(Contains(ReadWholeFile(install.File("error.txt")), RemovalOfCutShort(install, leftName)));
    EXPECT_EQ(ReadWholeFile(install.File("BACKUP\\" + older)), olderBytes);
    ASSERT_TRUE(RestoreTheOffered(offer, process));
    EXPECT_NE(WaitForNoteWithText(process, "Edited Kept note"), nullptr);

    // The Restore submenu lists the one rescue backup above the backup of
    // the first run's end, and no file being written.
    HWND restores = OpenRestoreSubmenu(main, process);
    ASSERT_NE(restores, nullptr);
    EXPECT_TRUE(MenuPicture(restores, "i-i").Fits());
    EXPECT_TRUE(SaveScreenshotOf(restores, "RestoreSubmenuBesideFilesBeingWritten"));
    EXPECT_TRUE(CloseMenus(process));
    CloseProgram(install, program);
    EXPECT_EQ(ReadWholeFile(install.File("BACKUP\\" + usersName)), "the user's own");
}

namespace {
// Notes enough that the rescue backup of them takes the program a moment to
// write, hidden, so that the start shows the kept note alone.
const int kManyNotes = 500;
// Tries of the end in the middle of that write, each on an install of its own.
const int kCrashTries = 3;

void StoreManyHiddenNotes(const ProgramInstall& install)
{
    const std::string words(300, 'w');
    for (int number = 1; number <= kManyNotes; ++number) {
        StoreNote(install, [&](CNoteController& note) {
            const std::string title = "Stored " + std::to_string(number);
            lstrcpynA(note.m_title, title.c_str(), sizeof note.m_title);
            note.m_hidden = true;
            const std::string text = "{\\rtf1\\ansi " + title + " " + words + "}";
            note.SetRichText(text.data(), text.size());
        });
    }
}

struct RescueCutShortByACrash {
    std::string whole, wholeBytes;  // the rescue backup the first timed save wrote
    std::string left, leftBytes;    // the file of the next one, being written at the end
};

// The program on its own install: the edit in a whole rescue backup, a
// second edit, and the timed save that keeps both: its ticks go from a thread
// of their own while this one looks for the file being written without a
// pause, and ends the program as a crash ends it the moment it is there. What
// the try saw instead when the file had taken its name first.
void EndInTheSecondRescuesWrite(ProgramInstall& install, RescueCutShortByACrash& found, std::string& missed)
{
    InstallWithKeptNote(install);
    StoreManyHiddenNotes(install);
    HeldFile holder;
    RunningProgram program(install, "");
    HWND main = StartAndEditKeptNote(install, program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ASSERT_TRUE(holder.Hold(install.File("notes.QPD"), kHolderSharesNothing));
    ASSERT_TRUE(TimedSave(main));
    ASSERT_EQ(RescueBackupsOf(install).size(), 1u);
    found.whole = RescueBackupsOf(install)[0];
    found.wholeBytes = ReadWholeFile(install.File("BACKUP\\" + found.whole));
    TypeAtStart(NoteWithText(process, "Edited Kept note"), "Second ");
    ASSERT_NE(WaitForNoteWithText(process, "Second Edited Kept note"), nullptr);

    std::atomic<bool> saved(false);
    std::thread ticks([&] {
        TimedSave(main);
        saved = true;
    });
    std::vector<std::string> writing;
    const DWORD start = GetTickCount();
    while (writing.empty() && !saved && GetTickCount() - start < kDriverWaitMs)
        writing = FileNamesMatching(install.File(kBeingWritten));
    if (!writing.empty())
        program.EndAsACrash();
    ticks.join();
    const std::vector<std::string> left = FileNamesMatching(install.File(kBeingWritten));
    if (left.empty()) {
        missed = writing.empty() ? "the save named its rescue backup before a look found it being written"
                                 : "the rescue backup took its name between the look that found it and the end";
        return;
    }
    ASSERT_EQ(left.size(), 1u);
    found.left = left[0];
    found.leftBytes = ReadWholeFile(install.File("BACKUP\\" + found.left));
}
}

// The program ended by a crash while it writes a rescue backup leaves the
// file being written beside the older whole one, untouched. The next start
// tells by the file's end whether it was written whole: one cut short is
// removed and the older one offered, whose Yes brings back the edit it holds;
// one written whole takes a dated name and is offered, and its Yes brings
// back the second edit too. The Restore submenu lists no file being written.
TEST(RescueRestore, ACrashInTheMiddleOfARescuesWriteLeavesTheOlderOneToBeOffered)
{
    std::unique_ptr<ProgramInstall> install;
    RescueCutShortByACrash found;
    for (int attempt = 1; attempt <= kCrashTries && found.left.empty(); ++attempt) {
        install.reset(new ProgramInstall);
        std::string missed;
        EndInTheSecondRescuesWrite(*install, found, missed);
        ASSERT_FALSE(HasFatalFailure());
        if (!missed.empty())
            ReportExtraTry("the end in the middle of a rescue's write", attempt, missed);
    }
    ASSERT_FALSE(found.left.empty()) << "no try ended the program while it wrote its rescue backup";
    // The file being written never holds the whole older one, which stays
    // as it was.
    EXPECT_NE(found.leftBytes, found.wholeBytes);
    EXPECT_EQ(RescueBackupsOf(*install), std::vector<std::string>{found.whole});
    EXPECT_EQ(ReadWholeFile(install->File("BACKUP\\" + found.whole)), found.wholeBytes);
    const bool leftWhole = EndsAsWholeRescueBackup(found.leftBytes);
    EXPECT_EQ(leftWhole, Contains(found.leftBytes, "Second Edited Kept note"));

    RunningProgram program(*install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ShownMessageBox offer = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(offer.window, nullptr);
    EXPECT_TRUE(FileNamesMatching(install->File(kBeingWritten)).empty());
    const std::string log = ReadWholeFile(install->File("error.txt"));
    const std::vector<std::string> rescues = RescueBackupsOf(*install);
    if (leftWhole) {
        // The left file took a dated name, and is the one offered.
        ASSERT_EQ(rescues.size(), 2u);
        const std::string named = rescues[0] == found.whole ? rescues[1] : rescues[0];
        EXPECT_EQ(ReadWholeFile(install->File("BACKUP\\" + named)), found.leftBytes);
        EXPECT_TRUE(Contains(offer.text, "\\BACKUP\\" + named + "\r\n")) << offer.text;
        EXPECT_TRUE(Contains(log, install->File("BACKUP\\" + found.left) +
                                      ", a rescue backup written whole when the program ended, was named " +
                                      install->File("BACKUP\\" + named) + "\r\n"))
            << log;
    } else {
        EXPECT_EQ(rescues, std::vector<std::string>{found.whole});
        EXPECT_TRUE(Contains(offer.text, "\\BACKUP\\" + found.whole + "\r\n")) << offer.text;
        EXPECT_FALSE(Contains(offer.text, found.left)) << offer.text;
        EXPECT_TRUE(Contains(log, RemovalOfCutShort(*install, found.left)));
    }
    ASSERT_TRUE(AnswerMessageBox(offer, IDYES));
    HWND dialog = WaitForDialog(process, "Restore notes...");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RESTORE_REPLACE), BST_CHECKED);
    ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
    const std::string told = AcknowledgeProgramBox(process);
    ASSERT_TRUE(Contains(told, "The restore operation has been successfully")) << told;
    EXPECT_NE(WaitForNoteWithText(process, leftWhole ? "Second Edited Kept note" : "Edited Kept note"), nullptr);
    EXPECT_EQ(NoteWithText(process, leftWhole ? "Edited Kept note" : "Second Edited Kept note"), nullptr);

    HWND restores = OpenRestoreSubmenu(main, process);
    ASSERT_NE(restores, nullptr);
    EXPECT_TRUE(MenuPicture(restores, leftWhole ? "ii-i" : "i-i").Fits());
    EXPECT_TRUE(CloseMenus(process));
    CloseProgram(*install, program);
}
