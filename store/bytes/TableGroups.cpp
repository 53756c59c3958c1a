#include "store/bytes/TableGroups.h"

#include <cctype>

#include "foundation/bytes/GenericException.h"

namespace {
struct GroupName {
    const char* fileName;
    TableGroup group;
};

const GroupName kGroupNames[] = {
    {"config.qpd", TableGroup::kConfig},     {"users.qpd", TableGroup::kUsers},
    {"notes.qpd", TableGroup::kNotes},       {"notestemp.qpd", TableGroup::kNotes},
    {"sentto.qpd", TableGroup::kSentTo},     {"transact.qpd", TableGroup::kTransact},
    {"sounds.qpd", TableGroup::kSounds},
};

bool SameTextIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

std::size_t FileNameStart(const std::string& fileName)
{
    std::size_t slash = fileName.find_last_of("\\/:");
    return slash == std::string::npos ? 0 : slash + 1;
}

// Keys are derived from one fixed word per group; changing any of these words or
// the derivation makes every shipped table unreadable.
const std::uint32_t kGroupWords[] = {
    0x436F6E66u, // config
    0x55736572u, // users
    0x4E6F7465u, // notes
    0x53656E74u, // sentto
    0x5472616Eu, // transact
    0x536F756Eu, // sounds
};
const std::uint32_t kSettingsMemoWord = 0x4D656D6Fu;

std::uint32_t Mix(std::uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

// role 0 is the header key, 1 the descriptor key, 2 to 21 the record slots.
CRecordCipher DeriveKey(std::uint32_t groupWord, std::uint32_t role)
{
    std::uint32_t seed = Mix(groupWord + role * 0x9E3779B9u);
    std::uint32_t multiplier = Mix(seed ^ 0x85EBCA6Bu) | 1u;
    if (multiplier == 1u)
        multiplier = 0x2C9277B5u;
    std::uint32_t increment = Mix(multiplier + 0xC2B2AE35u);
    return CRecordCipher(seed, multiplier, increment);
}

struct AllKeys {
    TableKeySet groups[6];
    CRecordCipher settingsMemo;

    AllKeys()
    {
        for (int g = 0; g < 6; ++g) {
            groups[g].header = DeriveKey(kGroupWords[g], 0);
            groups[g].descriptors = DeriveKey(kGroupWords[g], 1);
            for (std::uint32_t slot = 0; slot < kRecordKeySlots; ++slot)
                groups[g].records[slot] = DeriveKey(kGroupWords[g], 2 + slot);
        }
        settingsMemo = DeriveKey(kSettingsMemoWord, 0);
    }
};

const AllKeys& Keys()
{
    static const AllKeys keys;
    return keys;
}
}

TableGroup FindTableGroup(const char* fileName)
{
    if (!fileName)
        return TableGroup::kNone;
    std::string name(fileName);
    const char* filePart = name.c_str() + FileNameStart(name);
    for (const GroupName& entry : kGroupNames)
        if (SameTextIgnoringCase(filePart, entry.fileName))
            return entry.group;
    return TableGroup::kNone;
}

const TableKeySet& GetTableKeys(TableGroup group)
{
    switch (group) {
    case TableGroup::kConfig: return Keys().groups[0];
    case TableGroup::kUsers: return Keys().groups[1];
    case TableGroup::kNotes: return Keys().groups[2];
    case TableGroup::kSentTo: return Keys().groups[3];
    case TableGroup::kTransact: return Keys().groups[4];
    case TableGroup::kSounds: return Keys().groups[5];
    case TableGroup::kNone: break;
    }
    throw CGenericException("CDbfFile::Unknown file name to open ...");
}

unsigned RecordKeySlot(std::uint32_t recordNumber)
{
    if (recordNumber >= 1 && recordNumber <= kRecordKeySlots)
        return recordNumber;
    unsigned rest = recordNumber % kRecordKeySlots;
    return rest == 0 ? 1 : rest;
}

const CRecordCipher& GetRecordKey(const TableKeySet& keys, std::uint32_t recordNumber)
{
    return keys.records[RecordKeySlot(recordNumber) - 1];
}

const CRecordCipher& GetSettingsMemoKey()
{
    return Keys().settingsMemo;
}

std::string MemoFileNameOf(const std::string& tableFileName)
{
    std::size_t start = FileNameStart(tableFileName);
    std::size_t dot = tableFileName.find_last_of('.');
    std::string stem = (dot == std::string::npos || dot < start) ? tableFileName : tableFileName.substr(0, dot);
    return stem + ".QPS";
}

std::string FolderOf(const std::string& fileName)
{
    return fileName.substr(0, FileNameStart(fileName));
}
