// Table files from arbitrary bytes. Each input is opened as a table of every
// group, as stored, and once more as a notes table whose header and field
// descriptors are given in plain and enciphered here, so that changed numbers
// in the header reach the checks behind the cipher. A table that opens is
// walked, its fields read, changed, and must then open again; no byte
// outside the file may ever be asked for.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "CheckedStore.h"
#include "FuzzCheck.h"
#include "foundation/bytes/GenericException.h"
#include "store/bytes/TableCursor.h"

namespace {
// Input bytes that choose record numbers, steps and values.
struct Choices {
    const uint8_t* data;
    size_t size;
    size_t next;
    std::uint32_t Take()
    {
        std::uint32_t value = 0;
        for (int k = 0; k < 4 && size > 0; ++k, ++next)
            value = value << 8 | data[next % size];
        return value;
    }
};

// Each field access deciphers the whole record, so a wide table is sampled:
// up to 32 fields of each of the first 12 records, each field read one way.
void ReadFields(CTableCursor& table)
{
    const CFieldTable& fields = table.Fields();
    const unsigned stride = fields.Count() / 32 + 1;
    int steps = 0;
    for (table.GoTop(); !table.IsEOF() && steps < 12; table.Skip(1), ++steps) {
        for (unsigned f = steps % stride; f < fields.Count(); f += stride) {
            const char* name = fields.NameAt(f).c_str();
            switch (f % 4) {
            case 0: table.GetLongValue(name); break;
            case 1: table.GetDoubleValue(name); break;
            case 2: table.GetLogicalValue(name); break;
            default: FUZZ_CHECK(table.GetStringValue(name).size() == table.GetFieldInfo(name).width);
            }
        }
    }
}

// Moves about, changes one record and appends one; false when a change was
// refused (the table may then be half changed and is not opened again).
bool MoveAndChange(CTableCursor& table, Choices& choices)
{
    const CFieldTable& fields = table.Fields();
    std::uint32_t count = table.GetRecordCount();
    table.GoTo(choices.Take() % (count + 3));
    table.Skip(static_cast<std::int32_t>(choices.Take() % 7) - 3);
    table.Skip(static_cast<std::int32_t>(choices.Take() % 7) - 3);
    table.BuildDeletedList();
    try {
        if (count > 0 && fields.Count() > 0) {
            std::uint32_t n = 1 + choices.Take() % count;
            const char* first = fields.NameAt(0).c_str();
            const char* last = fields.NameAt(fields.Count() - 1).c_str();
            table.SetStringValue(n, first, "changed");
            table.SetLongValue(n, last, static_cast<std::int32_t>(choices.Take()));
            // Any bit pattern, and always the numbers a field cannot hold.
            std::uint64_t bits = static_cast<std::uint64_t>(choices.Take()) << 32 | choices.Take();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            for (double number : {value, std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::denorm_min()}) {
                table.SetDoubleValue(n, first, number);
                // What was stored reads back as a number, however wide the field.
                table.GoTo(n);
                FUZZ_CHECK(std::isfinite(table.GetDoubleValue(first)));
            }
            table.DeleteRecord(n);
            FUZZ_CHECK(table.IsDeleted(n));
            table.RecallRecord(n);
            FUZZ_CHECK(!table.IsDeleted(n));
        }
        table.AppendRecord();
    } catch (const CGenericException&) {
        return false;
    }
    FUZZ_CHECK(table.GetRecordCount() == count + 1);
    return true;
}

void OpenAndUse(std::vector<unsigned char> bytes, TableGroup group, bool recordsEnciphered, Choices choices)
{
    CheckedStore store(std::move(bytes));
    CTableCursor table;
    table.UseKeys(group, recordsEnciphered);
    try {
        table.Attach(store, "fuzz.QPD");
    } catch (const CGenericException&) {
        return;
    }
    try {
        ReadFields(table);
    } catch (const CGenericException&) {
        return;
    }
    if (!MoveAndChange(table, choices))
        return;
    // What the table wrote must open again, with every record it counted.
    std::uint32_t count = table.GetRecordCount();
    table.Attach(store, "fuzz.QPD");
    FUZZ_CHECK(table.GetRecordCount() == count);
    ReadFields(table);
}

// The input's header and descriptors enciphered as a notes table stores them.
std::vector<unsigned char> EncipheredAsNotes(const uint8_t* data, size_t size)
{
    std::vector<unsigned char> bytes(data, data + size);
    if (size < kTableHeaderSize)
        return bytes;
    TableHeader header;
    std::memcpy(header.bytes, data, kTableHeaderSize);
    size_t descriptorsEnd = kTableHeaderSize + static_cast<size_t>(FieldCountOf(header)) * kFieldDescriptorSize;
    size_t headerEnd = descriptorsEnd < size ? descriptorsEnd : size;
    const TableKeySet& keys = GetTableKeys(TableGroup::kNotes);
    keys.header.Encrypt(bytes.data(), kTableHeaderSize);
    if (headerEnd > kTableHeaderSize)
        keys.descriptors.Encrypt(bytes.data() + kTableHeaderSize, headerEnd - kTableHeaderSize);
    return bytes;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    Choices choices = {data, size, size / 2};
    for (TableGroup group : {TableGroup::kConfig, TableGroup::kUsers, TableGroup::kNotes, TableGroup::kSentTo,
                             TableGroup::kTransact, TableGroup::kSounds})
        OpenAndUse(std::vector<unsigned char>(data, data + size), group, true, choices);
    OpenAndUse(EncipheredAsNotes(data, size), TableGroup::kNotes, false, choices);
    return 0;
}
