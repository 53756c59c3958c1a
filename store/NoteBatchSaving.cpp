#include "store/NoteBatchSaving.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/GenericFile.h"
#include "foundation/WorkingCopy.h"
#include "store/DbfFile.h"
#include "store/FileByteStore.h"
#include "store/FileStepRetries.h"
#include "store/FreeSlotLists.h"
#include "store/NoteRecordFields.h"
#include "store/NoteRtfPacking.h"
#include "store/NotesFiles.h"
#include "store/SaveSteps.h"
#include "store/bytes/DeletedRecordList.h"
#include "store/bytes/MemoFile.h"
#include "store/bytes/MemoTailStore.h"

namespace {
const char kBatchPrefix[] = "SaveNotes(): ";
// Room made ahead for the texts at most; more grows as it comes.
const std::uint64_t kMaxReservedMemoBytes = 64u * 1024 * 1024;

// A record given to a new note in the working copy; the note takes its
// number only once the copy is the table.
struct NewRecord {
    NoteRecord* note;
    DWORD record;
    bool reused;  // taken from the free list, which gets it back on failure
};

class CBatchSave {
public:
    explicit CBatchSave(const std::vector<NoteRecord*>& notes) : m_notes(notes) {}
    ~CBatchSave() { Abandon(); }

    // Writes every note into the working copies; throws on any failure.
    void WriteAside();
    // Puts the memo file in place, then the table; false when the table
    // could not take its place (the stored table is then as it was).
    bool PutInPlace();
    void GiveRecordNumbers();

private:
    std::uint32_t MemoBytesOfTexts() const;
    void WriteNote(NoteRecord& note);
    DWORD NewRecordFor(NoteRecord& note);
    void Abandon();

    const std::vector<NoteRecord*>& m_notes;
    std::vector<NewRecord> m_created;
    CDbfFile m_table;
    CGenericFile m_memoFile;
    // The texts of every note go to the memo file in one write at the end.
    std::unique_ptr<CFileByteStore> m_memoStore;
    std::unique_ptr<CMemoTailStore> m_memoTail;
    std::unique_ptr<CMemoFile> m_memo;
    bool m_done = false;
};

void CBatchSave::WriteAside()
{
    OpenNotesTableCopy(m_table, kBatchPrefix);
    PassSaveStep(SaveStep::kTableCopied);
    std::string memo = DataFilePath(DataName::kNotesMemo);
    std::string workingMemo = DataFilePath(DataName::kNotesWorkingMemo);
    if (!RetryFileStep({FileStepKind::kCopy, memo},
                       [&] { return CopyFileA(memo.c_str(), workingMemo.c_str(), FALSE) != 0; }, kBatchPrefix,
                       "\r\nError copying file \"notes.qps\" Iteration "))
        throw CGenericException("Error copying notes.qps");

    m_memoFile.OpenExclusive(workingMemo.c_str());
    m_memoStore.reset(new CFileByteStore(m_memoFile));
    m_memoTail.reset(new CMemoTailStore(*m_memoStore));
    m_memoTail->Reserve(MemoBytesOfTexts());
    m_memo.reset(new CMemoFile(*m_memoTail, m_memoFile.GetPath()));
    for (size_t i = 0; i < m_notes.size(); ++i) {
        if (i == m_notes.size() / 2 && i > 0)
            PassSaveStep(SaveStep::kBatchHalfWritten);
        WriteNote(*m_notes[i]);
    }
    m_memoTail->Flush();
    m_table.WriteHeldCopy();
    m_table.Close();
    m_memoFile.Flush();
    m_memoFile.Close();
}

// About the bytes the notes' texts take in the memo file, each in whole
// blocks behind its header; long texts are packed first, and their size is
// not known here.
std::uint32_t CBatchSave::MemoBytesOfTexts() const
{
    std::uint64_t bytes = 0;
    for (const NoteRecord* note : m_notes) {
        const std::uint64_t length = note->RichText().size();
        if (length < kPackedTextFromBytes)
            bytes += (kMemoBlockHeaderSize + length + kStandardMemoBlockSize - 1) / kStandardMemoBlockSize *
                     kStandardMemoBlockSize;
    }
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes, kMaxReservedMemoBytes));
}

void CBatchSave::WriteNote(NoteRecord& note)
{
    const std::string* text = TextToStore(note);
    if (!text)
        return;
    DWORD record = note.m_noteId == kUnsavedNoteId ? NewRecordFor(note) : note.m_noteId;
    m_table.GoTo(record);
    m_table.BeginRecordWrite(record);
    WriteNoteFields(m_table, record, note);
    std::uint32_t block = m_memo->Append(text->data(), static_cast<std::uint32_t>(text->size()), false);
    m_table.SetLongValue(record, "TEXT", static_cast<long>(block));
    m_table.EndRecordWrite();
}

DWORD CBatchSave::NewRecordFor(NoteRecord& note)
{
    DWORD record = NotesFreeSlots().Take();
    if (record != 0) {
        m_created.push_back({&note, record, true});
        m_table.GoTo(record);
        m_table.RecallRecord(record);
    } else {
        m_table.AppendRecord();
        record = m_table.GetRecordCount();
        m_created.push_back({&note, record, false});
    }
    m_table.GoTo(record);
    WriteCreationTime(m_table, record, note.m_created);
    return record;
}

bool CBatchSave::PutInPlace()
{
    // The memo file first: it only grew, so the old table still finds every
    // text in it, and the new table finds its texts once it takes its place.
    std::string workingMemo = DataFilePath(DataName::kNotesWorkingMemo);
    std::string memo = DataFilePath(DataName::kNotesMemo);
    if (!RetryFileStep({FileStepKind::kRename, memo},
                       [&] { return ReplaceWithWorkingCopy(workingMemo.c_str(), memo.c_str()); }, kBatchPrefix,
                       "\r\nError renaming file \"notesTemp.QPS\" Iteration "))
        return false;
    PassSaveStep(SaveStep::kRecordWritten);
    if (!ReplaceNotesTableByWorkingCopy(kBatchPrefix))
        return false;
    m_done = true;
    PassSaveStep(SaveStep::kTableReplaced);
    return true;
}

void CBatchSave::GiveRecordNumbers()
{
    for (const NewRecord& created : m_created)
        created.note->m_noteId = created.record;
}

// Whatever the working copies hold is dropped; the free records taken go back.
void CBatchSave::Abandon()
{
    if (m_done)
        return;
    m_table.Close();
    m_memoFile.Close();
    DeleteFileA(DataFilePath(DataName::kNotesWorkingTable).c_str());
    DeleteFileA(DataFilePath(DataName::kNotesWorkingMemo).c_str());
    for (const NewRecord& created : m_created) {
        if (created.reused)
            NotesFreeSlots().Add(created.record);
    }
    m_created.clear();
}
}

BatchSave SaveNotesInOneWorkingCopy(const std::vector<NoteRecord*>& notes)
{
    if (notes.empty())
        return BatchSave::kSaved;
    // A failure right after a file step that failed is that step's.
    const auto failed = [] { return LastFileStepGivenUp() ? BatchSave::kFileHeld : BatchSave::kFailed; };
    try {
        if (!FileExists(DataFilePath(DataName::kNotesTable).c_str()) ||
            !FileExists(DataFilePath(DataName::kNotesMemo).c_str()))
            return BatchSave::kFailed;  // the single saves report and repair what is missing
        CBatchSave batch(notes);
        batch.WriteAside();
        if (!batch.PutInPlace())
            return failed();
        batch.GiveRecordNumbers();
        return BatchSave::kSaved;
    } catch (const CGenericException& e) {
        if (!LastFileStepSkipped())
            WriteErrorLog(kBatchPrefix, e.GetErrorText());
    } catch (...) {
        WriteErrorLog(kBatchPrefix, "Unknown exception ?!");
    }
    return failed();
}
