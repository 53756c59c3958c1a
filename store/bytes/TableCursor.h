#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/bytes/ByteStore.h"
#include "store/bytes/DeletedRecordList.h"
#include "store/bytes/TableGroups.h"
#include "store/bytes/TableStructure.h"

// The records of one open table file: checks the header and descriptors,
// moves over the records, reads and writes fields by name, deletes and
// recalls records and appends new ones. It reads and writes through a
// CByteStore, so the same code serves the program's files and tables in memory.
// The record buffer keeps the current record as stored (enciphered); the first
// field read deciphers a copy, which the later reads of that record share. A
// record write (BeginRecordWrite ... EndRecordWrite) sets many fields of one
// record in its deciphered copy and stores the record once.
class CTableCursor {
public:
    CTableCursor();
    virtual ~CTableCursor();
    CTableCursor(const CTableCursor&) = delete;
    CTableCursor& operator=(const CTableCursor&) = delete;

    // Chooses the keys of a group; until then every slot holds the default key.
    void UseKeys(TableGroup group, bool recordsEnciphered);
    bool RecordsEnciphered() const { return m_recordsEnciphered; }
    CRecordCipher GetKeyForRecord(std::uint32_t recordNumber) const;

    // Reads and checks the structure ("Error reading header " + name when the
    // header cannot be read, "ReadStructure error" for any impossible header,
    // descriptor or size), then goes to the first live record.
    void Attach(CByteStore& store, const char* fileName);
    void Detach();
    bool IsAttached() const { return m_store != nullptr; }

    // Adds one blank record at the end and makes it current.
    void AppendRecord();

    void GoTop();
    void Skip(std::int32_t count);
    void GoTo(std::uint32_t recordNumber);
    bool IsEOF() const { return m_eof; }
    bool IsBOF() const { return m_bof; }
    std::uint32_t GetRecordCount() const { return m_header.RecordCount(); }
    std::uint32_t GetRecno() const { return m_current; }

    std::int32_t GetLongValue(const char* fieldName);
    double GetDoubleValue(const char* fieldName);
    bool GetLogicalValue(const char* fieldName);
    // All field-width bytes, trailing blanks included.
    std::string GetStringValue(const char* fieldName);
    // The field's text up to a zero byte, without trailing blanks, cut to fit
    // the buffer with its terminator; returns its length.
    std::size_t GetTrimmedText(const char* fieldName, char* buffer, std::size_t size);

    // Refused with an exception for a record number outside 1..count.
    void SetLongValue(std::uint32_t recordNumber, const char* fieldName, std::int32_t value);
    void SetDoubleValue(std::uint32_t recordNumber, const char* fieldName, double value);
    void SetStringValue(std::uint32_t recordNumber, const char* fieldName, const char* text);

    // Until EndRecordWrite, the setters given this record change a deciphered
    // copy of it, which the getters read too; EndRecordWrite enciphers and
    // stores it. Moving to another record stores it first; detaching (or a
    // failure before the end) drops it, leaving the stored record as it was.
    void BeginRecordWrite(std::uint32_t recordNumber);
    void EndRecordWrite();

    FieldInfo GetFieldInfo(const char* fieldName) const;
    bool FieldExists(const char* fieldName) const;
    const CFieldTable& Fields() const { return m_fields; }

    void DeleteRecord(std::uint32_t recordNumber);
    void RecallRecord(std::uint32_t recordNumber);
    bool IsDeleted(std::uint32_t recordNumber);

    // The deleted list outlives the open table: it belongs to the binding.
    void BuildDeletedList();
    std::uint32_t GetFirstDeletedRecord() const { return m_deleted.First(); }
    void AddToDeletedList(std::uint32_t recordNumber) { m_deleted.Add(recordNumber); }
    void RemoveFromDeletedList(std::uint32_t recordNumber) { m_deleted.Remove(recordNumber); }
    CDeletedRecordList& DeletedList() { return m_deleted; }

protected:
    // A number too wide for its field: the record gets 1 instead and the user
    // is told which field it was. A file-backed table also logs it.
    virtual void OnFieldOverflow(const char* fieldName, const std::string& overflowText, const char* logPrefix,
                                 const std::string& logDetails);

private:
    CByteStore& Store() const;
    std::uint32_t CheckedRecordNumber(std::uint32_t recordNumber, const char* operation) const;
    void ReadRecord(std::uint32_t recordNumber);
    void BlankBuffer();
    bool StepForward();
    bool StepBack();
    bool StepToLive(bool forward);
    bool BufferIsDeleted() const;
    bool StoredRecordIsDeleted(std::uint32_t recordNumber);
    const std::vector<unsigned char>& PlainRecord() const;
    void ForgetPlainCopy() { m_plainValid = false; }
    void StorePendingRecord();
    void WriteRecord(std::uint32_t recordNumber, std::vector<unsigned char>& plain);
    std::vector<unsigned char> PlainRecordForWrite(std::uint32_t recordNumber, const char* operation);
    // Deciphers record n (or takes the record write's copy), lets change alter
    // it and, outside a record write, stores it again.
    template <class Change>
    void ChangeRecord(std::uint32_t recordNumber, const char* operation, Change change);
    // Deciphers record n, lets format fill the field's bytes, writes it back.
    template <class Format>
    void WriteField(std::uint32_t recordNumber, const char* fieldName, const char* operation, Format format);
    // The field's bytes in the current record, valid until the record changes.
    const unsigned char* FieldBytes(const char* fieldName, std::size_t& width) const;

    CByteStore* m_store;
    std::string m_fileName;
    TableHeader m_header;
    CFieldTable m_fields;
    std::vector<unsigned char> m_buffer;
    mutable std::vector<unsigned char> m_plain;  // m_buffer deciphered, once read
    mutable bool m_plainValid = false;
    std::vector<unsigned char> m_pending;  // the record of a record write
    std::uint32_t m_pendingRecord = 0;
    bool m_bufferHoldsRecord;
    std::uint32_t m_current;
    bool m_eof;
    bool m_bof;
    bool m_recordsEnciphered;
    TableKeySet m_keys;
    CDeletedRecordList m_deleted;
};
