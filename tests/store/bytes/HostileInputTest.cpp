// Damaged table and memo files, made here by cutting, extending and changing
// good ones: each must be refused with a clear error or read correctly, and no
// byte outside the file may ever be asked for.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DamagedFiles.h"
#include "MemoryTable.h"
#include "foundation/bytes/GenericException.h"
#include "store/bytes/MemoFile.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
// Notes any read past the end: the code must check sizes before it reads.
class WatchedStore : public CMemoryByteStore {
public:
    explicit WatchedStore(std::vector<unsigned char> bytes) : CMemoryByteStore(std::move(bytes)) {}
    void Read(std::uint32_t offset, void* bytes, std::uint32_t count) override
    {
        if (static_cast<std::uint64_t>(offset) + count > Size())
            readOutside = true;
        CMemoryByteStore::Read(offset, bytes, count);
    }
    bool readOutside = false;
};

void Exercise(CTableCursor& table, std::mt19937& random)
{
    const CFieldTable& fields = table.Fields();
    int steps = 0;
    for (table.GoTop(); !table.IsEOF() && steps < 40; table.Skip(1), ++steps) {
        for (unsigned f = 0; f < fields.Count(); ++f) {
            const char* name = fields.NameAt(f).c_str();
            table.GetLongValue(name);
            table.GetDoubleValue(name);
            table.GetLogicalValue(name);
            EXPECT_EQ(table.GetStringValue(name).size(), table.GetFieldInfo(name).width);
        }
    }
    std::uint32_t count = table.GetRecordCount();
    table.GoTo(random() % (count + 3));
    table.Skip(-1);
    table.Skip(2);
    table.BuildDeletedList();
    if (count > 0 && fields.Count() > 0) {
        std::uint32_t n = 1 + random() % count;
        table.SetStringValue(n, fields.NameAt(0).c_str(), "x");
        table.SetLongValue(n, fields.NameAt(fields.Count() - 1).c_str(), -1234);
        table.DeleteRecord(n);
        table.RecallRecord(n);
    }
    table.AppendRecord();
    EXPECT_EQ(table.GetRecordCount(), count + 1);
}
}

TEST(HostileInput, DamagedTablesAreRefusedOrReadCorrectly)
{
    MessageBoxRecorder boxes; // overflows of odd field widths show a box
    std::mt19937 random(2024);
    const std::vector<unsigned char> good = GoodTableBytes();
    int opened = 0, refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> bytes = good;
        Damage(bytes, random);
        WatchedStore store(bytes);
        CTableCursor table;
        table.UseKeys(TableGroup::kNotes, true);
        try {
            table.Attach(store, "notes.QPD");
            ++opened;
            Exercise(table, random);
            table.Attach(store, "notes.QPD"); // what was written still opens
        } catch (const CGenericException& e) {
            ++refused;
            EXPECT_STRNE(e.GetErrorText(), "");
        }
        ASSERT_FALSE(store.readOutside) << "round " << round;
    }
    EXPECT_GT(opened, 300);
    EXPECT_GT(refused, 300);
}

TEST(HostileInput, DamagedMemoFilesAreRefusedOrReadCorrectly)
{
    std::mt19937 random(99);
    CMemoryByteStore built(BuildEmptyMemoFile());
    CMemoFile writer(built, "notes.QPS");
    std::vector<std::uint32_t> blocks;
    for (int i = 0; i < 12; ++i) {
        std::string text(static_cast<std::size_t>(i * 37 % 150), static_cast<char>('a' + i));
        blocks.push_back(writer.Append(text.data(), static_cast<std::uint32_t>(text.size()), false));
    }
    const std::vector<unsigned char> good = built.Bytes();
    int read = 0, refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> bytes = good;
        DamageMemoFile(bytes, random);
        WatchedStore store(bytes);
        CMemoFile memo(store, "notes.QPS");
        for (std::uint32_t block : {0u, 8u, 9u, 13u, 40u, 0xFFFFFFFFu, blocks[5], blocks[11]}) {
            try {
                MemoLocation where;
                if (memo.Locate(block, where)) {
                    EXPECT_LE(where.offset + 8ull, where.fileSize);
                }
                std::string text = memo.ReadText(block);
                EXPECT_LE(text.size() + 8ull + where.offset, where.fileSize);
                ++read;
            } catch (const CGenericException&) {
                ++refused;
            }
        }
        try {
            std::uint32_t block = memo.Append("appended", 8, random() % 8 == 0);
            EXPECT_EQ(memo.ReadText(block), "appended");
        } catch (const CGenericException&) {
            ++refused;
        }
        ASSERT_FALSE(store.readOutside) << "round " << round;
    }
    EXPECT_GT(read, 1000);
    EXPECT_GT(refused, 1000);
}
