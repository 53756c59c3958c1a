#include "store/NotesLoader.h"

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "store/NoteMaking.h"
#include "store/DbfFile.h"
#include "store/FreeSlotLists.h"
#include "store/NoteRecordFields.h"
#include "store/NotesFiles.h"
#include "store/NotesTableLock.h"

namespace {
void LogTextFailure(const char* what, const char* title, const char* details)
{
    std::string entry = std::string(what) + "\"" + title + "\"\r\n" + details;
    AppendTextToFile(entry.c_str(), DataName::kErrorLog);
}

// The note's text from the memo file into the buffer (which the load keeps
// from note to note); empty, and logged, when it cannot be read.
void ReadNoteText(CDbfFile& table, DWORD block, const char* title, std::vector<char>& text)
{
    text.clear();
    if (block == 0)
        return;
    DWORD offset = 0, fileSize = 0, length = 0;
    char details[200];
    if (!table.GetSizeOfMemoField(block, offset, fileSize, length)) {
        std::snprintf(details, sizeof details,
                      "  notes.qps file size= %lu, BlockNumber= %lu, Offset of memo field= %lu (?!) \r\n\r\n",
                      static_cast<unsigned long>(fileSize), static_cast<unsigned long>(block),
                      static_cast<unsigned long>(offset));
        LogTextFailure("Error GetSizeOfMemoField, the title of the note is ", title, details);
        return;
    }
    if (length >= fileSize) {
        std::snprintf(details, sizeof details,
                      "  notes.qps file size= %lu, memo field size= %lu (?!), Memo block number= %lu \r\n\r\n",
                      static_cast<unsigned long>(fileSize), static_cast<unsigned long>(length),
                      static_cast<unsigned long>(block));
        LogTextFailure("Error reading a memo field, the title of the note is ", title, details);
        return;
    }
    // Always room for the text and its terminator, whatever its length.
    text.resize(static_cast<size_t>(length) + 1);
    try {
        table.ReadMemoField(text.data(), static_cast<DWORD>(text.size()), block);
        text.resize(length);
    } catch (const CGenericException&) {
        text.clear();  // the memo reader has logged why
    }
}

void DeleteZombies(const std::vector<DWORD>& zombies)
{
    if (zombies.empty())
        return;
    CCriticalSectionLock hold(NotesTableLock());
    CDbfFile table;
    table.SetTable(DataFilePath(DataName::kNotesTable).c_str(), true);
    table.Open("MAPPINGALL");
    for (DWORD record : zombies)
        table.DeleteRecord(record);
    table.Close();
    for (DWORD record : zombies)
        NotesFreeSlots().Add(record);
}
}

int LoadNotes(const RowOwnership& ownership, const std::function<void(CNoteController*)>& place)
{
    {
        // A waiting rebuilt pair may have its memo file in place already:
        // read against the old table, every text would come out wrong.
        CCriticalSectionLock hold(NotesTableLock());
        if (!FinishInterruptedRebuild())
            throw CGenericException(kRebuildWaitingText);
    }
    CDbfFile table;
    table.SetTable(DataFilePath(DataName::kNotesTable).c_str(), true);
    table.Open("READ");
    table.HoldMemoFileOpen();
    NotesFreeSlots().Rebuild(table);
    table.GoTop();

    int created = 0;
    std::vector<DWORD> zombies;
    std::vector<char> text;
    for (; !table.IsEOF(); table.Skip(1)) {
        DWORD owner = static_cast<DWORD>(table.GetLongValue("WUSERID"));
        if (owner == 0) {
            AppendTextToFile("dwReadUserID==0 ??, delete this zombie record\r\n", DataName::kErrorLog);
            zombies.push_back(table.GetRecno());
            continue;
        }
        CStoredNote stored;
        stored.Read(table);
        stored.description.notShared = owner != ownership.currentUserId && !ownership.SharesNotes(owner);
        ReadNoteText(table, stored.textBlock, stored.description.title, text);
        stored.description.text = text.empty() ? nullptr : text.data();
        stored.description.textLength = static_cast<DWORD>(text.size());
        if (CNoteController* note = MakeNote(stored.description)) {
            place(note);
            ++created;
        }
    }
    table.Close();
    DeleteZombies(zombies);
    return created;
}
