// A save or a user action meets a file another program holds once: a step is
// given up on its step and file, whatever the text its caller logs, the saves
// that a box of the action lets in try in full, and so does the next action.
#include <memory>
#include <string>
#include <vector>

#include "StoreFolder.h"
#include "foundation/bytes/MessageBoxes.h"
#include "note/NoteController.h"
#include "store/FileStepRetries.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/NotesLoader.h"
#include "support/HeldFile.h"
#include "support/StoredNotes.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "support/bytes/Occurrences.h"

namespace {
class HeldFileSteps : public StoreFolder {
protected:
    void SetUp() override
    {
        CopyTemplate("notes.QPD");
        CopyTemplate("notes.QPS");
        NotesFreeSlots().Clear();
    }

    size_t Tries() const { return Occurrences(Read("error.txt"), " Iteration "); }
    size_t GivenUp(const char* work) const
    {
        return Occurrences(Read("error.txt"), std::string("given up for the rest of this ") + work);
    }
};

std::string Rtf(const std::string& words)
{
    return "{\\rtf1 " + words + "}";
}
}

TEST_F(HeldFileSteps, AnActionMeetsAHeldMemoFileOnceAndWhatItsBoxLetsInTriesInFull)
{
    std::vector<std::unique_ptr<CNoteController>> notes;
    for (int i = 0; i < 3; ++i) {
        notes.emplace_back(new CNoteController);
        FillTestNote(*notes.back(), ("Stored " + std::to_string(i)).c_str(), 10 + 20 * i, 10);
        ASSERT_TRUE(SaveNote(*notes.back()));
    }
    for (size_t i = 0; i < notes.size(); ++i) {
        const std::string changed = Rtf("Changed " + std::to_string(i));
        notes[i]->SetRichText(changed.data(), changed.size());
        notes[i]->m_modified = true;
    }
    HeldFile holder(File("notes.qps"), kHolderSharesNothing);
    ASSERT_TRUE(holder.Held());
    MessageBoxRecorder boxes;
    {
        CHeldFilesMetOnce action(HeldFileWork::kAction);
        // A note saved on its own copies the memo file: all its tries fail.
        EXPECT_FALSE(SaveNote(*notes[0]));
        EXPECT_EQ(Tries(), static_cast<size_t>(kFileStepTries));
        // Notes saved together copy it under another log text: the same step
        // on the same file is given up at once, and none is tried alone.
        EXPECT_FALSE(SaveNotes({notes[1].get(), notes[2].get()}, false));
        EXPECT_EQ(Tries(), static_cast<size_t>(kFileStepTries));
        // A save that a box of the action lets in is not the action's.
        boxes.WhileShown([&] { EXPECT_FALSE(SaveNote(*notes[1])); });
        ShowInfoMessage(nullptr, "A box of the action", "Quillnet+");
        EXPECT_EQ(Tries(), static_cast<size_t>(2 * kFileStepTries));
        // After the box, the action's own saves still give the step up,
        // and each note not stored still leaves its text and its line once.
        const size_t linesBefore = Occurrences(Read("error.txt"), "SaveToDisk(): Error copying notes.qps");
        EXPECT_FALSE(SaveNote(*notes[2]));
        EXPECT_EQ(Tries(), static_cast<size_t>(2 * kFileStepTries));
        EXPECT_EQ(Occurrences(Read("error.txt"), "SaveToDisk(): Error copying notes.qps"), linesBefore + 1);
        for (int i : {0, 1, 2})
            EXPECT_EQ(Occurrences(Read("error.txt"), "SaveTextInMemoFile(): Error copying notes.qps\r\n" +
                                                         Rtf("Changed " + std::to_string(i)) + "\r\n\r\n"),
                      1u)
                << "note " << i;
        EXPECT_EQ(GivenUp("action"), 1u);
        EXPECT_EQ(action.HeldFilesText(), "another program is using notes.qps.");
    }
    // The next save tries the file in full again; nothing is lost meanwhile.
    EXPECT_FALSE(SaveNote(*notes[0]));
    EXPECT_EQ(Tries(), static_cast<size_t>(3 * kFileStepTries));
    EXPECT_EQ(GivenUp("save"), 0u) << "a save on its own gives up nothing";
    for (const auto& note : notes)
        EXPECT_TRUE(note->m_modified);

    holder.Release();
    for (const auto& note : notes)
        EXPECT_TRUE(SaveNote(*note));
    RowOwnership everyone;
    everyone.seesEveryone = true;
    std::vector<std::string> texts;
    LoadNotes(everyone, [&](CNoteController* note) {
        texts.push_back(note->RichText());
        delete note;
    });
    EXPECT_EQ(texts, (std::vector<std::string>{Rtf("Changed 0"), Rtf("Changed 1"), Rtf("Changed 2")}));
}

TEST_F(HeldFileSteps, ASaveJoinsTheActionUnderWayAndAMissingFileIsNotGivenUp)
{
    std::unique_ptr<CNoteController> note(new CNoteController);
    FillTestNote(*note, "Stored", 10, 10);
    ASSERT_TRUE(SaveNote(*note));
    note->m_modified = true;
    MessageBoxRecorder boxes;
    {
        // The table renamed away: the save says so, and the action gives
        // nothing up.
        CHeldFilesMetOnce action(HeldFileWork::kAction);
        ASSERT_TRUE(MoveFileA(File("notes.QPD").c_str(), File("notes.QPD.aside").c_str()));
        EXPECT_FALSE(SaveNotes({note.get()}, false));
        EXPECT_EQ(boxes.Count(), 1u);
        EXPECT_TRUE(boxes.Saw(
            "The notes.qpd file is missing. Have you deleted it by accident?\r\n Quillnet+ cannot save the notes."));
        EXPECT_EQ(action.HeldFilesText(), "");
        ASSERT_TRUE(MoveFileA(File("notes.QPD.aside").c_str(), File("notes.QPD").c_str()));

        // The table held: a save of all notes, a part of the action, gives
        // it up for the action.
        HeldFile holder(File("notes.QPD"), kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());
        EXPECT_FALSE(SaveNotes({note.get()}, true));
        EXPECT_EQ(Tries(), static_cast<size_t>(kFileStepTries));
        EXPECT_FALSE(SaveNote(*note));
        EXPECT_EQ(Tries(), static_cast<size_t>(kFileStepTries));
        EXPECT_EQ(GivenUp("action"), 1u);
        EXPECT_EQ(action.HeldFilesText(), "another program is using notes.QPD.");
    }
    EXPECT_TRUE(SaveNote(*note));
}
