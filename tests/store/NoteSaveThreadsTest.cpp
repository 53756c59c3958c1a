// Notes saved from two threads while a third writes delivery records, as the
// main thread and send threads do: every save and every record must survive.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "store/DestinationLists.h"
#include "store/TransactTable.h"
#include "note/NoteController.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/InFolder.h"
#include "support/StoredNotes.h"

namespace {
const int kNotesPerThread = 4;
const int kRounds = 60;
const int kDeliveryRecords = 200;
const DWORD kThreadTimeoutMs = 600000;

struct SaverWork {
    int thread;
    std::vector<std::unique_ptr<CNoteController>> notes;
};

std::string TextOf(int thread, int note, int round)
{
    return "{\\rtf1 t" + std::to_string(thread) + " n" + std::to_string(note) + " r" + std::to_string(round) + " " +
           std::string(1500, static_cast<char>('a' + note)) + "}";
}

// Each round changes every note of the thread and saves it; the first round
// gives the notes their records, half of them as a send thread would.
DWORD WINAPI SaveRounds(void* parameter)
{
    SaverWork& work = *static_cast<SaverWork*>(parameter);
    for (int round = 0; round < kRounds; ++round) {
        for (int i = 0; i < kNotesPerThread; ++i) {
            CNoteController& note = *work.notes[i];
            std::string text = TextOf(work.thread, i, round);
            note.SetRichText(text.data(), text.size());
            note.m_top = round;
            if (round == 0 && i % 2 == 1)
                SaveNoteBeforeSend(note);
            else
                SaveNote(note);
        }
    }
    return 0;
}

DWORD WINAPI WriteDeliveryRecords(void*)
{
    RowOwnership me;
    me.currentUserId = 1;
    for (int i = 1; i <= kDeliveryRecords; ++i) {
        std::string computer = "PC" + std::to_string(i % 7);
        CDestination record(computer.c_str(),
                            "10.0.0.1", "", "", "", 1, static_cast<DWORD>(1000 + i), static_cast<DWORD>(i),
                            static_cast<DWORD>(i % 7 + 1), 2081, 1);
        AppendTransactIfNot(record, 0, me);
        if (i % 10 == 0)
            DeleteTransactRowsOfNote(static_cast<DWORD>(i - 5), me);
    }
    return 0;
}

class NoteSaveThreads : public InFolder {};
}

TEST_F(NoteSaveThreads, TwoSaversAndADeliveryWriterLoseNothing)
{
    CopyTemplate("notes.QPD");
    CopyTemplate("notes.QPS");
    CopyTemplate("transact.QPD");
    NotesFreeSlots().Clear();
    TransactionFreeSlots().Clear();
    SaverWork work[2];
    for (int t = 0; t < 2; ++t) {
        work[t].thread = t;
        for (int i = 0; i < kNotesPerThread; ++i) {
            work[t].notes.emplace_back(new CNoteController);
            work[t].notes.back()->m_userId = 1;
            work[t].notes.back()->m_left = 100 * t + i;
        }
    }
    HANDLE threads[3] = {CreateThread(nullptr, 0, &SaveRounds, &work[0], 0, nullptr),
                         CreateThread(nullptr, 0, &SaveRounds, &work[1], 0, nullptr),
                         CreateThread(nullptr, 0, &WriteDeliveryRecords, nullptr, 0, nullptr)};
    ASSERT_EQ(WaitForMultipleObjects(3, threads, TRUE, kThreadTimeoutMs), WAIT_OBJECT_0);
    for (HANDLE thread : threads)
        CloseHandle(thread);

    StoredNoteList loaded = LoadEveryNote(m_folder.Path());
    ASSERT_EQ(loaded.size(), static_cast<size_t>(2 * kNotesPerThread)) << "no note saved twice, none lost";
    for (int t = 0; t < 2; ++t) {
        for (int i = 0; i < kNotesPerThread; ++i) {
            const CNoteController& saved = *work[t].notes[i];
            ASSERT_GE(saved.m_noteId, 1u);
            ASSERT_LE(saved.m_noteId, loaded.size());
            const CNoteController& back = *loaded[saved.m_noteId - 1];
            EXPECT_EQ(back.m_left, 100 * t + i);
            EXPECT_EQ(back.m_top, kRounds - 1);
            EXPECT_EQ(back.RichText(), TextOf(t, i, kRounds - 1));
        }
    }
    EXPECT_FALSE(FileExists(File("notesTemp.QPD")));
    EXPECT_FALSE(FileExists(File("notesTemp.QPS")));

    // Every delivery record that was not deleted is there once.
    CDbfFile transact;
    transact.SetTable("transact.QPD", true);
    transact.Open("READ");
    std::vector<int> seen(kDeliveryRecords + 1, 0);
    for (transact.GoTop(); !transact.IsEOF(); transact.Skip(1)) {
        long note = transact.GetLongValue("WNOTEID");
        ASSERT_GE(note, 1);
        ASSERT_LE(note, kDeliveryRecords);
        ++seen[note];
        EXPECT_EQ(transact.GetLongValue("ITRANSID"), 1000 + note);
    }
    for (int i = 1; i <= kDeliveryRecords; ++i) {
        bool deleted = (i + 5) % 10 == 0 && i + 5 <= kDeliveryRecords;
        EXPECT_EQ(seen[i], deleted ? 0 : 1) << "note " << i;
    }
}
