#pragma once

#include <functional>
#include <string>
#include <vector>

#include "store/bytes/ByteStore.h"
#include "store/bytes/TableCursor.h"
#include "store/bytes/TableStructure.h"
#include "support/bytes/ErrorOf.h"

// A small notes-like table held in memory, for the tests of the table code.
std::vector<FieldLayout> SampleFields();

struct MemoryTable {
    explicit MemoryTable(std::uint32_t records = 0, TableGroup group = TableGroup::kNotes);
    // Opens the table again over its own bytes, as a later open of the file would.
    void Reopen();
    const std::vector<unsigned char>& Bytes() const { return store.Bytes(); }

    TableGroup group;
    CMemoryByteStore store;
    CTableCursor table;
};

// Changes the deciphered header and descriptors of a notes table (its first
// headerArea bytes) and enciphers them again.
void ChangeDecipheredHeader(std::vector<unsigned char>& table, std::size_t headerArea,
                            const std::function<void(std::vector<unsigned char>& plain)>& change);

// A table of the sample fields whose records hold WUSERID = record number.
std::vector<unsigned char> SampleTableBytes(std::uint32_t records, TableGroup group = TableGroup::kNotes);
