#pragma once

#include <windows.h>

#include <memory>

#include "foundation/GenericFile.h"
#include "foundation/GenericString.h"
#include "store/FileByteStore.h"
#include "store/bytes/TableCursor.h"

// The one class through which the program reads and writes its tables: bind it
// to a table name, open it, move over the records, get and set fields by name,
// delete and recall records, close it. A table is opened exclusively and only
// for the length of one operation. Texts too long for a record live in the
// table's memo file (".QPS"). The table's file is its own: every byte reaches it
// through the cursor, which enciphers records and keeps the table's size rule.
class CDbfFile : private CTableCursor {
public:
    CDbfFile();
    ~CDbfFile();

    // Chooses the table group's keys by the file name (any folder, any case);
    // a name of no group throws "CDbfFile::Unknown file name to open ...".
    void SetTable(const char* fileName, bool recordsEnciphered);
    const char* GetTableName() const { return m_fileName; }

    // "READ"; "MAPPINGALL" maps the whole file for writing; "MAPPINGAPPEND"
    // adds one blank record, makes it current and leaves the file mapped. Any
    // other mode reads. A failed open logs, leaves the table closed and throws.
    void Open(const char* mode);
    // Opens a copy of the table at sourcePath, read whole into memory, to be
    // changed there and written as the bound file by WriteHeldCopy: a notes
    // save makes its working copy with one read and one write, where copying
    // the file and then opening and mapping the copy takes several times as
    // many system calls. False, with the system's
    // error as the last error, when the source cannot be opened; a source that
    // is no whole table throws, as Open does.
    bool OpenCopyOf(const char* sourcePath);
    // Writes the table held in memory as the bound file, over any file of that
    // name; on failure nothing of it is left and CGenericException is thrown.
    void WriteHeldCopy();
    // Safe to call twice.
    void Close();
    bool IsOpen() const { return m_file.IsOpen(); }

    using CTableCursor::GoTop;
    using CTableCursor::Skip;
    using CTableCursor::GoTo;
    using CTableCursor::IsEOF;
    using CTableCursor::IsBOF;
    using CTableCursor::GetRecordCount;
    using CTableCursor::GetRecno;
    using CTableCursor::AppendRecord;

    using CTableCursor::GetLongValue;
    using CTableCursor::GetDoubleValue;
    using CTableCursor::GetLogicalValue;
    // The field's full width, trailing blanks included.
    CGenericString GetStringValue(const char* fieldName);
    using CTableCursor::GetTrimmedText;
    using CTableCursor::SetLongValue;
    using CTableCursor::SetDoubleValue;
    using CTableCursor::SetStringValue;
    using CTableCursor::BeginRecordWrite;
    using CTableCursor::EndRecordWrite;
    using CTableCursor::GetFieldInfo;
    using CTableCursor::FieldExists;
    using CTableCursor::Fields;
    using CTableCursor::GetKeyForRecord;

    using CTableCursor::DeleteRecord;
    using CTableCursor::RecallRecord;
    using CTableCursor::IsDeleted;
    using CTableCursor::BuildDeletedList;
    using CTableCursor::GetFirstDeletedRecord;
    using CTableCursor::AddToDeletedList;
    using CTableCursor::RemoveFromDeletedList;
    using CTableCursor::DeletedList;

    // Keeps the table's memo file for the memo reads below until Close, read
    // whole into memory at once (unless it is very large) rather than opened
    // and read in pieces for each memo: a load reads many memos in a row.
    void HoldMemoFileOpen();
    // Memo k of the table's memo file: where it lies, the file's size and the
    // text's length; false when the block lies beyond the end of the file.
    bool GetSizeOfMemoField(DWORD block, DWORD& offset, DWORD& fileSize, DWORD& textLength);
    // The text of memo k and a terminating zero, into a buffer of the given
    // capacity (a text that does not fit is refused). Settings memos are
    // deciphered.
    void ReadMemoField(char* buffer, DWORD capacity, DWORD block);
    // Appends the text as a new memo and returns its first block (0 for an
    // empty text). The notes memo file is written through its working copy.
    DWORD SaveTextInMemoFile(const void* text, DWORD length);
    // Reads memo k of the settings memo file into the buffer (no terminator)
    // and enciphers ("ENCRYPT") or deciphers ("DECRYPT") it there with the key.
    void AlterSponsorInfo(void* buffer, DWORD capacity, DWORD block, const CRecordCipher& key, const char* mode);

private:
    // What a failure of no known kind becomes, after it is logged.

    void OnFieldOverflow(const char* fieldName, const std::string& overflowText, const char* logPrefix,
                         const std::string& logDetails) override;
    DWORD WriteMemo(const void* text, DWORD length);
    // Runs one way of opening: a failure is logged, leaves the table closed
    // and is thrown on.
    template <class Body>
    void Opening(Body&& body);

    CGenericFile m_file;
    CGenericFile m_heldMemo;
    std::unique_ptr<CByteStore> m_heldMemoStore;
    CMappedTableStore m_store;
    std::unique_ptr<CMemoryByteStore> m_heldCopy;
    TableGroup m_group;
    char m_fileName[MAX_PATH];
    std::string m_memoPath;  // the bound table's memo file
};

// The next memo write starts its memo file afresh: the shut-down save of all
// notes and the import of an old version's notes set it; every write clears it.
void SetMemoFreshStart(bool on);
bool IsMemoFreshStart();

// Whole-table helpers of the upgrade code.
DWORD CountTableRecords(const char* fileName);
void AppendBlankRecords(const char* fileName, DWORD count);
