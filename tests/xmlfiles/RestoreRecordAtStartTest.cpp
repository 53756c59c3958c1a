// The record of a restore met by the next start of the real program while
// another program holds it: a start that cannot read it changes nothing, and
// one that cannot update it after putting the notes of before back loads no
// note; once the record is free, the next start loses nothing.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BackupDriving.h"
#include "store/bytes/ReplacementRecord.h"
#include "support/HeldFile.h"
#include "support/InFolder.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/TextChecks.h"

namespace {
const std::vector<std::string> kRecordStoredTexts = {"First stored", "Second stored"};

class RestoreRecordAtStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        install.AddInstalledDataFiles();
        LONG left = 100;
        for (const std::string& text : kRecordStoredTexts) {
            StoreNote(install, [&](CNoteController& note) { FillTestNote(note, text.c_str(), left, 100); });
            left += 260;
        }
        emptyMemo = ReadWholeFile(ProgramFolder() + "\\QlData\\notes.QPS");
        // The first start adds its welcome note to the stored ones.
        RunningProgram first(install, "");
        ASSERT_NE(WaitForMainWindow(first), nullptr);
        ASSERT_NE(WaitForNoteWithText(first.ProcessId(), "Second stored"), nullptr);
        stored = NoteTexts(first.ProcessId());
        CloseProgram(install, first);
    }

    void WriteRecord(ReplacementState state)
    {
        ReplacementRecord record;
        record.state = state;
        record.files = {{"notes.qps", false, true}, {"notes.QPD", false, true}, {"transact.QPD", false, true},
                        {"chatnote.QPD", true, false}};
        WriteWholeFile(install.File("replacing.lst"), FormatReplacementRecord(record));
    }

    // A start that must end at its box (shown readably, and saved as the
    // picture of that name): the box's text, with no note shown.
    std::string EndedStart(const std::string& picture)
    {
        RunningProgram start(install, "");
        const ShownMessageBox box = WaitForMessageBox(start.ProcessId(), kDriverWaitMs, "Quillnet+");
        EXPECT_NE(box.window, nullptr) << "no box";
        EXPECT_TRUE(ShowsReadably(box.window, picture));
        EXPECT_TRUE(NoteWindows(start.ProcessId()).empty());
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
        DWORD exitCode = 0;
        EXPECT_TRUE(start.WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 3u);
        return box.text;
    }

    ProgramInstall install;
    std::string emptyMemo;
    std::vector<std::string> stored;
};
}

// The restore was kept, but its copy of the memo file of before is still
// beside it: putting that copy in place would lose every stored note.
TEST_F(RestoreRecordAtStart, ARecordHeldAtStartChangesNothingAndTheNextStartKeepsTheSet)
{
    WriteWholeFile(install.File("notes.qps.was"), emptyMemo);
    WriteRecord(ReplacementState::kKeptNew);
    const std::string record = ReadWholeFile(install.File("replacing.lst"));
    const std::string memo = ReadWholeFile(install.File("notes.qps"));
    const std::string table = ReadWholeFile(install.File("notes.QPD"));
    struct Holder {
        const char* who;
        DWORD sharing;
        DWORD access;
    };
    for (const Holder& holder : {Holder{"a writer", FILE_SHARE_READ, GENERIC_READ | GENERIC_WRITE},
                                 Holder{"no sharing", kHolderSharesNothing, GENERIC_READ}}) {
        SCOPED_TRACE(holder.who);
        HeldFile held(install.File("replacing.lst"), holder.sharing, holder.access);
        ASSERT_TRUE(held.Held());
        const std::string told = EndedStart("record-held-at-start");
        EXPECT_TRUE(Contains(told, "cannot read the record of a restore or an undo of a restore (replacing.lst)"))
            << told;
        EXPECT_TRUE(Contains(told, "another program is using it")) << told;
        EXPECT_TRUE(Contains(told, "Nothing was changed")) << told;
        EXPECT_FALSE(Contains(told, ".was")) << "no copy is offered: " << told;
        EXPECT_EQ(ReadWholeFile(install.File("notes.qps")), memo);
        EXPECT_EQ(ReadWholeFile(install.File("notes.QPD")), table);
        EXPECT_EQ(ReadWholeFile(install.File("notes.qps.was")), emptyMemo);
    }
    EXPECT_EQ(ReadWholeFile(install.File("replacing.lst")), record);
    EXPECT_TRUE(Contains(ReadWholeFile(install.File("error.txt")), "cannot read the record")) << "and in error.txt";

    RunningProgram again(install, "");
    ASSERT_NE(WaitForMainWindow(again), nullptr);
    EXPECT_FALSE(ProgramBoxShown(again.ProcessId()));
    EXPECT_EQ(NoteTexts(again.ProcessId()), stored);
    CloseProgram(install, again);
    EXPECT_FALSE(FileExists(install.File("notes.qps.was")));
    EXPECT_FALSE(FileExists(install.File("replacing.lst")));
}

// A restore cut short after it had replaced the memo file; the start puts
// the files of before back but cannot update the record, which another
// program reads (sharing reading and writing, not deleting) all along.
TEST_F(RestoreRecordAtStart, AStartThatCannotUpdateTheRecordLoadsNothingAndTheNextStartLosesNothing)
{
    for (const char* name : {"notes.qps", "notes.QPD", "transact.QPD"})
        WriteWholeFile(install.File(std::string(name) + ".was"), ReadWholeFile(install.File(name)));
    WriteWholeFile(install.File("notes.QPD.put"), ReadWholeFile(ProgramFolder() + "\\QlData\\notes.QPD"));
    WriteWholeFile(install.File("transact.QPD.put"), ReadWholeFile(install.File("transact.QPD")));
    WriteWholeFile(install.File("notes.qps"), emptyMemo);
    WriteRecord(ReplacementState::kMoving);
    {
        HeldFile held(install.File("replacing.lst"), kHolderSharesReadWrite);
        ASSERT_TRUE(held.Held());
        const std::string told = EndedStart("record-not-updated-at-start");
        for (const char* part : {"A restore did not finish", "They were put back as they were before the restore",
                                 "(replacing.lst) could not be updated", "another program is using it",
                                 "loads no note", "the other program has let go of replacing.lst"})
            EXPECT_TRUE(Contains(told, part)) << part << "\n" << told;
        EXPECT_TRUE(Contains(ReadWholeFile(install.File("replacing.lst")), "state moving"));
        EXPECT_TRUE(FileExists(install.File("notes.qps.was")));
    }

    // Free again: the same files go back, the restore is said not to have
    // finished, and what is written from then on stays.
    {
        RunningProgram again(install, "");
        const std::string told = AcknowledgeProgramBox(again.ProcessId());
        EXPECT_TRUE(Contains(told, "A restore did not finish")) << told;
        EXPECT_TRUE(Contains(told, "They were put back as they were before the restore")) << told;
        EXPECT_FALSE(Contains(told, "was stopped")) << told;
        ASSERT_NE(WaitForMainWindow(again), nullptr);
        EXPECT_EQ(NoteTexts(again.ProcessId()), stored);
        HWND note = WaitForNoteWithText(again.ProcessId(), "First stored");
        ASSERT_NE(note, nullptr);
        ASSERT_TRUE(SendWithTimeout(BodyOf(note), EM_SETSEL, 0, 0));
        for (char key : std::string("Kept "))
            ASSERT_TRUE(SendWithTimeout(BodyOf(note), WM_CHAR, static_cast<unsigned char>(key), 1));
        ASSERT_NE(WaitForNoteWithText(again.ProcessId(), "Kept First stored"), nullptr);
        CloseProgram(install, again);
    }
    EXPECT_FALSE(FileExists(install.File("replacing.lst")));
    EXPECT_FALSE(FileExists(install.File("notes.qps.was")));
    RunningProgram last(install, "");
    ASSERT_NE(WaitForMainWindow(last), nullptr);
    EXPECT_FALSE(ProgramBoxShown(last.ProcessId()));
    std::vector<std::string> edited = stored;
    edited.front() = "Kept First stored";
    EXPECT_EQ(NoteTexts(last.ProcessId()), edited);
    CloseProgram(install, last);
}
