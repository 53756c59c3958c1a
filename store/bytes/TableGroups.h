#pragma once

#include <cstdint>
#include <string>

#include "store/bytes/RecordCipher.h"

// Every table file belongs to a group chosen by its file name; each group has
// its own keys, so a table copied under another group's name does not read.
enum class TableGroup { kNone, kConfig, kUsers, kNotes, kSentTo, kTransact, kSounds };

// The group of a table file name, whatever its folder ("UPGRADE\notes.qpd" and
// "notesTemp.QPD" are notes tables); names compare without regard to case.
TableGroup FindTableGroup(const char* fileName);

enum { kRecordKeySlots = 20 };

struct TableKeySet {
    CRecordCipher header;
    CRecordCipher descriptors;
    CRecordCipher records[kRecordKeySlots]; // slots 1 to 20
};

// The keys of a group; kNone has none and throws.
const TableKeySet& GetTableKeys(TableGroup group);

// Record n uses slot n up to 20, then n mod 20, where a remainder of 0 (and
// record 0) uses slot 1: slot 20 serves record 20 alone.
unsigned RecordKeySlot(std::uint32_t recordNumber);
const CRecordCipher& GetRecordKey(const TableKeySet& keys, std::uint32_t recordNumber);

// The key of the memo texts of the settings table.
const CRecordCipher& GetSettingsMemoKey();

// The memo file that belongs to a table file: the same name with ".QPS".
std::string MemoFileNameOf(const std::string& tableFileName);

// The folder part of a file name, with its trailing backslash ("" for a bare name).
std::string FolderOf(const std::string& fileName);
