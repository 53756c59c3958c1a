#include "store/NoteSaving.h"

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/DbfFile.h"
#include "store/FileStepRetries.h"
#include "store/NoteRecordFields.h"
#include "store/NotesFiles.h"
#include "store/FreeSlotLists.h"
#include "store/NoteBatchSaving.h"
#include "store/NotesMemoRebuild.h"
#include "store/NotesTableLock.h"
#include "store/SaveSteps.h"
#include "store/UnlockedBoxes.h"

namespace {
const char kSaveNotePrefix[] = "SaveNote(): ";
const char kBrandNewPrefix[] = "SaveABrandNewNote(): ";
const char kSaveToDiskPrefix[] = "SaveToDisk(): ";

SaveStepObserver g_saveStepObserver = nullptr;

const char kSealedText[] = "The data files were left half replaced: no note is saved until Quillnet+ starts again "
                           "and puts them right.";

bool DataFileExists(const char* name)
{
    return FileExists(DataFilePath(name).c_str());
}

// Logs the failure with the operation's prefix; nothing is shown. Each note
// not stored has its line, also when its step was given up earlier in the
// work under way (the step's tries were logged then, once).
template <class Body>
int LoggingFailures(const char* prefix, const char* unknownText, Body&& body)
{
    try {
        return body();
    } catch (const CGenericException& e) {
        WriteErrorLog(prefix, e.GetErrorText());
    } catch (...) {
        WriteErrorLog(prefix, unknownText);
    }
    return 0;
}

void MissingMemoFile(NoteRecord& note)
{
    if (DataFileExists(DataName::kNotesWorkingMemo)) {
        const char text[] = "The 'notes.qps' memo file is missing.\r\nThe 'notesTemp.QPS' memo file exists. Rename the "
                            "working file as the original data file.";
        WriteErrorLog(kSaveNotePrefix, text);
        ShowWhenUnlocked(note.m_window, text);
        MoveFileA(DataFilePath(DataName::kNotesWorkingMemo).c_str(), DataFilePath(DataName::kNotesMemo).c_str());
        return;
    }
    const char text[] = "The notes.qps file is missing.\r\n Quillnet+ cannot save the notes.";
    WriteErrorLog(kSaveNotePrefix, text);
    ShowWhenUnlocked(note.m_window, text);
}

void MissingDataFile(NoteRecord& note)
{
    if (DataFileExists(DataName::kNotesWorkingTable)) {
        WriteErrorLog(kSaveNotePrefix, "The 'notes.qpd' data file is missing.\r\nThe 'notesTemp.QPD' data file exists. "
                                       "Rename the working file as the original data file.");
        MoveFileA(DataFilePath(DataName::kNotesWorkingTable).c_str(), DataFilePath(DataName::kNotesTable).c_str());
        return;
    }
    const char text[] =
        "The notes.qpd file is missing. Have you deleted it by accident?\r\n Quillnet+ cannot save the notes.";
    WriteErrorLog(kSaveNotePrefix, text);
    ShowWhenUnlocked(note.m_window, text);
}

// After the record went into the working copy: the working copy replaces
// notes.QPD when the record was written whole, else it is dropped.
int FinishWorkingCopy(int saved, const char* logPrefix)
{
    PassSaveStep(SaveStep::kRecordWritten);
    if (!saved) {
        DeleteFileA(DataFilePath(DataName::kNotesWorkingTable).c_str());
        return 0;
    }
    if (!ReplaceNotesTableByWorkingCopy(logPrefix))
        return 0;
    PassSaveStep(SaveStep::kTableReplaced);
    return 1;
}

int SaveStoredNote(NoteRecord& note)
{
    CDbfFile table;
    OpenNotesTableCopy(table, kSaveNotePrefix);
    PassSaveStep(SaveStep::kTableCopied);
    table.GoTo(note.m_noteId);
    int saved = SaveToDisk(note, table, note.m_noteId);
    if (saved)
        table.WriteHeldCopy();
    table.Close();
    return FinishWorkingCopy(saved, kSaveNotePrefix);
}
}

void SetSaveStepObserver(SaveStepObserver observer)
{
    g_saveStepObserver = observer;
}

void PassSaveStep(SaveStep step)
{
    if (g_saveStepObserver)
        g_saveStepObserver(step);
}

CRITICAL_SECTION& NotesTableLock()
{
    static CCriticalSection lock;
    return lock.Section();
}

int SaveToDisk(NoteRecord& note, CDbfFile& table, DWORD record)
{
    return LoggingFailures(kSaveToDiskPrefix, "Unknown exception ?!", [&] {
        // The record is stored once, whole; a note not saved leaves it as it was.
        table.BeginRecordWrite(record);
        WriteNoteFields(table, record, note);
        const std::string* text = TextToStore(note);
        if (!text)
            return 0;
        DWORD block = table.SaveTextInMemoFile(text->data(), static_cast<DWORD>(text->size()));
        table.SetLongValue(record, "TEXT", static_cast<long>(block));
        table.EndRecordWrite();
        return 1;
    });
}

int SaveABrandNewNote(NoteRecord& note)
{
    DWORD slot = 0;
    int stored = LoggingFailures(kBrandNewPrefix, " Unknown exception ?!", [&] {
        CDbfFile table;
        OpenNotesTableCopy(table, kBrandNewPrefix);
        PassSaveStep(SaveStep::kTableCopied);
        DWORD record = slot = NotesFreeSlots().Take();
        if (record != 0) {
            table.GoTo(record);
            table.RecallRecord(record);
        } else {
            table.AppendRecord();
            record = table.GetRecordCount();
        }
        table.GoTo(record);
        WriteCreationTime(table, record, note.m_created);
        int saved = SaveToDisk(note, table, record);
        if (saved)
            table.WriteHeldCopy();
        table.Close();
        if (!FinishWorkingCopy(saved, kBrandNewPrefix))
            return 0;
        note.m_noteId = record;
        return 1;
    });
    if (!stored && slot != 0)
        NotesFreeSlots().Add(slot);
    return stored;
}

namespace {
// The save itself, with the notes-table lock held throughout; 1 when stored.
int SaveNoteLocked(NoteRecord& note)
{
    CCriticalSectionLock hold(NotesTableLock());
    return LoggingFailures(kSaveNotePrefix, "Unknown exception ?!", [&] {
        if (AreDataFilesSealed()) {
            WriteErrorLog(kSaveNotePrefix, kSealedText);
            return 0;
        }
        if (!FinishInterruptedRebuild()) {
            WriteErrorLog(kSaveNotePrefix, kRebuildWaitingText);
            return 0;
        }
        if (!DataFileExists(DataName::kNotesTable)) {
            MissingDataFile(note);
            return 0;
        }
        if (!DataFileExists(DataName::kNotesMemo)) {
            MissingMemoFile(note);
            return 0;
        }
        return note.m_noteId == kUnsavedNoteId ? SaveABrandNewNote(note) : SaveStoredNote(note);
    });
}

// A note written as it is now, or kept out of the table on purpose, needs no
// further save.
bool Settle(NoteRecord& note, bool stored)
{
    if (!stored && !TextWithheld(note))
        return false;
    note.m_modified = false;
    return true;
}
}

namespace {
thread_local unsigned t_failedNoteSaves = 0;
}

bool SaveNote(NoteRecord& note)
{
    int stored = SaveNoteLocked(note);
    ShowKeptBoxes();
    if (stored)
        note.SaveBesideTable();
    if (Settle(note, stored != 0))
        return true;
    ++t_failedNoteSaves;
    return false;
}

unsigned FailedNoteSaves()
{
    return t_failedNoteSaves;
}

void SaveNoteBeforeSend(NoteRecord& note)
{
    if (note.m_noteId != kUnsavedNoteId)
        return;
    try {
        {
            CCriticalSectionLock hold(NotesTableLock());
            if (AreDataFilesSealed())
                throw CGenericException(kSealedText);
            // Its record would go into a table that the waiting pair replaces.
            if (!FinishInterruptedRebuild())
                throw CGenericException(kRebuildWaitingText);
            SaveABrandNewNote(note);
        }
        ShowKeptBoxes();
    } catch (const CGenericException& e) {
        ShowErrorMessage(note.m_window, e.GetErrorText(), "Exception SaveNoteBeforeSend");
        throw;
    } catch (...) {
        ShowErrorMessage(note.m_window, "Unknown exception SaveNoteBeforeSend", ProgramTitle);
        throw CGenericException("SaveNoteBeforeSend Unknown exception");
    }
}

bool SaveNotes(const std::vector<NoteRecord*>& notes, bool rebuildMemo)
{
    if (AreDataFilesSealed()) {
        WriteErrorLog("SaveNotes(): ", kSealedText);
        return false;
    }
    // A held file costs its tries once in this save, and once in the save
    // or action this one is a part of.
    CHeldFilesMetOnce oneSave(HeldFileWork::kPartOfWorkUnderWay);
    // The memo file is rebuilt here or not at all: no single save may start it afresh.
    SetMemoFreshStart(false);
    std::vector<NoteRecord*> remaining = notes;
    bool writable;
    BatchSave batch = BatchSave::kFailed;
    bool rebuilt = !rebuildMemo;
    {
        CCriticalSectionLock hold(NotesTableLock());
        writable = FinishInterruptedRebuild();
        if (writable && rebuildMemo) {
            const MemoRebuild rebuild = RebuildNotesTableAndMemo(notes, remaining);
            writable = rebuild != MemoRebuild::kWaiting;
            rebuilt = rebuild == MemoRebuild::kRebuilt;
        }
        if (writable)
            batch = SaveNotesInOneWorkingCopy(remaining);
    }
    const bool saved = batch == BatchSave::kSaved;
    ShowKeptBoxes();
    if (!writable) {
        WriteErrorLog("SaveNotes(): ", kRebuildWaitingText);
        return false;
    }
    // What the notes keep beside the table follows; the notes saved one by
    // one below write theirs in SaveNote.
    for (NoteRecord* note : notes) {
        if (saved || std::find(remaining.begin(), remaining.end(), note) == remaining.end()) {
            note->SaveBesideTable();
            note->m_modified = false;
        }
    }
    if (saved)
        return rebuilt;
    // Each note saved on its own would wait on the same held file.
    if (batch == BatchSave::kFileHeld)
        return false;
    bool all = rebuilt;
    for (NoteRecord* note : remaining)
        all = SaveNote(*note) && all;
    return all;
}

bool SaveNotesTogether(const std::vector<NoteRecord*>& notes)
{
    if (AreDataFilesSealed()) {
        WriteErrorLog("SaveNotesTogether(): ", kSealedText);
        return false;
    }
    SetMemoFreshStart(false);
    bool saved = false;
    {
        CCriticalSectionLock hold(NotesTableLock());
        saved = FinishInterruptedRebuild() && SaveNotesInOneWorkingCopy(notes) == BatchSave::kSaved;
    }
    ShowKeptBoxes();
    if (!saved)
        return false;
    for (NoteRecord* note : notes) {
        note->SaveBesideTable();
        note->m_modified = false;
    }
    return true;
}
