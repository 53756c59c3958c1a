#include "store/NotesMemoRebuild.h"

#include <windows.h>

#include <map>
#include <string>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/GenericFile.h"
#include "foundation/WorkingCopy.h"
#include "store/DbfFile.h"
#include "store/FileByteStore.h"
#include "store/FileStepRetries.h"
#include "store/NoteRecordFields.h"
#include "store/NotesFiles.h"
#include "store/SaveSteps.h"
#include "store/bytes/DeletedRecordList.h"
#include "store/bytes/MemoFile.h"

namespace {
const char kRebuildPrefix[] = "SaveNotes(): ";

void WriteEmptyMemoFile(const std::string& path)
{
    std::vector<unsigned char> bytes = BuildEmptyMemoFile();
    CGenericFile file;
    file.CreateOverwrite(path.c_str());
    file.WriteToFile(bytes.data(), static_cast<DWORD>(bytes.size()));
}

// The text that record n keeps from the old memo file; a text that cannot be
// read there (it was already lost when the notes were loaded) is logged.
std::string OldText(CMemoFile& oldMemo, DWORD block, DWORD record)
{
    if (block == 0)
        return std::string();
    try {
        return oldMemo.ReadText(block);
    } catch (const CGenericException& e) {
        char line[300];
        wsprintfA(line, "record %lu keeps no text: %s", static_cast<unsigned long>(record), e.GetErrorText());
        WriteErrorLog(kRebuildPrefix, line);
        return std::string();
    }
}

// Every live record of the working copy into the new memo file.
void WriteRecords(CDbfFile& table, CMemoFile& newMemo, CMemoFile& oldMemo,
                  const std::map<DWORD, NoteRecord*>& byRecord)
{
    DWORD count = table.GetRecordCount();
    for (DWORD record = 1; record <= count; ++record) {
        if (record == count / 2 + 1)
            PassSaveStep(SaveStep::kRebuildHalfWritten);
        if (table.IsDeleted(record))
            continue;
        table.GoTo(record);
        table.BeginRecordWrite(record);
        auto found = byRecord.find(record);
        const std::string* text = nullptr;
        if (found != byRecord.end()) {
            WriteNoteFields(table, record, *found->second);
            text = TextToStore(*found->second);
        }
        std::string kept;
        if (!text) {
            kept = OldText(oldMemo, static_cast<DWORD>(table.GetLongValue("TEXT")), record);
            text = &kept;
        }
        std::uint32_t block = newMemo.Append(text->data(), static_cast<std::uint32_t>(text->size()), false);
        table.SetLongValue(record, "TEXT", static_cast<long>(block));
        table.EndRecordWrite();
    }
}

void BuildAside(const std::map<DWORD, NoteRecord*>& byRecord)
{
    CDbfFile table;
    OpenNotesTableCopy(table, kRebuildPrefix);
    std::string newMemoPath = DataFilePath(DataName::kNotesRebuiltMemo);
    WriteEmptyMemoFile(newMemoPath);

    CGenericFile newFile;
    newFile.OpenExclusive(newMemoPath.c_str());
    CFileByteStore newStore(newFile);
    CMemoFile newMemo(newStore, newMemoPath.c_str());
    std::string oldMemoPath = DataFilePath(DataName::kNotesMemo);
    CGenericFile oldFile;
    oldFile.OpenShared(oldMemoPath.c_str());
    CFileByteStore oldStore(oldFile);
    CMemoFile oldMemo(oldStore, oldMemoPath.c_str());

    WriteRecords(table, newMemo, oldMemo, byRecord);
    table.WriteHeldCopy();
    table.Close();
    FlushFileBuffers(newFile.GetHandle());
}

void RemoveAside()
{
    DeleteFileA(DataFilePath(DataName::kNotesRebuiltMemo).c_str());
    DeleteFileA(DataFilePath(DataName::kNotesWorkingTable).c_str());
}
}

MemoRebuild RebuildNotesTableAndMemo(const std::vector<NoteRecord*>& notes, std::vector<NoteRecord*>& remaining)
{
    std::vector<NoteRecord*> withoutRecord;
    std::map<DWORD, NoteRecord*> byRecord;
    for (NoteRecord* note : notes) {
        if (note->m_noteId == kUnsavedNoteId)
            withoutRecord.push_back(note);
        else
            byRecord[note->m_noteId] = note;
    }
    remaining = notes;
    try {
        BuildAside(byRecord);
    } catch (const CGenericException& e) {
        WriteErrorLog(kRebuildPrefix, e.GetErrorText());
        RemoveAside();
        return MemoRebuild::kNotMade;
    } catch (...) {
        WriteErrorLog(kRebuildPrefix, "Unknown exception ?!");
        RemoveAside();
        return MemoRebuild::kNotMade;
    }
    // From here the new pair is whole: once the table bears its rebuilt name,
    // a stop at any point is finished by the next start or save.
    PassSaveStep(SaveStep::kRebuildBuilt);
    std::string working = DataFilePath(DataName::kNotesWorkingTable);
    std::string rebuiltTable = DataFilePath(DataName::kNotesRebuiltTable);
    if (!RetryFileStep({FileStepKind::kRename, rebuiltTable},
                       [&] { return ReplaceWithWorkingCopy(working.c_str(), rebuiltTable.c_str()); }, kRebuildPrefix,
                       "\r\nError renaming file \"notesTemp.QPD\" Iteration ")) {
        RemoveAside();
        return MemoRebuild::kNotMade;
    }
    PassSaveStep(SaveStep::kRebuildCommitted);
    if (!FinishInterruptedRebuild())
        return MemoRebuild::kWaiting;
    remaining = withoutRecord;
    return MemoRebuild::kRebuilt;
}
