#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MemoryTable.h"
#include "foundation/bytes/GenericException.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const std::uint32_t kSampleHeaderLength = 33 + 32 * 9;
const std::uint32_t kSampleRecordLength = 1 + 5 + 5 + 5 + 40 + 1 + 10 + 8 + 4 + 1;


// The stored bytes of record n, deciphered with the key of its slot.
std::string PlainRecord(const MemoryTable& t, std::uint32_t n)
{
    std::vector<unsigned char> bytes(t.Bytes().begin() + kSampleHeaderLength + (n - 1) * kSampleRecordLength,
                                     t.Bytes().begin() + kSampleHeaderLength + n * kSampleRecordLength);
    GetRecordKey(GetTableKeys(t.group), n).Decrypt(bytes.data(), bytes.size());
    return std::string(bytes.begin(), bytes.end());
}

std::string StoredField(const MemoryTable& t, std::uint32_t n, const char* name)
{
    FieldInfo info;
    EXPECT_TRUE(t.table.Fields().Find(name, info));
    return PlainRecord(t, n).substr(info.offset, info.width);
}
}

TEST(TableFile, SizeRuleByteForByte)
{
    MemoryTable t;
    EXPECT_EQ(t.Bytes().size(), kSampleHeaderLength);
    EXPECT_EQ(t.table.GetRecordCount(), 0u);
    EXPECT_TRUE(t.table.IsEOF());
    EXPECT_TRUE(t.table.IsBOF());

    t.table.AppendRecord();
    EXPECT_EQ(t.Bytes().size(), kSampleHeaderLength + kSampleRecordLength + 1);
    EXPECT_EQ(t.Bytes().back(), 0x1A);
    EXPECT_EQ(PlainRecord(t, 1), std::string(kSampleRecordLength, ' '));
    EXPECT_EQ(t.table.GetRecno(), 1u);

    t.table.AppendRecord();
    EXPECT_EQ(t.Bytes().size(), kSampleHeaderLength + 2 * kSampleRecordLength + 1);
    EXPECT_EQ(t.Bytes().back(), 0x1A);
    t.Reopen();
    EXPECT_EQ(t.table.GetRecordCount(), 2u);

    for (std::uint32_t records : {0u, 2u}) {
        std::vector<unsigned char> good = SampleTableBytes(records);
        for (int change : {-1, 1}) {
            std::vector<unsigned char> bytes = good;
            bytes.resize(bytes.size() + change, 0x1A);
            CMemoryByteStore store(bytes);
            CTableCursor table;
            table.UseKeys(TableGroup::kNotes, true);
            EXPECT_EQ(ErrorOf([&] { table.Attach(store, "notes.QPD"); }), "ReadStructure error");
            EXPECT_FALSE(table.IsAttached());
        }
    }
}

TEST(TableFile, ImpossibleHeadersAndDescriptorsAreRefusedBeforeUse)
{
    struct Change {
        std::size_t offset;
        std::vector<unsigned char> bytes;
        bool inDescriptors;
    };
    const TableKeySet& keys = GetTableKeys(TableGroup::kNotes);
    const Change changes[] = {
        {8, {32, 0}, false},              // header length below 33
        {8, {34, 0}, false},              // not 33 + 32n
        {8, {33 + 31, 0}, false},         // not 33 + 32n
        {8, {0xFF, 0xFF}, false},         // beyond the file
        {10, {0, 0}, false},              // record length 0
        {12, {0, 0, 0, 0}, true},         // first field at offset 0 (the deletion flag)
        {12, {0xF0, 0xFF, 0xFF, 0xFF}, true}, // field far outside the record
        {16, {0}, true},                  // width 0
        {32 * 8 + 16, {2}, true},         // last field one byte past the record
    };
    for (const Change& change : changes) {
        std::vector<unsigned char> bytes = SampleTableBytes(3);
        std::vector<unsigned char> plain(bytes.begin(), bytes.begin() + kSampleHeaderLength - 1);
        keys.header.Decrypt(plain.data(), 32);
        keys.descriptors.Decrypt(plain.data() + 32, plain.size() - 32);
        std::size_t at = change.offset + (change.inDescriptors ? 32 : 0);
        std::memcpy(plain.data() + at, change.bytes.data(), change.bytes.size());
        keys.header.Encrypt(plain.data(), 32);
        keys.descriptors.Encrypt(plain.data() + 32, plain.size() - 32);
        std::copy(plain.begin(), plain.end(), bytes.begin());

        CMemoryByteStore store(bytes);
        CTableCursor table;
        table.UseKeys(TableGroup::kNotes, true);
        EXPECT_EQ(ErrorOf([&] { table.Attach(store, "notes.QPD"); }), "ReadStructure error") << change.offset;
    }

    CMemoryByteStore tiny(std::vector<unsigned char>(31, 0));
    CTableCursor table;
    table.UseKeys(TableGroup::kNotes, true);
    EXPECT_EQ(ErrorOf([&] { table.Attach(tiny, "notes.QPD"); }), "Error reading header notes.QPD");

    // Another group's keys do not read the table.
    CMemoryByteStore notes(SampleTableBytes(2));
    table.UseKeys(TableGroup::kUsers, true);
    EXPECT_EQ(ErrorOf([&] { table.Attach(notes, "users.QPD"); }), "ReadStructure error");
}

TEST(TableFile, NavigationSkipsDeletedRecords)
{
    MemoryTable t(10);
    for (std::uint32_t n : {1u, 2u, 3u, 7u, 8u, 10u})
        t.table.DeleteRecord(n);
    t.Reopen();
    EXPECT_EQ(t.table.GetRecno(), 4u);
    EXPECT_EQ(t.table.GetLongValue("WUSERID"), 4);

    std::vector<std::int32_t> seen;
    for (t.table.GoTop(); !t.table.IsEOF(); t.table.Skip(1))
        seen.push_back(t.table.GetLongValue("WUSERID"));
    EXPECT_EQ(seen, (std::vector<std::int32_t>{4, 5, 6, 9}));
    EXPECT_EQ(t.table.GetLongValue("WUSERID"), 0); // blank buffer after the end

    t.table.GoTo(6);
    t.table.Skip(1);
    EXPECT_EQ(t.table.GetRecno(), 9u);
    t.table.GoTo(8);
    EXPECT_TRUE(t.table.IsDeleted(8));
    t.table.Skip(1);
    EXPECT_EQ(t.table.GetRecno(), 9u);
    EXPECT_FALSE(t.table.IsDeleted(9));

    t.table.GoTo(11);
    EXPECT_TRUE(t.table.IsEOF());
    EXPECT_EQ(t.table.GetStringValue("SZTITLE"), std::string(40, ' '));
    t.table.GoTo(5);
    EXPECT_FALSE(t.table.IsEOF());
    EXPECT_EQ(t.table.GetLongValue("WUSERID"), 5);

    t.table.GoTo(5);
    t.table.Skip(-1);
    EXPECT_EQ(t.table.GetRecno(), 4u);
    t.table.Skip(-1);
    EXPECT_TRUE(t.table.IsBOF());
    t.table.GoTo(1);
    t.table.Skip(-1);
    EXPECT_TRUE(t.table.IsBOF());
    t.table.Skip(-5);
    EXPECT_TRUE(t.table.IsBOF());
}

TEST(TableFile, AllDeletedAndEmptyTablesEndAtOnce)
{
    MemoryTable t(3);
    for (std::uint32_t n = 1; n <= 3; ++n)
        t.table.DeleteRecord(n);
    t.Reopen();
    EXPECT_TRUE(t.table.IsEOF());
    EXPECT_EQ(t.table.GetStringValue("SHORT"), "    ");

    MemoryTable empty;
    empty.table.GoTop();
    empty.table.Skip(1);
    empty.table.GoTo(1);
    EXPECT_TRUE(empty.table.IsEOF());
    EXPECT_TRUE(empty.table.IsBOF());
    EXPECT_EQ(empty.table.GetLongValue("WUSERID"), 0);
}

TEST(TableFile, WritesOutsideTheTableAreRefused)
{
    MemoryTable t(3);
    std::vector<unsigned char> before = t.Bytes();
    EXPECT_NE(ErrorOf([&] { t.table.SetLongValue(0, "WUSERID", 1); }), "");
    EXPECT_NE(ErrorOf([&] { t.table.SetStringValue(4, "SZTITLE", "x"); }), "");
    EXPECT_NE(ErrorOf([&] { t.table.SetDoubleValue(0xFFFFFFFFu, "DTIMES", 1.0); }), "");
    EXPECT_NE(ErrorOf([&] { t.table.DeleteRecord(0); }), "");
    EXPECT_NE(ErrorOf([&] { t.table.RecallRecord(4); }), "");
    EXPECT_EQ(ErrorOf([&] { t.table.SetLongValue(1, "NOPE", 1); }), "NOPE field not found");
    EXPECT_EQ(t.Bytes(), before);
    EXPECT_FALSE(t.table.IsDeleted(0));
    EXPECT_FALSE(t.table.IsDeleted(4));
}

TEST(TableFile, FieldsAreStoredInTheirEncodings)
{
    MemoryTable t(21);
    t.table.GoTo(21);
    t.table.SetLongValue(21, "WLEFT", -1000);
    t.table.SetLongValue(21, "WTOP", -2748);
    t.table.SetStringValue(21, "SHORT", "abcdef");
    t.table.SetStringValue(21, "FLAG", "");
    t.table.SetStringValue(21, "BSTAYONTOP", "T");
    t.table.SetDoubleValue(21, "DTIMES", 123456789.0);
    EXPECT_EQ(StoredField(t, 21, "WLEFT"), std::string("3e8H\0", 5));
    EXPECT_EQ(StoredField(t, 21, "WTOP"), std::string("abcH\0", 5));
    EXPECT_EQ(StoredField(t, 21, "SHORT"), "abcd");
    EXPECT_EQ(StoredField(t, 21, "FLAG"), " ");
    EXPECT_EQ(StoredField(t, 21, "DTIMES"), "1.23e+08");
    EXPECT_EQ(StoredField(t, 21, "WUSERID"), "   21");
    // Record 21 is enciphered with the key of slot 1.
    EXPECT_EQ(PlainRecord(t, 21)[0], ' ');

    t.Reopen();
    t.table.GoTo(21);
    EXPECT_EQ(t.table.GetLongValue("WLEFT"), -1000);
    EXPECT_EQ(t.table.GetLongValue("WTOP"), -2748);
    EXPECT_TRUE(t.table.GetLogicalValue("BSTAYONTOP"));
    EXPECT_DOUBLE_EQ(t.table.GetDoubleValue("DTIMES"), 1.23e8);
    EXPECT_EQ(t.table.GetStringValue("SHORT  "), "abcd");
    EXPECT_FALSE(t.table.FieldExists("short"));
    EXPECT_EQ(ErrorOf([&] { t.table.GetLongValue("wleft"); }), "wleft field not found");

    for (const char* yes : {"Y", "?", "T"}) {
        t.table.SetStringValue(21, "BSTAYONTOP", yes);
        EXPECT_TRUE(t.table.GetLogicalValue("BSTAYONTOP")) << yes;
    }
    for (const char* no : {"F", ""}) {
        t.table.SetStringValue(21, "BSTAYONTOP", no);
        EXPECT_FALSE(t.table.GetLogicalValue("BSTAYONTOP")) << no;
    }
}

TEST(TableFile, AnOverflowIsShownAndStoresOne)
{
    MessageBoxRecorder boxes;
    MemoryTable t(2);
    t.table.GoTo(2);
    t.table.SetLongValue(2, "WUSERID", 123456);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "WUSERID");
    EXPECT_EQ(boxes.Boxes()[0].caption, "123456");
    EXPECT_EQ(boxes.Boxes()[0].flags, static_cast<unsigned>(kMbOk));
    EXPECT_EQ(boxes.Boxes()[0].owner, nullptr);
    EXPECT_EQ(StoredField(t, 2, "WUSERID"), "    1");

    t.table.SetDoubleValue(2, "DTIMES", 0.000123456);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(StoredField(t, 2, "DTIMES"), "0.000123");
}

TEST(TableFile, ASetReadsItsOwnRecordWhenTheCallerDidNotGoThere)
{
    MemoryTable t(5);
    t.table.GoTo(2);
    t.table.SetStringValue(4, "SZTITLE", "fourth");
    EXPECT_EQ(t.table.GetRecno(), 4u);
    EXPECT_EQ(t.table.GetLongValue("WUSERID"), 4);
    t.Reopen();
    t.table.GoTo(2);
    EXPECT_EQ(t.table.GetLongValue("WUSERID"), 2);
    EXPECT_EQ(t.table.GetStringValue("SZTITLE"), std::string(40, ' '));
    t.table.GoTo(4);
    EXPECT_EQ(t.table.GetStringValue("SZTITLE").substr(0, 7), "fourth ");
}

TEST(TableFile, DeletedSlotsAreReused)
{
    MemoryTable t(6);
    t.table.DeleteRecord(5);
    t.table.DeleteRecord(2);
    t.table.BuildDeletedList();
    EXPECT_TRUE(t.table.IsEOF());
    EXPECT_EQ(t.table.DeletedList().Count(), 2u);
    EXPECT_EQ(t.table.GetFirstDeletedRecord(), 2u);

    // A writer takes the first free slot, recalls it and fills it.
    std::uint32_t slot = t.table.GetFirstDeletedRecord();
    t.table.GoTo(slot);
    t.table.RecallRecord(slot);
    t.table.SetLongValue(slot, "WUSERID", 77);
    t.table.RemoveFromDeletedList(slot);
    EXPECT_EQ(t.table.GetFirstDeletedRecord(), 5u);
    EXPECT_EQ(t.Bytes().size(), kSampleHeaderLength + 6 * kSampleRecordLength + 1);

    t.table.AddToDeletedList(5);
    t.table.AddToDeletedList(3);
    t.table.RemoveFromDeletedList(42);
    EXPECT_EQ(t.table.DeletedList().Count(), 2u);

    t.Reopen();
    EXPECT_EQ(t.table.GetFirstDeletedRecord(), 5u); // the list belongs to the binding
    std::vector<std::int32_t> live;
    for (t.table.GoTop(); !t.table.IsEOF(); t.table.Skip(1))
        live.push_back(t.table.GetLongValue("WUSERID"));
    EXPECT_EQ(live, (std::vector<std::int32_t>{1, 77, 3, 4, 6}));
}
