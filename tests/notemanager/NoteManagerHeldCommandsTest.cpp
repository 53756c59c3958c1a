// The Note Manager's Duplicate and "Associate notes with..." while another
// program holds the notes table or its memo file, driven from the list's
// menu as a user drives them. Duplicate on fifteen changed notes meets the
// file once, keeps every copy and edit in the rescue backup as it ends, and
// the next start after a crash brings them all back. Associate on new notes
// says in one box that the notes could not be saved first and names the
// file; with nothing held its dialog opens.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/FileHelpers.h"
#include "notemanager/NoteManagerDriving.h"
#include "store/FileStepRetries.h"
#include "support/DialogClicks.h"
#include "support/HeldFile.h"
#include "support/ListViewDriving.h"
#include "support/NoteDriving.h"
#include "support/RescueFiles.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/TextChecks.h"
#include "support/bytes/Occurrences.h"

namespace {
const int kCopiedNotes = 15;
const char kCopiedEdit[] = "Typed ";
const char kStepTries[] = " Iteration ";
const char kGivenUpInAction[] = "given up for the rest of this action";
// Items of the list's menu, separators not counted.
const size_t kAssociateMenuItem = 4;
const size_t kDuplicateMenuItem = 9;
const int kCommandsTextColumn = 2;
const char kAssociateDialogTitle[] = "Associate note with applications";

std::string CopiedTitle(int number)
{
    char title[32];
    std::snprintf(title, sizeof title, "Copied note %02d", number);
    return title;
}

std::string CommandsErrorLog(const ProgramInstall& install)
{
    return ReadWholeFile(install.File("error.txt"));
}

// The one rescue backup of the install once it holds each text at least that
// many times; empty when none came to within the time.
std::string RescueHoldingEach(const ProgramInstall& install, const std::vector<std::string>& texts, size_t times)
{
    std::string found;
    WaitUntil([&] {
        const std::vector<std::string> rescues = FileNamesMatching(install.File("BACKUP\\Unstored *.QPK"));
        if (rescues.size() != 1)
            return false;
        const std::string kept = ReadWholeFile(install.File("BACKUP\\" + rescues[0]));
        for (const std::string& text : texts) {
            if (Occurrences(kept, text) < times)
                return false;
        }
        found = rescues[0];
        return true;
    });
    return found;
}

size_t StoredNotesHaving(const StoredNoteList& stored, const std::string& text)
{
    size_t count = 0;
    for (const auto& note : stored)
        count += Contains(note->RichText(), text) ? 1 : 0;
    return count;
}

// Fifteen stored notes, a word typed into each, the file held sharing
// nothing, then Note Manager > Ctrl+A > Duplicate from the list's menu; the
// program ended as a crash ends it. The next start offers the rescue backup,
// and its Yes brings back every edit and every copy.
void DuplicateWhileHeld(const std::string& held)
{
    ProgramInstall install("nmdup");
    install.AddInstalledDataFiles();
    std::vector<TestNote> notes;
    std::vector<std::string> titles, edited;
    for (int number = 1; number <= kCopiedNotes; ++number) {
        titles.push_back(CopiedTitle(number));
        edited.push_back(kCopiedEdit + titles.back());
        notes.emplace_back(titles.back());
    }
    StoreTestNotes(install, notes);
    // No timed save comes while the test runs.
    SetAutoSaveInterval(install.Path(), 5);
    std::string rescue;
    {
        HeldFile holder;
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        NoteManagerWindow manager(process);
        // The fifteen notes and the welcome note.
        HWND main = manager.OpenFromTrayListing(program, kCopiedNotes + 1);
        ASSERT_NE(main, nullptr);
        for (size_t i = 0; i < titles.size(); ++i) {
            TypeAtStart(WaitForNoteWithText(process, titles[i]), kCopiedEdit);
            ASSERT_NE(WaitForNoteWithText(process, edited[i]), nullptr) << titles[i];
        }
        ASSERT_TRUE(holder.Hold(install.File(held), kHolderSharesNothing));

        manager.PressCtrlToList('A');
        ASSERT_TRUE(WaitUntil([&] { return manager.StatusText().rfind("16 notes are selected", 0) == 0; }))
            << manager.StatusText();
        ASSERT_TRUE(manager.ChooseInListMenuByMenuKey(kDuplicateMenuItem, "note-manager-duplicate-menu"));
        EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 2 * (kCopiedNotes + 1); })) << manager.Rows();
        // Each edit twice, in its note and in the copy.
        rescue = RescueHoldingEach(install, edited, 2);
        ASSERT_FALSE(rescue.empty());
        ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
        EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
        const std::string log = CommandsErrorLog(install);
        EXPECT_EQ(Occurrences(log, kStepTries), static_cast<size_t>(kFileStepTries)) << log;
        EXPECT_EQ(Occurrences(log, kGivenUpInAction), 1u) << log;
        EXPECT_TRUE(Contains(log, "a command on notes could not store every change")) << log;
        // Here the program is ended as a crash ends it, the file still held.
    }
    StoredNoteList stored = LoadEveryNote(install.Path());
    for (const std::string& text : edited)
        EXPECT_EQ(StoredNotesHaving(stored, text), 0u) << text;

    TakeTheRescueOfferedAtStart(install, rescue);
    stored = LoadEveryNote(install.Path());
    for (const std::string& text : edited)
        EXPECT_EQ(StoredNotesHaving(stored, text), 2u) << text;
    EXPECT_EQ(stored.size(), static_cast<size_t>(2 * (kCopiedNotes + 1)));
}

const int kUnstoredNotes = 3;

std::string UnstoredText(int number)
{
    return "Unstored to associate " + std::to_string(number);
}

// The rows whose text starts with the words.
std::vector<int> RowsOfUnstoredText(const NoteManagerWindow& manager, const std::string& words)
{
    std::vector<int> rows;
    const std::vector<std::string> texts = manager.Column(kCommandsTextColumn);
    for (size_t row = 0; row < texts.size(); ++row)
        if (texts[row].rfind(words, 0) == 0)
            rows.push_back(static_cast<int>(row));
    return rows;
}

HWND AssociateDialogOf(DWORD process)
{
    HWND dialog = FindTopWindowTitled("#32770", kAssociateDialogTitle, process);
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

// Three new notes, typed in and never stored, chosen in the Note Manager and
// associated from the list's menu while the file is held: one box names the
// file, and no dialog comes; once the file is free, the dialog opens.
void AssociateWhileHeld(const std::string& held, const char* picture)
{
    ProgramInstall install("nmassoc");
    install.AddInstalledDataFiles();
    SetAutoSaveInterval(install.Path(), 5);
    HeldFile holder;
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ASSERT_TRUE(WaitForTheStartsFocus(process));
    std::vector<std::string> texts;
    for (int number = 1; number <= kUnstoredNotes; ++number) {
        texts.push_back(UnstoredText(number));
        HWND note = NewNoteFromMainWindow(main, process);
        TypeAtStart(note, texts.back());
        ASSERT_EQ(WaitForNoteWithText(process, texts.back()), note) << texts.back();
    }
    NoteManagerWindow manager(process);
    ASSERT_NE(manager.OpenFromTray(program), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return RowsOfUnstoredText(manager, "Unstored to associate").size() == kUnstoredNotes; }));
    SelectListRows(process, manager.List(), RowsOfUnstoredText(manager, "Unstored to associate"));
    ASSERT_TRUE(WaitUntil([&] { return manager.StatusText().rfind("3 notes are selected", 0) == 0; }))
        << manager.StatusText();
    ASSERT_TRUE(holder.Hold(install.File(held), kHolderSharesNothing));

    ASSERT_TRUE(manager.ChooseInListMenuByMenuKey(kAssociateMenuItem, "note-manager-associate-menu"));
    ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(box.window, nullptr);
    EXPECT_TRUE(Contains(box.text, "The note could not be associated with applications, since it could not be saved "
                                   "first; another program is using " +
                                       held + ".\r\n\r\nPlease close that program and try again."))
        << box.text;
    EXPECT_TRUE(Contains(box.text, "The notes selected after it were not associated either.")) << box.text;
    EXPECT_TRUE(SaveScreenshotOf(box.window, picture));
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
    EXPECT_EQ(AssociateDialogOf(process), nullptr);
    const std::string log = CommandsErrorLog(install);
    EXPECT_EQ(Occurrences(log, kStepTries), static_cast<size_t>(kFileStepTries)) << log;
    EXPECT_EQ(Occurrences(log, kGivenUpInAction), 1u) << log;
    // The new notes it could not store are in the rescue backup.
    EXPECT_FALSE(RescueHoldingEach(install, texts, 1).empty());

    // The other program lets go: the same command opens the dialog.
    holder.Release();
    ASSERT_TRUE(manager.ChooseInListMenuByMenuKey(kAssociateMenuItem, "note-manager-associate-menu-free"));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = AssociateDialogOf(process)) != nullptr; }));
    EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
    ASSERT_TRUE(ClickDialogButton(dialog, IDCANCEL));
    ASSERT_TRUE(WaitUntil([&] { return AssociateDialogOf(process) == nullptr; }));
    ASSERT_TRUE(manager.Close());
    CloseProgram(install, program);
}
}

TEST(NoteManagerHeldCommands, DuplicateWithTheTableHeldKeepsEveryCopyAndEditForTheNextStart)
{
    DuplicateWhileHeld("notes.QPD");
}

TEST(NoteManagerHeldCommands, DuplicateWithTheMemoFileHeldKeepsEveryCopyAndEditForTheNextStart)
{
    DuplicateWhileHeld("notes.qps");
}

TEST(NoteManagerHeldCommands, AssociateWithTheTableHeldNamesItInOneBox)
{
    AssociateWhileHeld("notes.QPD", "AssociateWhileTheNotesTableIsHeld");
}

TEST(NoteManagerHeldCommands, AssociateWithTheMemoFileHeldNamesItInOneBox)
{
    AssociateWhileHeld("notes.qps", "AssociateWhileTheMemoFileIsHeld");
}
