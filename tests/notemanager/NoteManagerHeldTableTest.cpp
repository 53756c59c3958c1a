// The Note Manager's Hide and Lock on fifty changed notes while another
// program holds the notes table: each command meets the table once, Hide
// keeps the edits in the rescue backup as it ends, Lock says so in one box
// that names the file, and every edit is stored once the table is free again.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/FileHelpers.h"
#include "noteprops/ProtectedContent.h"
#include "noteprops/bytes/ProtectedBody.h"
#include "notemanager/NoteManagerDriving.h"
#include "store/FileStepRetries.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/ProtectedUser.h"
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
