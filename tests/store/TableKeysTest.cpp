// The keys of the tables, pinned: the shipped templates and the tables of every
// installation were enciphered with them, so any change to how the keys are made
// leaves all of those files unreadable. These are the bytes as written today.
#include <string>

#include <gtest/gtest.h>

#include "store/bytes/TableGroups.h"
#include "support/InFolder.h"
#include "support/bytes/HexText.h"

namespace {
std::string Shipped(const char* name)
{
    return ReadWholeFile(ProgramFolder() + "\\UPGRADE\\" + name);
}

std::string HexOf(const std::string& bytes, size_t from, size_t count)
{
    if (bytes.size() < from + count)
        return "short file";
    return HexText(reinterpret_cast<const unsigned char*>(bytes.data()) + from, count);
}

// Eight blanks enciphered as the start of a record in the slot.
std::string BlankRecordStart(TableGroup group, std::uint32_t recordNumber)
{
    unsigned char bytes[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    GetRecordKey(GetTableKeys(group), recordNumber).Encrypt(bytes, sizeof bytes);
    return HexText(bytes, sizeof bytes);
}
}

TEST(TableKeys, TheShippedTablesAndRecordsAreEncipheredAsEver)
{
    const struct {
        const char* name;
        TableGroup group;
        const char* header;      // version and date, before any count or length
        const char* descriptor;  // the first 8 bytes of the first field descriptor
        const char* record1;     // a blank record in slot 1
        const char* record20;    // and in slot 20
    } tables[] = {
        {"config.QPD", TableGroup::kConfig, "9aab70c3", "c6a85ebaf161ae5e",
         "0b8729b35cfdc153", "4c7d745c928d5acd"},
        {"users.QPD", TableGroup::kUsers, "3ac71d15", "ec2494947dc94754",
         "284b9f1310549e05", "46156d5eb149a01f"},
        {"notes.QPD", TableGroup::kNotes, "2e468085", "2204e5375304f4a0",
         "b2f784cfc23ba873", "1bc7216bc8aefbf4"},
        {"sentto.QPD", TableGroup::kSentTo, "d3ad4453", "472c958585576b40",
         "648442d6da5f8c7c", "d73058d45ef9a66e"},
        {"transact.QPD", TableGroup::kTransact, "52e68fff", "cb5efb0990bb8258",
         "ff8e0e64657a3f9a", "d62eeb9be0290a8c"},
        {"sounds.QPD", TableGroup::kSounds, "ec7de512", "3e07e1d62db07da2",
         "aee5b3558768f2de", "b78c0a1eb51ac72f"},
    };
    for (const auto& t : tables) {
        std::string file = Shipped(t.name);
        EXPECT_EQ(HexOf(file, 0, 4), t.header) << t.name;
        EXPECT_EQ(HexOf(file, 32, 8), t.descriptor) << t.name;
        EXPECT_EQ(BlankRecordStart(t.group, 1), t.record1) << t.name;
        EXPECT_EQ(BlankRecordStart(t.group, 20), t.record20) << t.name;
    }
    // The flag and settings code of the settings table's first record as stored,
    // and the start of the first memo text (the welcome note) after its 8-byte
    // block header.
    std::string config = Shipped("config.QPD");
    ASSERT_GE(config.size(), 32u);
    unsigned char header[32];
    config.copy(reinterpret_cast<char*>(header), sizeof header);
    GetTableKeys(TableGroup::kConfig).header.Decrypt(header, sizeof header);
    EXPECT_EQ(HexOf(config, header[8] | header[9] << 8, 3), "0b8729");
    std::string memo = Shipped("config.QPS");
    EXPECT_EQ(HexOf(memo, 520, 6), "fe1fed49be15");
    ASSERT_GE(memo.size(), 526u);
    std::string text = memo.substr(520, 6);
    GetSettingsMemoKey().Decrypt(reinterpret_cast<unsigned char*>(&text[0]), text.size());
    EXPECT_EQ(text, "{\\rtf1");
}
