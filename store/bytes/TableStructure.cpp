#include "store/bytes/TableStructure.h"

#include <cstring>

#include "foundation/bytes/GenericException.h"

namespace {
std::uint32_t ReadLittle32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t ReadLittle16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void WriteLittle32(unsigned char* p, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(value >> (8 * i));
}

void WriteLittle16(unsigned char* p, std::uint16_t value)
{
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
}

std::string WithoutTrailingBlanks(const char* text, std::size_t length)
{
    while (length > 0 && text[length - 1] == ' ')
        --length;
    return std::string(text, length);
}

// dBASE keeps its version byte and the date of the last change at the start of
// the header; the program carries them and never reads them.
const unsigned char kDbaseVersionWithMemo = 0x83;
const unsigned char kDbaseVersion = 0x03;
const unsigned char kDescriptorsEnd = 0x0D;
}

std::uint32_t TableHeader::RecordCount() const { return ReadLittle32(bytes + 4); }
void TableHeader::SetRecordCount(std::uint32_t count) { WriteLittle32(bytes + 4, count); }
std::uint16_t TableHeader::HeaderLength() const { return ReadLittle16(bytes + 8); }
std::uint16_t TableHeader::RecordLength() const { return ReadLittle16(bytes + 10); }

bool CFieldTable::Load(const unsigned char* descriptors, unsigned count, std::uint16_t recordLength)
{
    Clear();
    m_fields.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        const unsigned char* d = descriptors + i * kFieldDescriptorSize;
        std::size_t nameLength = 0;
        while (nameLength < kFieldNameLength + 1 && d[nameLength] != 0)
            ++nameLength;
        Field field;
        field.name = WithoutTrailingBlanks(reinterpret_cast<const char*>(d), nameLength);
        field.info.offset = ReadLittle32(d + 12);
        field.info.width = d[16];
        if (field.info.offset < 1 || field.info.width < 1 ||
            static_cast<std::uint64_t>(field.info.offset) + field.info.width > recordLength) {
            Clear();
            return false;
        }
        m_fields.push_back(field);
        m_byName.emplace(field.name, field.info);  // the first of a name wins
    }
    return true;
}

void CFieldTable::ForgetRecentNames()
{
    for (RecentName& recent : m_recent)
        recent.text = nullptr;
}

bool CFieldTable::Find(const char* name, FieldInfo& info) const
{
    // Constant texts lie a few bytes apart: every bit of the address counts,
    // and a name whose place is taken goes to one of the next few.
    const std::uint32_t address = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(name));
    const std::uint32_t first = (address * 2654435761u) >> 24;
    RecentName* free = nullptr;
    for (std::uint32_t probe = 0; probe < kRecentProbes; ++probe) {
        RecentName& recent = m_recent[(first + probe) % kRecentNames];
        if (recent.text == name && std::strcmp(recent.name, name) == 0) {
            info = recent.info;
            return true;
        }
        if (!recent.text && !free)
            free = &recent;
    }
    const std::size_t length = std::strlen(name);
    auto found = m_byName.find(WithoutTrailingBlanks(name, length));
    if (found == m_byName.end())
        return false;
    info = found->second;
    if (length <= kFieldNameLength) {
        RecentName& recent = free ? *free : m_recent[first];
        recent.text = name;
        std::memcpy(recent.name, name, length + 1);
        recent.info = info;
    }
    return true;
}

bool HasValidShape(const TableHeader& header)
{
    std::uint16_t headerLength = header.HeaderLength();
    return headerLength >= kTableHeaderSize + 1 && (headerLength - (kTableHeaderSize + 1)) % kFieldDescriptorSize == 0 &&
           header.RecordLength() >= 1;
}

unsigned FieldCountOf(const TableHeader& header)
{
    std::uint16_t headerLength = header.HeaderLength();
    return headerLength < kTableHeaderSize + 1 ? 0 : (headerLength - (kTableHeaderSize + 1)) / kFieldDescriptorSize;
}

std::uint64_t ExpectedTableSize(const TableHeader& header)
{
    std::uint64_t count = header.RecordCount();
    if (count == 0)
        return header.HeaderLength();
    return header.HeaderLength() + count * header.RecordLength() + 1;
}

std::uint64_t RecordOffset(const TableHeader& header, std::uint32_t recordNumber)
{
    return header.HeaderLength() + (static_cast<std::uint64_t>(recordNumber) - 1) * header.RecordLength();
}

std::vector<unsigned char> BuildEmptyTable(const std::vector<FieldLayout>& fields, TableGroup group)
{
    const TableKeySet& keys = GetTableKeys(group);
    std::uint32_t recordLength = 1;
    std::vector<unsigned char> descriptors(fields.size() * kFieldDescriptorSize, 0);
    bool hasMemo = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldLayout& field = fields[i];
        std::size_t nameLength = std::strlen(field.name);
        if (nameLength == 0 || nameLength > kFieldNameLength || field.width == 0)
            throw CGenericException("BuildEmptyTable: bad field");
        unsigned char* d = &descriptors[i * kFieldDescriptorSize];
        std::memcpy(d, field.name, nameLength);
        d[11] = static_cast<unsigned char>(field.type);
        WriteLittle32(d + 12, recordLength);
        d[16] = field.width;
        recordLength += field.width;
        hasMemo = hasMemo || field.type == 'M';
    }
    std::uint32_t headerLength = kTableHeaderSize + 1 + static_cast<std::uint32_t>(descriptors.size());
    if (recordLength > 0xFFFF || headerLength > 0xFFFF)
        throw CGenericException("BuildEmptyTable: record too long");

    TableHeader header;
    std::memset(header.bytes, 0, sizeof header.bytes);
    header.bytes[0] = hasMemo ? kDbaseVersionWithMemo : kDbaseVersion;
    header.bytes[1] = 107; // 2007-01-01: a fixed date keeps the templates reproducible
    header.bytes[2] = 1;
    header.bytes[3] = 1;
    WriteLittle16(header.bytes + 8, static_cast<std::uint16_t>(headerLength));
    WriteLittle16(header.bytes + 10, static_cast<std::uint16_t>(recordLength));

    std::vector<unsigned char> table(header.bytes, header.bytes + kTableHeaderSize);
    keys.header.Encrypt(table.data(), table.size());
    keys.descriptors.Encrypt(descriptors.data(), descriptors.size());
    table.insert(table.end(), descriptors.begin(), descriptors.end());
    table.push_back(kDescriptorsEnd);
    return table;
}
