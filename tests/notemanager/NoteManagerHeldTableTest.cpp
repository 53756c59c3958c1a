// The Note Manager's Hide and Lock on fifty changed notes while another
// program holds the notes table: each command meets the table once, Hide
// keeps the edits in the rescue backup as it ends, Lock says so in one box
// that names the file, and every edit is stored once the table is free again.
// A group's hotkey that hides changed notes of the group, and "Assign to
// group" on fifty new notes, keep what they could not store in the rescue
// backup, which the next start after a crash offers and brings back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "foundation/FileHelpers.h"
#include "globals/MainWindowMessages.h"
#include "noteprops/ProtectedContent.h"
#include "noteprops/bytes/ProtectedBody.h"
#include "notemanager/NoteManagerDriving.h"
#include "resources/ids/NoteManagerIds.h"
#include "store/FileStepRetries.h"
#include "support/HeldFile.h"
#include "support/ListViewDriving.h"
#include "support/NoteDriving.h"
#include "support/ProtectedUser.h"
#include "support/RescueFiles.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/TextChecks.h"
#include "support/bytes/Occurrences.h"

namespace {
const int kOncePerRun = 1;
const int kChangedNotes = 50;
const char kTries[] = " Iteration ";
// What a save logs when its copy of the table failed, after the tries.
const char kFailedCopy[] = "Error copying notes.qpd";
const char kEdit[] = "Changed ";

std::string TitleOf(int number)
{
    char title[32];
    std::snprintf(title, sizeof title, "Held note %02d", number);
    return title;
}

std::string ErrorLog(const ProgramInstall& install)
{
    return ReadWholeFile(install.File("error.txt"));
}

// The text of a stored locked note (read, it shows the placeholder and keeps
// its enciphered body), opened with the user's password.
std::string OpenedText(const CNoteController& note)
{
    std::string rtf;
    const std::string& body = note.m_protectedContent;
    return OpenProtectedBody(body.data(), body.size(), kSecretPasswordText, ContentDigestText, rtf) ==
                   ProtectedBodyResult::kOpened
               ? rtf
               : std::string();
}
}

TEST(NoteManagerHeldTable, HideAndLockOfFiftyChangedNotesMeetTheHeldTableOnceAndKeepEveryEdit)
{
    ProgramInstall install("nmheld");
    install.AddInstalledDataFiles();
    PrepareProtectingUser(install, kOncePerRun);
    std::vector<TestNote> notes;
    std::vector<std::string> titles;
    for (int number = 1; number <= kChangedNotes; ++number) {
        titles.push_back(TitleOf(number));
        notes.emplace_back(titles.back());
    }
    StoreTestNotes(install, notes);

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    // The fifty notes and the welcome note.
    HWND main = manager.OpenFromTrayListing(program, kChangedNotes + 1);
    ASSERT_NE(main, nullptr);
    std::vector<HWND> changed;
    for (const std::string& title : titles) {
        TypeAtStart(WaitForNoteWithText(process, title), kEdit);
        changed.push_back(WaitForNoteWithText(process, kEdit + title));
        ASSERT_NE(changed.back(), nullptr) << title;
    }
    HeldFile holder(install.File("notes.QPD"), kHolderSharesNothing);
    ASSERT_TRUE(holder.Held());

    // Hide: every note goes out of sight, each saved as it goes; the table
    // costs one round of tries, and no box comes.
    manager.SelectTitles(titles);
    ASSERT_TRUE(WaitUntil([&] { return manager.StatusText().rfind("50 notes are selected", 0) == 0; }))
        << manager.StatusText();
    manager.PressCtrlToList('H');
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND note : changed) {
            if (IsWindowVisible(note))
                return false;
        }
        return true;
    }));
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    std::string log = ErrorLog(install);
    EXPECT_EQ(Occurrences(log, kTries), static_cast<size_t>(kFileStepTries)) << log;
    EXPECT_EQ(Occurrences(log, "given up for the rest of this action"), 1u) << log;
    EXPECT_EQ(Occurrences(log, kFailedCopy), static_cast<size_t>(kChangedNotes)) << "each note not stored, once";
    EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
    // What it could not store is in the rescue backup as it ends.
    const std::vector<std::string> rescues = FileNamesMatching(install.File("BACKUP\\Unstored *.QPK"));
    ASSERT_EQ(rescues.size(), 1u);
    const std::string kept = ReadWholeFile(install.File("BACKUP\\" + rescues[0]));
    for (const std::string& title : titles)
        EXPECT_TRUE(Contains(kept, kEdit + title)) << title;

    // Lock: the fifty notes are locked, and their one save meets the table
    // once; one box says so and names the file.
    manager.PressCtrlToList('L');
    ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(box.window, nullptr);
    EXPECT_TRUE(Contains(box.text, "The 50 notes are locked, but your notes could not be saved now; another program "
                                   "is using notes.QPD."))
        << box.text;
    EXPECT_TRUE(SaveScreenshotOf(box.window, "LockWhileTheNotesTableIsHeld"));
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
    log = ErrorLog(install);
    EXPECT_EQ(Occurrences(log, kTries), static_cast<size_t>(2 * kFileStepTries)) << log;
    EXPECT_EQ(Occurrences(log, "given up for the rest of this action"), 2u) << log;
    EXPECT_EQ(Occurrences(log, kFailedCopy), static_cast<size_t>(kChangedNotes + 1)) << log;

    // The other program lets go; the end stores every edit, the notes hidden
    // and locked.
    holder.Release();
    ASSERT_TRUE(manager.Close());
    CloseProgram(install, program);
    const StoredNoteList stored = LoadEveryNote(install.Path());
    for (const std::string& title : titles) {
        const CNoteController* note = StoredNoteTitled(stored, title.c_str());
        ASSERT_NE(note, nullptr) << title;
        EXPECT_TRUE(note->m_hidden) << title;
        EXPECT_TRUE(note->m_protected) << title;
        EXPECT_TRUE(Contains(OpenedText(*note), kEdit + title)) << title;
    }
}

namespace {
const int kNewNotes = 50;
const DWORD kPersonal = 4, kReferences = 5;
// "Personal" in the list menu's "Assign to group", after "None" and "Business".
const size_t kPersonalItem = 2;
const int kHeldTextColumn = 2;
const int kHeldGroupColumn = 5;

std::string NewNoteText(int number)
{
    char text[32];
    std::snprintf(text, sizeof text, "New note %02d", number);
    return text;
}

std::vector<std::string> RescueBackups(const ProgramInstall& install)
{
    return FileNamesMatching(install.File("BACKUP\\Unstored *.QPK"));
}

// The one rescue backup of the install once it holds every text; empty when
// none came to hold them within the time.
std::string RescueHolding(const ProgramInstall& install, const std::vector<std::string>& texts)
{
    std::string found;
    WaitUntil([&] {
        const std::vector<std::string> rescues = RescueBackups(install);
        if (rescues.size() != 1)
            return false;
        const std::string kept = ReadWholeFile(install.File("BACKUP\\" + rescues[0]));
        for (const std::string& text : texts) {
            if (!Contains(kept, text))
                return false;
        }
        found = rescues[0];
        return true;
    });
    return found;
}

// The rows whose text starts with the words.
std::vector<int> RowsStarting(const NoteManagerWindow& manager, const std::string& words)
{
    std::vector<int> rows;
    const std::vector<std::string> texts = manager.Column(kHeldTextColumn);
    for (size_t row = 0; row < texts.size(); ++row)
        if (texts[row].rfind(words, 0) == 0)
            rows.push_back(static_cast<int>(row));
    return rows;
}

// Three changed notes of the group References hidden by its hotkey, then
// fifty new notes filed in the group Personal from the Note Manager's list menu,
// another program holding the file all the while; the program ended as a
// crash ends it. The next start offers the rescue backup, and its Yes
// brings every text back.
void GroupCommandsWhileHeld(const std::string& held)
{
    ProgramInstall install("nmrescue");
    install.AddInstalledDataFiles();
    const std::vector<std::string> grouped = {"Grouped one", "Grouped two", "Grouped three"};
    const std::vector<DWORD> ids = StoreTestNotes(install, {TestNote(grouped[0]), TestNote(grouped[1]),
                                                            TestNote(grouped[2])});
    WriteGroupsFile(install, {}, {{kReferences, ids[0]}, {kReferences, ids[1]}, {kReferences, ids[2]}});
    AllowReferencesHotkey(install);
    // No timed save comes while the test runs.
    SetAutoSaveInterval(install.Path(), 5);
    std::vector<std::string> edited, newTexts;
    for (const std::string& text : grouped)
        edited.push_back(kEdit + text);
    for (int number = 1; number <= kNewNotes; ++number)
        newTexts.push_back(NewNoteText(number));
    std::string rescue;
    {
        HeldFile holder;
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        const DWORD process = program.ProcessId();
        ASSERT_TRUE(WaitForTheStartsFocus(process));
        for (const std::string& text : grouped) {
            TypeAtStart(WaitForNoteWithText(process, text), kEdit);
            ASSERT_NE(WaitForNoteWithText(process, kEdit + text), nullptr) << text;
        }
        for (const std::string& text : newTexts) {
            HWND note = NewNoteFromMainWindow(main, process);
            TypeAtStart(note, text);
            ASSERT_EQ(WaitForNoteWithText(process, text), note) << text;
        }
        ASSERT_TRUE(holder.Hold(install.File(held), kHolderSharesNothing));

        // The hotkey hides the group's three changed notes, each saved as it
        // hides: what they could not store is in the rescue backup as the
        // press ends, and no box comes.
        PostMessageA(main, WM_HOTKEY, kReferencesHotkey, 0);
        EXPECT_TRUE(WaitUntil([&] {
            for (const std::string& text : edited) {
                HWND note = NoteWithText(process, text);
                if (!note || IsWindowVisible(note))
                    return false;
            }
            return true;
        }));
        const std::string afterHotkey = RescueHolding(install, edited);
        ASSERT_FALSE(afterHotkey.empty());
        ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
        EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);

        // The fifty new notes selected in the Note Manager and filed in a
        // group from the list's menu, opened by the Menu key (the notes, kept
        // on top, cover the list): each is stored to join it, and cannot be;
        // the rescue backup is renewed with them, and the older one goes.
        NoteManagerWindow manager(process);
        ASSERT_NE(manager.OpenFromTray(program), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return RowsStarting(manager, "New note").size() == kNewNotes; }));
        const std::vector<int> rows = RowsStarting(manager, "New note");
        SelectListRows(process, manager.List(), rows);
        ASSERT_TRUE(WaitUntil([&] { return manager.StatusText().rfind("50 notes are selected", 0) == 0; }))
            << manager.StatusText();
        ASSERT_TRUE(manager.FileSelectionInGroupByMenuKey(kPersonalItem, "note-manager-fifty-notes-to-a-group"));
        EXPECT_TRUE(manager.StatusText().rfind("50 notes are selected", 0) == 0) << manager.StatusText();
        EXPECT_TRUE(WaitUntil([&] {
            for (int row : RowsStarting(manager, "New note"))
                if (manager.Cell(row, kHeldGroupColumn) != "Personal")
                    return false;
            return true;
        }));
        std::vector<std::string> everyText = edited;
        everyText.insert(everyText.end(), newTexts.begin(), newTexts.end());
        rescue = RescueHolding(install, everyText);
        ASSERT_FALSE(rescue.empty());
        EXPECT_NE(rescue, afterHotkey);
        ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
        EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
        // Here the program is ended as a crash ends it, the file still held.
    }
    StoredNoteList stored = LoadEveryNote(install.Path());
    for (const std::string& text : newTexts)
        EXPECT_EQ(StoredNoteHaving(stored, text), nullptr) << text;

    TakeTheRescueOfferedAtStart(install, rescue);
    stored = LoadEveryNote(install.Path());
    for (const std::string& text : edited) {
        const CNoteController* note = StoredNoteHaving(stored, text);
        ASSERT_NE(note, nullptr) << text;
        EXPECT_TRUE(note->m_hidden) << text;
    }
    // Each new note is back in the group it was filed in.
    const std::map<DWORD, DWORD> groupOf = StoredGroupOfEachNote(install);
    for (const std::string& text : newTexts) {
        const CNoteController* note = StoredNoteHaving(stored, text);
        ASSERT_NE(note, nullptr) << text;
        const auto group = groupOf.find(note->m_noteId);
        EXPECT_TRUE(group != groupOf.end() && group->second == kPersonal) << text;
    }
}
}

TEST(NoteManagerHeldTable, GroupHotkeyAndAssignToGroupWithTheTableHeldKeepEveryEditForTheNextStart)
{
    GroupCommandsWhileHeld("notes.QPD");
}

TEST(NoteManagerHeldTable, GroupHotkeyAndAssignToGroupWithTheMemoFileHeldKeepEveryEditForTheNextStart)
{
    GroupCommandsWhileHeld("notes.qps");
}
