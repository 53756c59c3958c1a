// The real program reads the notes table at start and writes every note back
// when it closes, also when its users table has gone meanwhile.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "note/NoteController.h"
#include "globals/MainWindowMessages.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/NotesLoader.h"
#include "store/bytes/DeletedRecordList.h"
#include "support/InFolder.h"
#include "support/StoredNotes.h"
#include "support/ProgramDriver.h"

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
