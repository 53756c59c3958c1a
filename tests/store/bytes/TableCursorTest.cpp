#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
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

std::string AttachError(const std::vector<unsigned char>& bytes, TableGroup keys = TableGroup::kNotes)
{
    CMemoryByteStore store(bytes);
    CTableCursor table;
    table.UseKeys(keys, true);
    std::string error = ErrorOf([&] { table.Attach(store, "notes.QPD"); });
    EXPECT_EQ(table.IsAttached(), error.empty());
    return error;
}

std::vector<std::int32_t> LiveIds(MemoryTable& t)
{
    std::vector<std::int32_t> ids;
    for (t.table.GoTop(); !t.table.IsEOF(); t.table.Skip(1))
        ids.push_back(t.table.GetLongValue("WUSERID"));
    return ids;
}
}

TEST(TableFile, SizeRuleByteForByte)
{
    MemoryTable t;
    EXPECT_EQ(t.Bytes().size(), kSampleHeaderLength);
    EXPECT_TRUE(t.table.IsEOF() && t.table.IsBOF());
    for (std::uint32_t n = 1; n <= 2; ++n) {
        t.table.AppendRecord();
        EXPECT_EQ(t.Bytes().size(), kSampleHeaderLength + n * kSampleRecordLength + 1);
        EXPECT_EQ(t.Bytes().back(), 0x1A);
        EXPECT_EQ(PlainRecord(t, n), std::string(kSampleRecordLength, ' '));
        EXPECT_EQ(t.table.GetRecno(), n);
    }
    t.Reopen();
    EXPECT_EQ(t.table.GetRecordCount(), 2u);

    // One byte more or less than the header's counts is not a table.
    for (std::uint32_t records : {0u, 2u})
        for (int change : {-1, 1}) {
            std::vector<unsigned char> bytes = SampleTableBytes(records);
            bytes.resize(bytes.size() + change, 0x1A);
            EXPECT_EQ(AttachError(bytes), "ReadStructure error");
        }
}

TEST(TableFile, ImpossibleHeadersAndDescriptorsAreRefusedBeforeUse)
{
    // Offsets in the deciphered header, and from 32 on in the descriptors.
    const std::pair<std::size_t, std::vector<unsigned char>> changes[] = {
        {8, {32, 0}},                        // header length below 33
        {8, {34, 0}},                        // not 33 + 32n
        {8, {33 + 31, 0}},                   // not 33 + 32n
        {8, {0xFF, 0xFF}},                   // beyond the file
        {10, {0, 0}},                        // record length 0
        {32 + 12, {0, 0, 0, 0}},             // first field at offset 0 (the deletion flag)
        {32 + 12, {0xF0, 0xFF, 0xFF, 0xFF}}, // field far outside the record
        {32 + 16, {0}},                      // width 0
        {32 + 32 * 8 + 16, {2}},             // last field one byte past the record
    };
    for (const auto& change : changes) {
        std::vector<unsigned char> bytes = SampleTableBytes(3);
        ChangeDecipheredHeader(bytes, kSampleHeaderLength - 1, [&](std::vector<unsigned char>& plain) {
            std::copy(change.second.begin(), change.second.end(), plain.begin() + change.first);
        });
        EXPECT_EQ(AttachError(bytes), "ReadStructure error") << change.first;
    }
    EXPECT_EQ(AttachError(std::vector<unsigned char>(31, 0)), "Error reading header notes.QPD");
    EXPECT_EQ(AttachError(SampleTableBytes(2), TableGroup::kUsers), "ReadStructure error")
        << "another group's keys do not read the table";
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
    EXPECT_EQ(ErrorOf([&] { t.table.GetLongValue("wleft"); }), "wleft field not found");
    EXPECT_EQ(t.Bytes(), before);
}

TEST(TableFile, FieldsAreStoredInTheirEncodings)
{
    MemoryTable t(21);
    t.table.SetLongValue(21, "WLEFT", -1000);
    t.table.SetLongValue(21, "WTOP", -2748);
    t.table.SetStringValue(21, "SHORT", "abcdef");
    t.table.SetStringValue(21, "FLAG", "");
    t.table.SetStringValue(21, "BSTAYONTOP", "T");
    t.table.SetDoubleValue(21, "DTIMES", 123456789.0);
    // Record 21 is enciphered with the key of slot 1.
    EXPECT_EQ(StoredField(t, 21, "WLEFT"), std::string("3e8H\0", 5));
    EXPECT_EQ(StoredField(t, 21, "WTOP"), std::string("abcH\0", 5));
    EXPECT_EQ(StoredField(t, 21, "SHORT"), "abcd");
    EXPECT_EQ(StoredField(t, 21, "FLAG"), " ");
    EXPECT_EQ(StoredField(t, 21, "DTIMES"), "1.23e+08");
    EXPECT_EQ(StoredField(t, 21, "WUSERID"), "   21");

    t.Reopen();
    t.table.GoTo(21);
    EXPECT_EQ(t.table.GetLongValue("WLEFT"), -1000);
    EXPECT_EQ(t.table.GetLongValue("WTOP"), -2748);
    EXPECT_TRUE(t.table.GetLogicalValue("BSTAYONTOP"));
    EXPECT_DOUBLE_EQ(t.table.GetDoubleValue("DTIMES"), 1.23e8);
    EXPECT_EQ(t.table.GetStringValue("SHORT  "), "abcd");
}

TEST(TableFile, AnOverflowIsShownAndStoresOne)
{
    MessageBoxRecorder boxes;
    MemoryTable t(2);
    t.table.SetLongValue(2, "WUSERID", 123456);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "WUSERID");
    EXPECT_EQ(boxes.Boxes()[0].caption, "123456");
    EXPECT_EQ(StoredField(t, 2, "WUSERID"), "    1");

    t.table.SetDoubleValue(2, "DTIMES", 0.000123456);
    EXPECT_EQ(boxes.Count(), 1u) << "a double too long loses digits, not its value";
    EXPECT_EQ(StoredField(t, 2, "DTIMES"), "0.000123");

    // No field holds a number that is not finite: it overflows like one too wide.
    t.table.SetDoubleValue(2, "DTIMES", std::nan(""));
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, "DTIMES");
    EXPECT_EQ(boxes.Boxes()[1].caption, "nan");
    EXPECT_EQ(StoredField(t, 2, "DTIMES"), "       1");
    t.table.SetDoubleValue(2, "DTIMES", -HUGE_VAL);
    ASSERT_EQ(boxes.Count(), 3u);
    EXPECT_EQ(boxes.Boxes()[2].caption, "-inf");
    t.table.SetDoubleValue(2, "DTIMES", DBL_MAX);
    EXPECT_EQ(boxes.Count(), 3u);
    t.Reopen();
    t.table.GoTo(2);
    EXPECT_DOUBLE_EQ(t.table.GetDoubleValue("DTIMES"), 1.7e308);
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

    t.Reopen();
    EXPECT_EQ(t.table.GetFirstDeletedRecord(), 5u);  // the list belongs to the binding
    EXPECT_EQ(LiveIds(t), (std::vector<std::int32_t>{1, 77, 3, 4, 6}));
}

TEST(TableFile, NavigationSkipsDeletedRecordsAndStepsOffEitherEndComeBackToTheLiveRecordThere)
{
    MemoryTable three(3);
    three.table.GoTo(3);
    three.table.Skip(1);
    EXPECT_TRUE(three.table.IsEOF());
    three.table.Skip(-1);
    EXPECT_FALSE(three.table.IsEOF());
    EXPECT_EQ(three.table.GetLongValue("WUSERID"), 3);
    three.table.GoTo(1);
    three.table.Skip(-1);
    EXPECT_TRUE(three.table.IsBOF());
    three.table.Skip(2);
    EXPECT_FALSE(three.table.IsBOF());
    EXPECT_EQ(three.table.GetLongValue("WUSERID"), 2);
    three.table.Skip(-1);
    EXPECT_EQ(three.table.GetLongValue("WUSERID"), 1);

    // Live records 4, 5, 6 and 9 of ten; both ends are deleted.
    MemoryTable t(10);
    for (std::uint32_t n : {1u, 2u, 3u, 7u, 8u, 10u})
        t.table.DeleteRecord(n);
    t.Reopen();
    EXPECT_EQ(t.table.GetRecno(), 4u);
    EXPECT_EQ(LiveIds(t), (std::vector<std::int32_t>{4, 5, 6, 9}));
    EXPECT_EQ(t.table.GetLongValue("WUSERID"), 0);  // blank buffer after the end
    EXPECT_EQ(t.table.GetStringValue("SZTITLE"), std::string(40, ' '));
    t.table.GoTo(5);
    EXPECT_FALSE(t.table.IsEOF());
    EXPECT_EQ(t.table.GetLongValue("WUSERID"), 5);
    t.table.GoTo(0);
    t.table.Skip(1);
    EXPECT_EQ(t.table.GetLongValue("WUSERID"), 4);
    t.table.GoTo(11);
    EXPECT_TRUE(t.table.IsEOF());
    std::vector<std::int32_t> backward;
    for (int i = 0; i < 20 && (t.table.Skip(-1), !t.table.IsBOF()); ++i)
        backward.push_back(t.table.GetLongValue("WUSERID"));
    EXPECT_EQ(backward, (std::vector<std::int32_t>{9, 6, 5, 4}));

    struct {
        bool fromEnd;   // start after the last record, else before the first
        std::int32_t skip;
        std::int32_t id;  // 0: off the far end
    } moves[] = {{true, -1, 9}, {true, -2, 6}, {true, -4, 4}, {true, -5, 0}, {true, -2000000000, 0},
                 {false, 1, 4}, {false, 2, 5}, {false, 4, 9}, {false, 5, 0}, {false, 2000000000, 0}};
    for (const auto& m : moves) {
        if (m.fromEnd) {
            t.table.GoTo(9);
            t.table.Skip(1);
            ASSERT_TRUE(t.table.IsEOF());
        } else {
            t.table.GoTop();
            t.table.Skip(-1);
            ASSERT_TRUE(t.table.IsBOF());
        }
        t.table.Skip(m.skip);
        EXPECT_EQ(t.table.GetLongValue("WUSERID"), m.id) << m.fromEnd << " " << m.skip;
        EXPECT_EQ(t.table.IsEOF(), m.id == 0 && m.skip > 0) << m.fromEnd << " " << m.skip;
        EXPECT_EQ(t.table.IsBOF(), m.id == 0 && m.skip < 0) << m.fromEnd << " " << m.skip;
    }

    MemoryTable allDeleted(3);
    for (std::uint32_t n = 1; n <= 3; ++n)
        allDeleted.table.DeleteRecord(n);
    allDeleted.Reopen();
    EXPECT_TRUE(allDeleted.table.IsEOF());
    EXPECT_EQ(allDeleted.table.GetStringValue("SHORT"), "    ");
    MemoryTable empty;
    empty.table.Skip(1);
    empty.table.GoTo(1);
    EXPECT_TRUE(empty.table.IsEOF() && empty.table.IsBOF());
}

TEST(TableFile, ARecordWriteStoresTheRecordOnceWholeAndIsDroppedWhenNotEnded)
{
    MemoryTable t(4);
    const std::vector<unsigned char> before = t.Bytes();
    t.table.GoTo(3);
    t.table.BeginRecordWrite(3);
    t.table.SetLongValue(3, "WLEFT", -1000);
    t.table.SetStringValue(3, "SZTITLE", "third");
    t.table.SetDoubleValue(3, "DTIMES", 42.0);
    t.table.DeleteRecord(3);
    t.table.RecallRecord(3);
    // The record's own reads see its changes; the stored bytes have none yet.
    EXPECT_EQ(t.table.GetLongValue("WLEFT"), -1000);
    EXPECT_EQ(t.table.GetStringValue("SZTITLE").substr(0, 6), "third ");
    EXPECT_EQ(t.table.GetLongValue("WUSERID"), 3);
    EXPECT_FALSE(t.table.IsDeleted(3));
    EXPECT_EQ(t.Bytes(), before);
    EXPECT_THROW(t.table.SetLongValue(9, "WLEFT", 1), CGenericException);

    t.table.EndRecordWrite();
    EXPECT_EQ(StoredField(t, 3, "WLEFT"), std::string("3e8H\0", 5));
    EXPECT_EQ(StoredField(t, 3, "SZTITLE").substr(0, 6), "third ");
    EXPECT_EQ(StoredField(t, 3, "DTIMES"), "      42");
    EXPECT_EQ(PlainRecord(t, 3)[0], ' ');
    for (std::uint32_t other : {1u, 2u, 4u})
        EXPECT_EQ(PlainRecord(t, other), PlainRecord(MemoryTable(4), other));

    // A write to another record, or a move, stores the record first.
    t.table.BeginRecordWrite(2);
    t.table.SetLongValue(2, "WLEFT", 22);
    t.table.SetLongValue(4, "WLEFT", 44);
    EXPECT_EQ(t.table.GetRecno(), 4u);
    t.table.BeginRecordWrite(1);
    t.table.SetLongValue(1, "WLEFT", 11);
    t.table.GoTo(3);
    t.Reopen();
    for (std::uint32_t n : {1u, 2u, 4u}) {
        t.table.GoTo(n);
        EXPECT_EQ(t.table.GetLongValue("WLEFT"), static_cast<std::int32_t>(n * 11));
    }

    // Closed before its end (a save that failed), the record stays as it was.
    const std::vector<unsigned char> stored = t.Bytes();
    t.table.BeginRecordWrite(4);
    t.table.SetLongValue(4, "WLEFT", 99);
    t.table.DeleteRecord(4);
    EXPECT_TRUE(t.table.IsDeleted(4));
    t.table.Detach();
    EXPECT_EQ(t.Bytes(), stored);
    t.Reopen();
    t.table.GoTo(4);
    EXPECT_EQ(t.table.GetLongValue("WLEFT"), 44);
}

TEST(TableFile, FieldsFoundByTheTextTheyWereAskedWithStayRightWhenTheTextOrTheTableChanges)
{
    MemoryTable t(2);
    t.table.SetLongValue(2, "WLEFT", 11);
    t.table.SetLongValue(2, "WTOP", 22);
    t.table.SetStringValue(2, "SZTITLE", "  a title  ");
    t.table.GoTo(2);
    // One buffer naming one field, then another: each read finds its own field.
    char name[16] = "WLEFT";
    EXPECT_EQ(t.table.GetLongValue(name), 11);
    std::strcpy(name, "WTOP");
    EXPECT_EQ(t.table.GetLongValue(name), 22);
    std::strcpy(name, "WTOP  ");
    EXPECT_EQ(t.table.GetLongValue(name), 22);
    std::strcpy(name, "WTOPX");
    EXPECT_NE(ErrorOf([&] { t.table.GetLongValue(name); }), "");
    std::strcpy(name, "WLEFT");
    t.table.SetLongValue(2, name, 33);
    EXPECT_EQ(t.table.GetLongValue("WLEFT"), 33);

    // The same texts over a table of another layout find that table's fields.
    const char* const wleft = "WLEFT";
    const char* const title = "SZTITLE";
    EXPECT_EQ(t.table.GetLongValue(wleft), 33);
    CMemoryByteStore other(BuildEmptyTable({{"SZTITLE", 'C', 12}, {"WLEFT", 'N', 3}}, TableGroup::kNotes));
    t.table.Attach(other, "other.QPD");
    t.table.AppendRecord();
    t.table.SetLongValue(1, wleft, 7);
    t.table.SetStringValue(1, title, "other");
    EXPECT_EQ(t.table.GetLongValue(wleft), 7);
    EXPECT_EQ(t.table.GetStringValue(title), "other       ");
    FieldInfo info;
    ASSERT_TRUE(t.table.Fields().Find(wleft, info));
    EXPECT_EQ(info.offset, 13u);
    EXPECT_EQ(info.width, 3u);
}

TEST(TableFile, TrimmedTextsEndAtTheirLastLetterOrAZeroAndAreCutToTheBuffer)
{
    MemoryTable t(1);
    char text[41];
    const std::string full(40, 'x');
    const struct {
        const char* stored;
        std::size_t size;
        std::string read;
    } cases[] = {
        {"  a title  ", sizeof text, "  a title"},
        {"", sizeof text, ""},
        {"abcdefghij", 5, "abcd"},
        {"abcdefghij", 1, ""},
        {full.c_str(), sizeof text, full},
    };
    for (const auto& c : cases) {
        t.table.SetStringValue(1, "SZTITLE", c.stored);
        t.table.GoTo(1);
        std::memset(text, '#', sizeof text);
        EXPECT_EQ(t.table.GetTrimmedText("SZTITLE", text, c.size), c.read.size()) << c.stored;
        EXPECT_EQ(std::string(text), c.read) << c.stored;
    }
    // A zero byte ends the text, blanks before it are dropped too.
    MemoryTable zero(1);
    zero.table.BeginRecordWrite(1);
    zero.table.SetStringValue(1, "SZTITLE", "ab  ");
    zero.table.EndRecordWrite();
    std::vector<unsigned char> bytes = zero.Bytes();
    FieldInfo info;
    ASSERT_TRUE(zero.table.Fields().Find("SZTITLE", info));
    const CRecordCipher& key = GetRecordKey(GetTableKeys(TableGroup::kNotes), 1);
    std::vector<unsigned char> record(bytes.begin() + kSampleHeaderLength,
                                      bytes.begin() + kSampleHeaderLength + kSampleRecordLength);
    key.Decrypt(record.data(), record.size());
    record[info.offset + 4] = '\0';
    record[info.offset + 5] = 'z';
    key.Encrypt(record.data(), record.size());
    std::copy(record.begin(), record.end(), bytes.begin() + kSampleHeaderLength);
    CMemoryByteStore store(bytes);
    CTableCursor table;
    table.UseKeys(TableGroup::kNotes, true);
    table.Attach(store, "notes.QPD");
    EXPECT_EQ(table.GetTrimmedText("SZTITLE", text, sizeof text), 2u);
    EXPECT_EQ(std::string(text), "ab");
}

TEST(TableFile, ManyFieldsNamedByTextsSideBySideEachFindTheirOwn)
{
    // Names a few bytes apart, as constant texts lie: all of them are found
    // again, record after record, each at its own place.
    static char names[120][8];
    std::vector<FieldLayout> fields;
    for (int i = 0; i < 120; ++i) {
        std::strcpy(names[i], ("F" + std::to_string(i)).c_str());
        fields.push_back({names[i], 'N', 4});
    }
    CMemoryByteStore store(BuildEmptyTable(fields, TableGroup::kNotes));
    CTableCursor table;
    table.UseKeys(TableGroup::kNotes, true);
    table.Attach(store, "notes.QPD");
    table.AppendRecord();
    table.AppendRecord();
    for (std::uint32_t record = 1; record <= 2; ++record) {
        table.BeginRecordWrite(record);
        for (int i = 0; i < 120; ++i)
            table.SetLongValue(record, names[i], static_cast<std::int32_t>(record * 1000 + i));
        table.EndRecordWrite();
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (std::uint32_t record = 1; record <= 2; ++record) {
            table.GoTo(record);
            for (int i = 0; i < 120; ++i)
                ASSERT_EQ(table.GetLongValue(names[i]), static_cast<std::int32_t>(record * 1000 + i)) << names[i];
        }
    }
}
