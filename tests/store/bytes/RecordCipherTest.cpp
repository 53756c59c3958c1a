#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "store/bytes/RecordCipher.h"
#include "store/bytes/TableGroups.h"

namespace {
// What a key makes of 32 zero bytes.
std::string KeyStream(const CRecordCipher& key)
{
    std::string bytes(32, '\0');
    key.Encrypt(reinterpret_cast<unsigned char*>(&bytes[0]), bytes.size());
    return bytes;
}
}

TEST(RecordCipher, AnyRangeRoundTripsAndNeverChangesLength)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        CRecordCipher key(random(), random() | 1u, random());
        std::vector<unsigned char> plain(random() % 300);
        for (unsigned char& b : plain)
            b = static_cast<unsigned char>(random());
        std::vector<unsigned char> bytes = plain;
        key.Encrypt(bytes.data(), bytes.size());
        ASSERT_EQ(bytes.size(), plain.size());
        if (plain.size() > 8) {
            EXPECT_NE(bytes, plain);
        }
        key.Decrypt(bytes.data(), bytes.size());
        ASSERT_EQ(bytes, plain);
    }
}

// Worked by hand: seed 0x1200, multiplier 0x100, increment 0. The first key
// byte is 0x12, so plain 00 enciphers to 12. Fed back, the cipher byte gives the
// state (0x12 + 0x1200) x 0x100 = 0x121200 and the key byte 0x12 again; the
// plain byte would give 0x120000 and the key byte 0x00.
TEST(RecordCipher, FeedbackTakesTheCipherByteInBothDirections)
{
    CRecordCipher key(0x1200, 0x100, 0);
    std::vector<unsigned char> bytes(3, 0x00);
    key.Encrypt(bytes.data(), 3);
    EXPECT_EQ(bytes, std::vector<unsigned char>(3, 0x12));
    key.Decrypt(bytes.data(), 3);
    EXPECT_EQ(bytes, std::vector<unsigned char>(3, 0x00));  // plain feedback would give 0x12 in the middle
}

TEST(RecordCipher, EveryGroupHasItsOwnKeys)
{
    std::set<std::string> streams;
    for (TableGroup group : {TableGroup::kConfig, TableGroup::kUsers, TableGroup::kNotes, TableGroup::kSentTo,
                             TableGroup::kTransact, TableGroup::kSounds}) {
        const TableKeySet& keys = GetTableKeys(group);
        streams.insert(KeyStream(keys.header));
        streams.insert(KeyStream(keys.descriptors));
        for (const CRecordCipher& key : keys.records)
            streams.insert(KeyStream(key));
    }
    streams.insert(KeyStream(GetSettingsMemoKey()));
    streams.insert(KeyStream(CRecordCipher()));
    EXPECT_EQ(streams.size(), 6u * 22u + 2u);
}

TEST(TableGroups, NamesChooseGroupsWhateverTheFolderOrCase)
{
    const std::pair<const char*, TableGroup> names[] = {
        {"config.QPD", TableGroup::kConfig},         {"UPGRADE\\config.qpd", TableGroup::kConfig},
        {"QlData\\CONFIG.QPD", TableGroup::kConfig}, {"C:\\data\\users.QPD", TableGroup::kUsers},
        {"notesTemp.QPD", TableGroup::kNotes},       {"UPGRADE\\notes.qpd", TableGroup::kNotes},
        {"sentto.QPD", TableGroup::kSentTo},         {"transact.QPD", TableGroup::kTransact},
        {"sounds.QPD", TableGroup::kSounds},         {"configOld.QPD", TableGroup::kNone},
        {"webSearch.QPD", TableGroup::kNone},        {"config.QPD.bak", TableGroup::kNone},
        {"", TableGroup::kNone},                     {nullptr, TableGroup::kNone},
    };
    for (const auto& name : names)
        EXPECT_EQ(FindTableGroup(name.first), name.second) << (name.first ? name.first : "(null)");

    EXPECT_EQ(MemoFileNameOf("notes.QPD"), "notes.QPS");
    EXPECT_EQ(MemoFileNameOf("UPGRADE\\notes.qpd"), "UPGRADE\\notes.QPS");
    EXPECT_EQ(MemoFileNameOf("a.b\\config"), "a.b\\config.QPS");
    EXPECT_EQ(FolderOf("UPGRADE\\notes.qpd"), "UPGRADE\\");
    EXPECT_EQ(FolderOf("notes.qpd"), "");
}
