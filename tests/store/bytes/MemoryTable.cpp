#include "MemoryTable.h"

#include <algorithm>

std::vector<FieldLayout> SampleFields()
{
    return {
        {"WUSERID", 'N', 5}, {"WLEFT", 'N', 5},  {"WTOP", 'N', 5},    {"SZTITLE", 'C', 40},
        {"BSTAYONTOP", 'L', 1}, {"TEXT", 'N', 10}, {"DTIMES", 'N', 8}, {"SHORT", 'C', 4},
        {"FLAG", 'C', 1},
    };
}

MemoryTable::MemoryTable(std::uint32_t records, TableGroup tableGroup)
    : group(tableGroup), store(BuildEmptyTable(SampleFields(), tableGroup))
{
    table.UseKeys(group, true);
    table.Attach(store, "memory.QPD");
    for (std::uint32_t n = 1; n <= records; ++n) {
        table.AppendRecord();
        table.SetLongValue(n, "WUSERID", static_cast<std::int32_t>(n));
    }
}

void MemoryTable::Reopen()
{
    table.Attach(store, "memory.QPD");
}

std::vector<unsigned char> SampleTableBytes(std::uint32_t records, TableGroup group)
{
    MemoryTable table(records, group);
    return table.Bytes();
}

void ChangeDecipheredHeader(std::vector<unsigned char>& table, std::size_t headerArea,
                            const std::function<void(std::vector<unsigned char>& plain)>& change)
{
    const TableKeySet& keys = GetTableKeys(TableGroup::kNotes);
    std::vector<unsigned char> plain(table.begin(), table.begin() + headerArea);
    keys.header.Decrypt(plain.data(), 32);
    keys.descriptors.Decrypt(plain.data() + 32, headerArea - 32);
    change(plain);
    keys.header.Encrypt(plain.data(), 32);
    keys.descriptors.Encrypt(plain.data() + 32, headerArea - 32);
    std::copy(plain.begin(), plain.end(), table.begin());
}
