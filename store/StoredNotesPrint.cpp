#include "store/StoredNotesPrint.h"

#include <algorithm>
#include <vector>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/BytesPrint.h"
#include "store/DbfFile.h"
#include "store/NotesFiles.h"
#include "store/NotesTableLock.h"

namespace {
// The field that tells where a record's text lies: a rebuild of the memo
// file moves every text.
const char kStoredNoteTextField[] = "TEXT";

void AddStoredNoteText(CDbfFile& table, std::string& note)
{
    const DWORD block = static_cast<DWORD>(table.GetLongValue(kStoredNoteTextField));
    if (block == 0)
        return;
    DWORD offset = 0, fileSize = 0, length = 0;
    if (!table.GetSizeOfMemoField(block, offset, fileSize, length) || length >= fileSize) {
        note += "text beyond the memo file";
        return;
    }
    std::vector<char> text(static_cast<size_t>(length) + 1);
    table.ReadMemoField(text.data(), static_cast<DWORD>(text.size()), block);
    note.append(text.data(), length);
}

// Every field of the current record by name, then its text.
std::string StoredNoteOf(CDbfFile& table)
{
    std::string note;
    const CFieldTable& fields = table.Fields();
    for (unsigned field = 0; field < fields.Count(); ++field) {
        const std::string& name = fields.NameAt(field);
        if (name == kStoredNoteTextField)
            continue;
        const size_t width = table.GetFieldInfo(name.c_str()).width;
        const CGenericString value = table.GetStringValue(name.c_str());
        note += name;
        note += '=';
        note.append(value.GetString(), width);
        note += '\0';
    }
    AddStoredNoteText(table, note);
    return note;
}

std::vector<std::string> ReadStoredNotes()
{
    CCriticalSectionLock hold(NotesTableLock());
    // A rebuilt pair that waits may have its memo file in place already: its
    // texts would be read against the old table.
    if (!FinishInterruptedRebuild())
        throw CGenericException(kRebuildWaitingText);
    std::vector<std::string> notes;
    CDbfFile table;
    table.SetTable(DataFilePath(DataName::kNotesTable).c_str(), true);
    table.Open("READ");
    table.HoldMemoFileOpen();
    for (table.GoTop(); !table.IsEOF(); table.Skip(1))
        notes.push_back(StoredNoteOf(table));
    table.Close();
    return notes;
}
}

std::string StoredNotesPrint()
{
    std::vector<std::string> notes;
    try {
        notes = ReadStoredNotes();
    } catch (const CGenericException&) {
        char unique[13];
        MakeUniqueName(unique, sizeof unique);
        return std::string("stored notes unread ") + unique;
    }
    // A note is the same note whichever record holds it.
    std::sort(notes.begin(), notes.end());
    CBytesPrint print;
    for (const std::string& note : notes)
        print.Add(note);
    return print.Text("stored notes");
}
