// The real program reads the notes table at start and writes every note back
// when it closes, also when its users table has gone meanwhile; an end whose
// notes cannot be stored (another program holds the notes table) leaves the
// program running until they can be, or the user ends anyway with a backup;
// a held users table keeps no timed save from storing the notes.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "note/NoteController.h"
#include "store/DbfFile.h"
#include "globals/MainWindowMessages.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/NotesLoader.h"
#include "store/bytes/DeletedRecordList.h"
#include "support/HeldFile.h"
#include "support/InFolder.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/ProgramDriver.h"
#include "support/TextChecks.h"
#include "UnstoredEditDriving.h"

namespace {
using Notes = StoredNoteList;
}

TEST(NotesAtExit, AMissingUsersTableIsReportedAndEveryNoteIsStillSaved)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        for (int i = 0; i < 2; ++i) {
            CNoteController note;
            note.m_userId = 1;
            note.m_left = 100 + i;
            std::string text = "{\\rtf1 kept across the run " + std::to_string(i) + "}";
            note.SetRichText(text.data(), text.size());
            SaveNote(note);
        }
    }
    {
        RunningProgram program(install, "");
        HWND main = program.WaitForWindow("MainWindowClassName6");
        ASSERT_NE(main, nullptr);
        // An answer to a sent message comes from the message loop, after the
        // start-up has read the users table and the notes.
        LRESULT firstFree = 1;
        ASSERT_TRUE(SendWithTimeout(main, kNotesFirstDeletedMessage, 0, 0, &firstFree));
        EXPECT_EQ(firstFree, 0);
        ASSERT_TRUE(DeleteFileA(install.File("users.QPD").c_str()));
        PostMessageA(main, WM_COMMAND, kCmdExit, 0);
        ShownMessageBox box = WaitForMessageBox(program.ProcessId());
        EXPECT_EQ(box.text.rfind("The users.qpd file is missing. Have you deleted it by accident ?", 0), 0u)
            << box.text;
        // Whatever ends the program while the box is up, the notes are stored.
        EXPECT_EQ(LoadEveryNote(install.Path()).size(), 3u) << "the notes are stored before the box";
        ASSERT_TRUE(AnswerMessageBox(box, IDOK));
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    Notes notes = LoadEveryNote(install.Path());
    ASSERT_GE(notes.size(), 3u) << "the two notes it read, and the new user's first note";
    // Neither text changed in its window: each is stored as it was read, not
    // streamed out of its rich edit again (which writes it in its own words).
    EXPECT_EQ(notes[0]->RichText(), "{\\rtf1 kept across the run 0}");
    EXPECT_EQ(notes[1]->RichText(), "{\\rtf1 kept across the run 1}");
    EXPECT_EQ(notes[1]->m_left, 101);
    EXPECT_EQ(notes[2]->m_noteId, 3u);
    EXPECT_FALSE(FileExists(install.File("notesTemp.QPD")));
}

TEST(NotesAtExit, ACloseAskedForWhileTheNotesLoadWaitsForThemAndLosesNone)
{
    // More stored notes than the program may show: the note limit's box comes
    // up while the notes are loading, and a close arrives during that box.
    const size_t kStored = 599;
    ProgramInstall install;
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        Notes made;
        std::vector<CNoteController*> batch;
        for (size_t i = 0; i < kStored; ++i) {
            made.emplace_back(new CNoteController);
            made.back()->m_userId = 1;
            made.back()->m_left = static_cast<LONG>(i % 50);
            std::string text = "{\\rtf1 stored note " + std::to_string(i) + "}";
            made.back()->SetRichText(text.data(), text.size());
            batch.push_back(made.back().get());
        }
        SaveNotes(batch, false);
    }
    ASSERT_EQ(LoadEveryNote(install.Path()).size(), kStored);
    {
        RunningProgram program(install, "");
        ShownMessageBox limit = WaitForMessageBox(program.ProcessId(), 120000);
        ASSERT_NE(limit.window, nullptr);
        EXPECT_NE(limit.text.find("maximum number of notes"), std::string::npos) << limit.text;
        HWND main = FindTopWindow("MainWindowClassName6", program.ProcessId());
        ASSERT_NE(main, nullptr);
        PostMessageA(main, WM_CLOSE, 0, 0);
        // Every limit box is answered until the program has ended.
        for (int answered = 0; answered < 5 && program.IsRunning(); ++answered) {
            ShownMessageBox box = WaitForMessageBox(program.ProcessId(), 5000);
            if (box.window)
                AnswerMessageBox(box, IDOK);
        }
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(&exitCode, 120000));
        EXPECT_EQ(exitCode, 0u);
    }
    EXPECT_GE(LoadEveryNote(install.Path()).size(), kStored);
    WIN32_FILE_ATTRIBUTE_DATA log{};
    if (GetFileAttributesExA(install.File("error.txt").c_str(), GetFileExInfoStandard, &log)) {
        EXPECT_LT(log.nFileSizeLow, 4096u) << "saves that failed while the notes table was still open";
    }
}

TEST(NotesAtExit, AnEndWhoseEditCannotBeStoredKeepsTheProgramRunningAndTheNextEndStoresIt)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    const std::string edited = std::string("Edited ") + kStoredText;
    {
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        const DWORD process = program.ProcessId();
        TypeAtStart(WaitForNoteWithText(process, kStoredText), "Edited ");
        ASSERT_NE(WaitForNoteWithText(process, edited), nullptr);
        {
            // A backup or synchronising program reads the table, longer than the save's retries.
            HeldFile holder(install.File("notes.QPD"), kHolderSharesReadWrite);
            ASSERT_TRUE(holder.Held());

            // Exit from the tray: one box names the file, and No keeps the program running.
            PostMessageA(main, WM_COMMAND, kCmdExit, 0);
            ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
            ASSERT_NE(box.window, nullptr);
            EXPECT_TRUE(SaveScreenshotOf(box.window, "UnstoredAtEnd"));
            EXPECT_TRUE(Contains(box.text, "notes.QPD")) << box.text;
            EXPECT_TRUE(Contains(box.text, "these changes would be lost")) << box.text;
            // A second close while the box is up neither saves again nor asks again.
            EXPECT_TRUE(SendWithTimeout(main, WM_CLOSE, 0, 0, nullptr, 10000));
            ASSERT_TRUE(AnswerMessageBox(box, IDNO));
            EXPECT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
            EXPECT_FALSE(ProgramBoxShown(process)) << "asked once";
            EXPECT_TRUE(program.IsRunning());

            // "/close" from a second start: the same.
            RunToEnd(install, "/close");
            EXPECT_TRUE(Contains(AnswerProgramBox(process, IDNO), "notes.QPD"));
            EXPECT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
            EXPECT_TRUE(program.IsRunning());

            // The end of the session is refused at once and asked after;
            // a later end of the session is asked again.
            for (int end = 0; end < 2; ++end) {
                LRESULT answer = 1;
                EXPECT_TRUE(SendWithTimeout(main, WM_QUERYENDSESSION, 0, 0, &answer));
                EXPECT_EQ(answer, 0) << "the end of the session is refused";
                EXPECT_TRUE(Contains(AnswerProgramBox(process, IDNO), "notes.QPD")) << end;
            }
            EXPECT_TRUE(program.IsRunning());
        }
        // The file is free: the next end stores the edit.
        CloseProgram(install, program);
    }
    EXPECT_TRUE(StoredNoteHas(install.Path(), edited));

    // After a restart the edit is there; ending anyway, the notes as they
    // are go into a backup file that the expiry of old backups leaves alone.
    RunningProgram again(install, "");
    HWND main = WaitForMainWindow(again);
    ASSERT_NE(main, nullptr);
    const DWORD process = again.ProcessId();
    TypeAtStart(WaitForNoteWithText(process, edited), "Again ");
    ASSERT_NE(WaitForNoteWithText(process, "Again " + edited), nullptr);
    std::string backup;
    {
        HeldFile holder(install.File("notes.qps"), kHolderSharesReadWrite);
        ASSERT_TRUE(holder.Held());
        PostMessageA(main, WM_COMMAND, kCmdExit, 0);
        const std::string question = AnswerProgramBox(process, IDYES);
        EXPECT_TRUE(Contains(question, "notes.qps")) << question;
        backup = BackupNamedIn(question);
        DWORD exitCode = 1;
        ASSERT_TRUE(again.WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    EXPECT_TRUE(Contains(backup, "\\BACKUP\\Unstored ")) << backup;
    ASSERT_TRUE(FileExists(backup)) << backup;
    EXPECT_TRUE(Contains(ReadWholeFile(backup), "Again " + edited));
    EXPECT_FALSE(StoredNoteHas(install.Path(), "Again "));
}

TEST(NotesAtExit, ATimedSaveStoresTheNotesWhileTheUsersTableIsHeldAndSaysSoOnce)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    SetAutoSaveInterval(install.Path(), 1);
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    TypeAtStart(WaitForNoteWithText(process, kStoredText), "Timed ");
    {
        HeldFile holder(install.File("users.QPD"), kHolderSharesReadWrite);
        ASSERT_TRUE(holder.Held());
        // Four housekeeping ticks of 15 seconds make the minute of the interval.
        for (int tick = 0; tick < 4; ++tick)
            PostMessageA(main, WM_TIMER, kTimerHousekeeping, 0);
        EXPECT_TRUE(WaitUntil([&] { return StoredNoteHas(install.Path(), std::string("Timed ") + kStoredText); }));
        EXPECT_TRUE(Contains(AcknowledgeProgramBox(process), "users.QPD"));
        // The next interval says nothing more.
        for (int tick = 0; tick < 4; ++tick)
            EXPECT_TRUE(SendWithTimeout(main, WM_TIMER, kTimerHousekeeping, 0));
        EXPECT_FALSE(ProgramBoxShown(process));
    }
    CloseProgram(install, program);
}
