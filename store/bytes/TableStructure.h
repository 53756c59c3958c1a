#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/bytes/TableGroups.h"

// The layout of a table file: a 32-byte header, 32 bytes per field descriptor,
// one carried byte, then fixed-length records and, once there is a record, an
// end byte 0x1A. Header and descriptors are enciphered on disk; the values here
// are deciphered. Numbers are little-endian.
enum {
    kTableHeaderSize = 32,
    kFieldDescriptorSize = 32,
    kFieldNameLength = 10,
};
const unsigned char kTableEndByte = 0x1A;
const char kDeletedFlag = '*';
const char kLiveFlag = ' ';

// The deciphered header; the bytes that the program never consults are carried.
struct TableHeader {
    unsigned char bytes[kTableHeaderSize];

    std::uint32_t RecordCount() const;
    void SetRecordCount(std::uint32_t count);
    std::uint16_t HeaderLength() const;
    std::uint16_t RecordLength() const;
};

struct FieldInfo {
    std::uint32_t offset; // from the record's first byte (the deletion flag)
    std::uint8_t width;
};

// The field descriptors of a table, checked against its record length.
class CFieldTable {
public:
    // Takes count deciphered descriptors; false when a field does not lie
    // inside a record of the given length (offset at least 1, width at least 1).
    bool Load(const unsigned char* descriptors, unsigned count, std::uint16_t recordLength);
    void Clear()
    {
        m_fields.clear();
        m_byName.clear();
        ForgetRecentNames();
    }

    // The first field whose name equals the given one, trailing blanks ignored
    // on both sides, compared with case.
    bool Find(const char* name, FieldInfo& info) const;
    unsigned Count() const { return static_cast<unsigned>(m_fields.size()); }
    const std::string& NameAt(unsigned index) const { return m_fields[index].name; }

private:
    struct Field {
        std::string name;
        FieldInfo info;
    };
    // A name found before, by the address of the text it was asked with: the
    // callers name their fields with the same constant texts record after
    // record. The text is compared too, so a buffer that held another name
    // at that address is looked up afresh.
    struct RecentName {
        const char* text = nullptr;
        char name[kFieldNameLength + 1] = "";
        FieldInfo info = {0, 0};
    };
    enum { kRecentNames = 256, kRecentProbes = 4 };  // 256: the top 8 bits of a 32-bit hash
    void ForgetRecentNames();

    std::vector<Field> m_fields;
    // Every field is looked up by its name for each record: the names are hashed.
    std::unordered_map<std::string, FieldInfo> m_byName;
    mutable std::array<RecentName, kRecentNames> m_recent;
};

// Header length at least 33 and 33 + 32 x n, record length at least 1.
bool HasValidShape(const TableHeader& header);
unsigned FieldCountOf(const TableHeader& header);

// A table of n >= 1 records is header length + n x record length + 1 bytes
// long; an empty one is exactly its header length.
std::uint64_t ExpectedTableSize(const TableHeader& header);

// Offset of record n (from 1).
std::uint64_t RecordOffset(const TableHeader& header, std::uint32_t recordNumber);

// One field of a new table: its name, type letter and width. A table is made
// of its fields in record order, each placed right after the one before.
struct FieldLayout {
    const char* name; // at most 10 characters
    char type;        // dBASE letter, carried only
    std::uint8_t width;
};

// The bytes of an empty table of the given fields, enciphered with the group's
// keys. Throws when a name is too long or the record would not fit 65,535 bytes.
std::vector<unsigned char> BuildEmptyTable(const std::vector<FieldLayout>& fields, TableGroup group);
