// A rebuilt notes table and memo file that cannot take the place of the
// stored pair, because another program holds a file at one of the renames, or
// still holds it at the next start: nothing is read or written while the pair
// waits, every save says it failed, and once the file is free every note's
// text comes back after a restart.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "StoreFolder.h"
#include "note/NoteController.h"
#include "store/DataFileChecks.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/SaveSteps.h"
#include "support/HeldFile.h"
#include "support/StoredNotes.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const int kRebuiltNoteCount = 4;

std::string RebuiltOriginalText(int i)
{
    return "{\\rtf1 note " + std::to_string(i) + " " + std::string(1500 + 100 * i, static_cast<char>('a' + i)) + "}";
}

std::string RebuiltChangedText(int i)
{
    return "{\\rtf1 changed " + std::to_string(i) + " " + std::string(2500, static_cast<char>('p' + i)) + "}";
}

using RebuiltNotes = std::vector<std::unique_ptr<CNoteController>>;

class NotesRebuildInstall : public StoreFolder {
protected:
    void SetUp() override
    {
        CopyTemplate("notes.QPD");
        CopyTemplate("notes.QPS");
        NotesFreeSlots().Clear();
        for (int i = 0; i < kRebuiltNoteCount; ++i) {
            m_notes.emplace_back(new CNoteController);
            m_notes.back()->m_userId = 1;
            m_notes.back()->m_left = 10 * i;
            std::string text = RebuiltOriginalText(i);
            m_notes.back()->SetRichText(text.data(), text.size());
            ASSERT_TRUE(SaveNote(*m_notes.back()));
        }
    }

    // Every note changed, and saved together with the memo file rebuilt
    // while another program takes hold of the file at the step.
    bool RebuildChangedNotes(HoldAtSaveStep& interference)
    {
        std::vector<CNoteController*> all;
        for (int i = 0; i < kRebuiltNoteCount; ++i) {
            std::string text = RebuiltChangedText(i);
            m_notes[i]->SetRichText(text.data(), text.size());
            m_notes[i]->m_modified = true;
            all.push_back(m_notes[i].get());
        }
        bool saved = SaveNotes(all, true);
        EXPECT_TRUE(interference.Held());
        return saved;
    }

    // The next start: the notes table repaired, then every note read.
    StoredNoteList Restart()
    {
        MessageBoxRecorder boxes;
        EXPECT_TRUE(RepairNotesTable());
        EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
        return LoadEveryNote(m_folder.Path());
    }

    // All the notes' texts are the original ones, or all the changed ones.
    static void ExpectAllTexts(const StoredNoteList& loaded, bool changed)
    {
        ASSERT_GE(loaded.size(), static_cast<size_t>(kRebuiltNoteCount));
        for (int i = 0; i < kRebuiltNoteCount; ++i) {
            EXPECT_EQ(loaded[i]->RichText(), changed ? RebuiltChangedText(i) : RebuiltOriginalText(i)) << i;
            EXPECT_EQ(loaded[i]->m_left, 10 * i);
        }
    }

    RebuiltNotes m_notes;
};
}

TEST_F(NotesRebuildInstall, APairThatCannotBeMarkedLeavesTheStoredNotesAndTheNotesChanged)
{
    HoldAtSaveStep interference(SaveStep::kRebuildBuilt, File("notesTemp.QPD"));
    EXPECT_FALSE(RebuildChangedNotes(interference));
    for (const auto& note : m_notes)
        EXPECT_TRUE(note->m_modified) << "a note not saved stays changed";
    interference.Release();
    EXPECT_FALSE(FileExists(File("notesNew.QPD")));
    ExpectAllTexts(Restart(), false);

    // The next timed save writes them.
    std::vector<CNoteController*> all;
    for (const auto& note : m_notes)
        all.push_back(note.get());
    EXPECT_TRUE(SaveNotes(all, false));
    for (const auto& note : m_notes)
        EXPECT_FALSE(note->m_modified);
    ExpectAllTexts(Restart(), true);
}

TEST_F(NotesRebuildInstall, AWaitingPairIsNeitherReadNorWrittenUntilItCanBeInstalled)
{
    // The memo file's rename refused, then the table's: the second leaves the
    // new memo file in place beside the old table.
    const struct {
        SaveStep step;
        const char* held;
    } cases[] = {{SaveStep::kRebuildCommitted, "notesNew.QPS"}, {SaveStep::kRebuildMemoReplaced, "notesNew.QPD"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.held);
        m_notes.clear();
        for (const char* name : {"notes.QPD", "notes.QPS", "notesNew.QPD", "notesNew.QPS", "error.txt"})
            DeleteFileA(File(name).c_str());
        SetUp();

        HoldAtSaveStep interference(c.step, File(c.held));
        EXPECT_FALSE(RebuildChangedNotes(interference));
        ASSERT_TRUE(FileExists(File("notesNew.QPD")));
        for (const auto& note : m_notes)
            EXPECT_TRUE(note->m_modified);
        const std::string table = Read("notes.QPD");
        const std::string memo = Read("notes.qps");

        // While it waits: a new note is not saved, not even to be sent, the
        // notes are not read, and a start stops after telling the user,
        // every file as it was.
        CNoteController fresh;
        fresh.m_userId = 1;
        std::string freshText = "{\\rtf1 written while the pair waits}";
        fresh.SetRichText(freshText.data(), freshText.size());
        fresh.m_modified = true;
        EXPECT_FALSE(SaveNote(fresh));
        EXPECT_TRUE(fresh.m_modified);
        EXPECT_EQ(fresh.m_noteId, kUnsavedNoteId);
        EXPECT_THROW(LoadEveryNote(m_folder.Path()), CGenericException);
        {
            MessageBoxRecorder boxes;
            EXPECT_THROW(SaveNoteBeforeSend(fresh), CGenericException);
            EXPECT_EQ(fresh.m_noteId, kUnsavedNoteId);
            EXPECT_EQ(boxes.Count(), 1u);
        }
        {
            MessageBoxRecorder boxes;
            EXPECT_FALSE(RepairNotesTable());
            ASSERT_EQ(boxes.Count(), 1u);
            EXPECT_NE(boxes.LastText().find("'notesNew.QPD'"), std::string::npos) << boxes.LastText();
            EXPECT_NE(boxes.LastText().find("Quillnet+ will now stop."), std::string::npos);
        }
        EXPECT_EQ(Read("notes.QPD"), table);
        EXPECT_EQ(Read("notes.qps"), memo);
        EXPECT_TRUE(FileExists(File("notesNew.QPD")));
        EXPECT_NE(Read("error.txt").find("Error renaming file \"notesNew.QP"), std::string::npos);

        // The other program lets go: the next start installs the pair, and
        // the new note is saved by the next save.
        interference.Release();
        ExpectAllTexts(Restart(), true);
        EXPECT_FALSE(FileExists(File("notesNew.QPD")));
        EXPECT_FALSE(FileExists(File("notesNew.QPS")));
        EXPECT_TRUE(SaveNote(fresh));
        EXPECT_FALSE(fresh.m_modified);
        StoredNoteList loaded = Restart();
        ExpectAllTexts(loaded, true);
        ASSERT_EQ(loaded.size(), static_cast<size_t>(kRebuiltNoteCount + 1));
        EXPECT_EQ(loaded.back()->RichText(), freshText);
    }
}

TEST_F(NotesRebuildInstall, ANoteDeletedWhileAPairWaitsStaysDeleted)
{
    HoldAtSaveStep interference(SaveStep::kRebuildMemoReplaced, File("notesNew.QPD"));
    EXPECT_FALSE(RebuildChangedNotes(interference));
    interference.Release();

    // The pair is installed before the record goes, or the pair would bring
    // the record back.
    const DWORD confirm = UserSettings().confirmDelete;
    UserSettings().confirmDelete = 0;
    m_notes[1]->DeleteNote();
    UserSettings().confirmDelete = confirm;
    EXPECT_FALSE(FileExists(File("notesNew.QPD")));
    StoredNoteList loaded = Restart();
    ASSERT_EQ(loaded.size(), static_cast<size_t>(kRebuiltNoteCount - 1));
    EXPECT_EQ(loaded[0]->RichText(), RebuiltChangedText(0));
    EXPECT_EQ(loaded[1]->RichText(), RebuiltChangedText(2));
    EXPECT_EQ(loaded[2]->RichText(), RebuiltChangedText(3));
}
