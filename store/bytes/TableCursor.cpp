#include "store/bytes/TableCursor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/bytes/FieldEncoding.h"

namespace {
const char kReadStructureError[] = "ReadStructure error";

[[noreturn]] void ThrowText(const std::string& text)
{
    throw CGenericException(text.c_str());
}
}

CTableCursor::CTableCursor()
    : m_store(nullptr), m_bufferHoldsRecord(false), m_current(0), m_eof(true), m_bof(true),
      m_recordsEnciphered(false)
{
    std::memset(m_header.bytes, 0, sizeof m_header.bytes);
}

CTableCursor::~CTableCursor() = default;

void CTableCursor::UseKeys(TableGroup group, bool recordsEnciphered)
{
    m_keys = GetTableKeys(group);
    m_recordsEnciphered = recordsEnciphered;
}

CRecordCipher CTableCursor::GetKeyForRecord(std::uint32_t recordNumber) const
{
    return GetRecordKey(m_keys, recordNumber);
}

void CTableCursor::Attach(CByteStore& store, const char* fileName)
{
    Detach();
    m_fileName = fileName ? fileName : "";
    try {
        std::uint32_t fileSize = store.Size();
        if (fileSize < kTableHeaderSize)
            ThrowText("Error reading header " + m_fileName);
        store.Read(0, m_header.bytes, kTableHeaderSize);
        m_keys.header.Decrypt(m_header.bytes, kTableHeaderSize);
        if (!HasValidShape(m_header) || m_header.HeaderLength() > fileSize)
            ThrowText(kReadStructureError);

        std::vector<unsigned char> descriptors(FieldCountOf(m_header) * kFieldDescriptorSize);
        store.Read(kTableHeaderSize, descriptors.data(), static_cast<std::uint32_t>(descriptors.size()));
        m_keys.descriptors.Decrypt(descriptors.data(), descriptors.size());
        if (!m_fields.Load(descriptors.data(), FieldCountOf(m_header), m_header.RecordLength()) ||
            ExpectedTableSize(m_header) != fileSize)
            ThrowText(kReadStructureError);

        try {
            m_buffer.assign(m_header.RecordLength(), ' ');
        } catch (const std::bad_alloc&) {
            ThrowText("new CRecord failed. Null pointer??");
        }
        m_store = &store;
        GoTop();
    } catch (...) {
        Detach();
        throw;
    }
}

void CTableCursor::Detach()
{
    m_pendingRecord = 0;
    m_pending.clear();
    m_plainValid = false;
    m_store = nullptr;
    m_fields.Clear();
    m_buffer.clear();
    m_bufferHoldsRecord = false;
    m_current = 0;
    m_eof = m_bof = true;
    std::memset(m_header.bytes, 0, sizeof m_header.bytes);
}

CByteStore& CTableCursor::Store() const
{
    if (!m_store)
        ThrowText("CDbfFile: the table " + m_fileName + " is not open");
    return *m_store;
}

void CTableCursor::AppendRecord()
{
    RunOperation("CDbfFile::Open Unknown", [&] {
        CByteStore& store = Store();
        StorePendingRecord();
        std::uint32_t count = m_header.RecordCount();
        std::uint32_t recordLength = m_header.RecordLength();
        TableHeader grown = m_header;
        grown.SetRecordCount(count + 1);
        if (count == 0xFFFFFFFFu || ExpectedTableSize(grown) > 0xFFFFFFFFu)
            ThrowText("CDbfFile: the table " + m_fileName + " cannot grow further");

        store.Grow(recordLength + (count == 0 ? 1 : 0));
        // The header goes first: should we stop after it, the table still opens.
        TableHeader stored = grown;
        m_keys.header.Encrypt(stored.bytes, kTableHeaderSize);
        store.Write(0, stored.bytes, kTableHeaderSize);
        m_header = grown;

        std::uint32_t recordNumber = count + 1;
        std::vector<unsigned char> blank(recordLength, ' ');
        WriteRecord(recordNumber, blank);
        std::uint32_t endOffset = static_cast<std::uint32_t>(RecordOffset(m_header, recordNumber)) + recordLength;
        store.Write(endOffset, &kTableEndByte, 1);
        m_eof = m_bof = false;
    });
}

void CTableCursor::ReadRecord(std::uint32_t recordNumber)
{
    StorePendingRecord();
    ForgetPlainCopy();
    Store().Read(static_cast<std::uint32_t>(RecordOffset(m_header, recordNumber)), m_buffer.data(),
                 m_header.RecordLength());
    m_bufferHoldsRecord = true;
    m_current = recordNumber;
}

void CTableCursor::BlankBuffer()
{
    StorePendingRecord();
    ForgetPlainCopy();
    std::memset(m_buffer.data(), ' ', m_buffer.size());
    m_bufferHoldsRecord = false;
}

bool CTableCursor::BufferIsDeleted() const
{
    if (!m_bufferHoldsRecord || m_buffer.empty())
        return false;
    unsigned char flag = m_buffer[0];
    if (m_recordsEnciphered)
        GetRecordKey(m_keys, m_current).Decrypt(&flag, 1);
    return flag == kDeletedFlag;
}

// Positions run from 0 (before the first record) to count + 1 (after the
// last); a step off either end stops there with the buffer blank.
bool CTableCursor::StepForward()
{
    std::uint32_t count = m_header.RecordCount();
    if (m_current >= count) {
        m_current = count + 1;
        m_eof = true;
        m_bof = false;
        BlankBuffer();
        return false;
    }
    ReadRecord(m_current + 1);
    m_eof = m_bof = false;
    return true;
}

bool CTableCursor::StepBack()
{
    std::uint32_t count = m_header.RecordCount();
    std::uint32_t position = m_current > count ? count + 1 : m_current;
    if (position <= 1) {
        m_current = 0;
        m_bof = true;
        m_eof = false;
        BlankBuffer();
        return false;
    }
    ReadRecord(position - 1);
    m_eof = m_bof = false;
    return true;
}

// One record on in the direction, past deleted ones; false at either end.
bool CTableCursor::StepToLive(bool forward)
{
    do
        if (!(forward ? StepForward() : StepBack()))
            return false;
    while (BufferIsDeleted());
    return true;
}

void CTableCursor::GoTop()
{
    Store();
    if (m_header.RecordCount() == 0) {
        BlankBuffer();
        m_current = 0;
        m_eof = m_bof = true;
        return;
    }
    ReadRecord(1);
    m_eof = m_bof = false;
    if (BufferIsDeleted())
        Skip(1);
}

void CTableCursor::Skip(std::int32_t count)
{
    Store();
    if (count == 0)
        return;
    std::uint32_t recordCount = m_header.RecordCount();
    if (recordCount == 0) {
        BlankBuffer();
        m_eof = m_bof = true;
        return;
    }
    bool forward = count > 0;
    if (forward ? m_eof : m_bof)
        return;
    // More steps than records in that direction cannot land on one.
    std::uint64_t steps = forward ? static_cast<std::uint64_t>(count)
                                  : static_cast<std::uint64_t>(-static_cast<std::int64_t>(count));
    std::uint64_t position = m_current > recordCount ? recordCount + 1 : m_current;
    std::uint64_t room = forward ? recordCount - std::min<std::uint64_t>(position, recordCount)
                                 : (position > 0 ? position - 1 : 0);
    if (steps > room)
        steps = room + 1;
    for (std::uint64_t i = 0; i < steps; ++i)
        if (!StepToLive(forward))
            return;
}

void CTableCursor::GoTo(std::uint32_t recordNumber)
{
    Store();
    std::uint32_t count = m_header.RecordCount();
    m_current = recordNumber;
    if (count == 0) {
        BlankBuffer();
        m_current = 0;
        m_eof = m_bof = true;
    } else if (recordNumber == 0) {
        BlankBuffer();
        m_bof = true;
        m_eof = false;
    } else if (recordNumber > count) {
        BlankBuffer();
        m_eof = true;
        m_bof = false;
    } else {
        ReadRecord(recordNumber);
        m_eof = m_bof = false;
    }
}

const std::vector<unsigned char>& CTableCursor::PlainRecord() const
{
    if (m_pendingRecord != 0 && m_pendingRecord == m_current)
        return m_pending;
    if (!m_bufferHoldsRecord || !m_recordsEnciphered)
        return m_buffer;
    if (!m_plainValid) {
        m_plain = m_buffer;
        GetRecordKey(m_keys, m_current).Decrypt(m_plain.data(), m_plain.size());
        m_plainValid = true;
    }
    return m_plain;
}

void CTableCursor::WriteRecord(std::uint32_t recordNumber, std::vector<unsigned char>& plain)
{
    if (m_recordsEnciphered)
        GetRecordKey(m_keys, recordNumber).Encrypt(plain.data(), plain.size());
    Store().Write(static_cast<std::uint32_t>(RecordOffset(m_header, recordNumber)), plain.data(),
                  static_cast<std::uint32_t>(plain.size()));
    m_buffer.swap(plain);
    ForgetPlainCopy();
    m_bufferHoldsRecord = true;
    m_current = recordNumber;
}

void CTableCursor::BeginRecordWrite(std::uint32_t recordNumber)
{
    RunOperation("CDbfFile::BeginRecordWrite Unknown", [&] {
        std::vector<unsigned char> plain = PlainRecordForWrite(recordNumber, "CDbfFile::BeginRecordWrite");
        m_pending.swap(plain);
        m_pendingRecord = recordNumber;
    });
}

void CTableCursor::EndRecordWrite()
{
    RunOperation("CDbfFile::EndRecordWrite Unknown", [&] { StorePendingRecord(); });
}

void CTableCursor::StorePendingRecord()
{
    if (m_pendingRecord == 0)
        return;
    // Cleared first: should the write fail, the record is not tried again.
    std::uint32_t recordNumber = m_pendingRecord;
    m_pendingRecord = 0;
    std::vector<unsigned char> plain;
    plain.swap(m_pending);
    WriteRecord(recordNumber, plain);
}

std::uint32_t CTableCursor::CheckedRecordNumber(std::uint32_t recordNumber, const char* operation) const
{
    Store();
    if (recordNumber < 1 || recordNumber > m_header.RecordCount()) {
        char text[CGenericException::kMaxTextLength + 1];
        std::snprintf(text, sizeof text, "%s: record %lu is not in the table %s", operation,
                      static_cast<unsigned long>(recordNumber), m_fileName.c_str());
        throw CGenericException(text);
    }
    return recordNumber;
}

std::vector<unsigned char> CTableCursor::PlainRecordForWrite(std::uint32_t recordNumber, const char* operation)
{
    CheckedRecordNumber(recordNumber, operation);
    // Callers go to the record first; should one not, the record is read here
    // so that no other record's bytes are written under its number.
    if (!m_bufferHoldsRecord || m_current != recordNumber) {
        ReadRecord(recordNumber);
        m_eof = m_bof = false;
    }
    return PlainRecord();
}

template <class Change>
void CTableCursor::ChangeRecord(std::uint32_t recordNumber, const char* operation, Change change)
{
    if (m_pendingRecord != 0 && m_pendingRecord == CheckedRecordNumber(recordNumber, operation)) {
        change(m_pending);
        return;
    }
    std::vector<unsigned char> plain = PlainRecordForWrite(recordNumber, operation);
    change(plain);
    WriteRecord(recordNumber, plain);
}

template <class Format>
void CTableCursor::WriteField(std::uint32_t recordNumber, const char* fieldName, const char* operation,
                              Format format)
{
    ChangeRecord(recordNumber, operation, [&](std::vector<unsigned char>& plain) {
        FieldInfo field = GetFieldInfo(fieldName);
        format(plain.data() + field.offset, field.width);
    });
}

void CTableCursor::SetLongValue(std::uint32_t recordNumber, const char* fieldName, std::int32_t value)
{
    RunOperation("CDbfFile::SetLongValue Unknown", [&] {
        WriteField(recordNumber, fieldName, "CDbfFile::SetLongValue", [&](unsigned char* field, std::size_t width) {
            std::string overflowText;
            if (WriteIntegerField(value, IsCoordinateField(fieldName), field, width, overflowText))
                return;
            char details[64];
            std::snprintf(details, sizeof details, "field len=%d Value=%ld", static_cast<int>(width),
                          static_cast<long>(value));
            OnFieldOverflow(fieldName, overflowText, "CGenericString::PadLeft(): ", details);
            WriteIntegerField(1, false, field, width, overflowText);
        });
    });
}

void CTableCursor::SetDoubleValue(std::uint32_t recordNumber, const char* fieldName, double value)
{
    RunOperation("CDbfFile::SetLongValue Unknown", [&] {
        WriteField(recordNumber, fieldName, "CDbfFile::SetDoubleValue", [&](unsigned char* field, std::size_t width) {
            std::string overflowText;
            if (WriteDoubleField(value, field, width, overflowText))
                return;
            double whole = value;
            double fraction = std::isfinite(value) ? std::modf(value, &whole) : 0;
            char details[400];
            std::snprintf(details, sizeof details, " field len=%d Value=%.0f.%02d", static_cast<int>(width), whole,
                          static_cast<int>(std::fabs(fraction) * 100));
            OnFieldOverflow(fieldName, overflowText, "CGenericString::PadLeftDouble(): ", details);
            WriteIntegerField(1, false, field, width, overflowText);
        });
    });
}

void CTableCursor::SetStringValue(std::uint32_t recordNumber, const char* fieldName, const char* text)
{
    RunOperation("CDbfFile::SetStringValue Unknown", [&] {
        WriteField(recordNumber, fieldName, "CDbfFile::SetStringValue",
                   [&](unsigned char* field, std::size_t width) { WriteTextField(text ? text : "", field, width); });
    });
}

void CTableCursor::OnFieldOverflow(const char* fieldName, const std::string& overflowText, const char*,
                                   const std::string&)
{
    ShowMessageBox(nullptr, fieldName, overflowText.c_str(), kMbOk);
}

FieldInfo CTableCursor::GetFieldInfo(const char* fieldName) const
{
    return RunOperation("CDbfFile::GetFieldInfo Unknown", [&] {
        FieldInfo info;
        if (!m_fields.Find(fieldName, info))
            ThrowText(std::string(fieldName) + " field not found");
        return info;
    });
}

bool CTableCursor::FieldExists(const char* fieldName) const
{
    FieldInfo info;
    return m_fields.Find(fieldName, info);
}

const unsigned char* CTableCursor::FieldBytes(const char* fieldName, std::size_t& width) const
{
    Store();
    FieldInfo field = GetFieldInfo(fieldName);
    width = field.width;
    return PlainRecord().data() + field.offset;
}

std::int32_t CTableCursor::GetLongValue(const char* fieldName)
{
    return RunOperation("CDbfFile::GetLongValue Unknown", [&] {
        std::size_t width = 0;
        const unsigned char* bytes = FieldBytes(fieldName, width);
        return IsCoordinateField(fieldName) ? ReadCoordinateField(bytes, width) : ReadIntegerField(bytes, width);
    });
}

double CTableCursor::GetDoubleValue(const char* fieldName)
{
    return RunOperation("CDbfFile::GetDoubleValue Unknown", [&] {
        std::size_t width = 0;
        const unsigned char* bytes = FieldBytes(fieldName, width);
        return ReadDoubleField(bytes, width);
    });
}

bool CTableCursor::GetLogicalValue(const char* fieldName)
{
    return RunOperation("CDbfFile::GetLogicalValue Unknown", [&] {
        std::size_t width = 0;
        const unsigned char* bytes = FieldBytes(fieldName, width);
        return ReadLogicalField(bytes, width);
    });
}

std::string CTableCursor::GetStringValue(const char* fieldName)
{
    return RunOperation("CDbfFile::GetStringValue Unknown", [&] {
        std::size_t width = 0;
        const char* bytes = reinterpret_cast<const char*>(FieldBytes(fieldName, width));
        return std::string(bytes, width);
    });
}

std::size_t CTableCursor::GetTrimmedText(const char* fieldName, char* buffer, std::size_t size)
{
    return RunOperation("CDbfFile::GetTrimmedText Unknown", [&] {
        std::size_t width = 0;
        const char* bytes = reinterpret_cast<const char*>(FieldBytes(fieldName, width));
        // The text ends at its last non-blank byte or at a zero byte.
        std::size_t length = 0;
        while (length < width && bytes[length] != '\0')
            ++length;
        while (length > 0 && bytes[length - 1] == ' ')
            --length;
        if (size == 0)
            return std::size_t{0};
        if (length >= size)
            length = size - 1;
        std::memcpy(buffer, bytes, length);
        buffer[length] = '\0';
        return length;
    });
}

void CTableCursor::DeleteRecord(std::uint32_t recordNumber)
{
    RunOperation("CDbfFile::DeleteRecord Unknown", [&] {
        ChangeRecord(recordNumber, "CDbfFile::DeleteRecord",
                     [](std::vector<unsigned char>& plain) { plain[0] = kDeletedFlag; });
    });
}

void CTableCursor::RecallRecord(std::uint32_t recordNumber)
{
    RunOperation("CDbfFile::RecallRecord Unknown", [&] {
        ChangeRecord(recordNumber, "CDbfFile::RecallRecord",
                     [](std::vector<unsigned char>& plain) { plain[0] = kLiveFlag; });
    });
}

bool CTableCursor::IsDeleted(std::uint32_t recordNumber)
{
    if (m_pendingRecord != 0 && recordNumber == m_pendingRecord)
        return m_pending[0] == kDeletedFlag;
    if (m_bufferHoldsRecord && recordNumber == m_current)
        return BufferIsDeleted();
    if (recordNumber < 1 || recordNumber > m_header.RecordCount())
        return false;
    return StoredRecordIsDeleted(recordNumber);
}

bool CTableCursor::StoredRecordIsDeleted(std::uint32_t recordNumber)
{
    unsigned char flag;
    Store().Read(static_cast<std::uint32_t>(RecordOffset(m_header, recordNumber)), &flag, 1);
    if (m_recordsEnciphered)
        GetRecordKey(m_keys, recordNumber).Decrypt(&flag, 1);
    return flag == kDeletedFlag;
}

void CTableCursor::BuildDeletedList()
{
    Store();
    StorePendingRecord();
    std::uint32_t count = m_header.RecordCount();
    std::vector<std::uint32_t> deleted;
    for (std::uint32_t n = 1; n <= count; ++n)
        if (StoredRecordIsDeleted(n))
            deleted.push_back(n);
    m_deleted.AssignAscending(deleted);
    BlankBuffer();
    m_current = count + 1;
    m_eof = true;
    m_bof = count == 0;
}
