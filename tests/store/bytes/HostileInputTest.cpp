// Damaged table and memo files, made here by cutting, extending and changing
// good ones: each must be refused with a clear error or read correctly, and no
// byte outside the file may ever be asked for. (What a damaged table does when
// it is walked, changed and opened again, and a damaged memo file when a text
// is appended, is checked by the fuzz targets of tables and memo files.)
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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

// Cuts, extends or changes a table the way a damaged disk or a half-written
// copy would; the damage also reaches into the deciphered header and
// descriptors, so that the checks behind the first ones are reached too.
void DamageTable(std::vector<unsigned char>& bytes, std::mt19937& random)
{
    const std::size_t headerArea = 32 + 9 * 32;
    switch (random() % 5) {
    case 0: bytes.resize(random() % (bytes.size() + 1)); break;
    case 1:
        for (unsigned n = 1 + random() % 200; n > 0; --n)
            bytes.push_back(static_cast<unsigned char>(random()));
        break;
    case 2:
        for (unsigned n = 1 + random() % 8; n > 0 && !bytes.empty(); --n)
            bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
        break;
    default: {
        if (bytes.size() < headerArea)
            break;
        std::size_t at = random() % 2 ? 4 + random() % 8 : 32 + 32 * (random() % 9) + 12 + random() % 5;
        ChangeDecipheredHeader(bytes, headerArea, [&](std::vector<unsigned char>& plain) {
            plain[at] = static_cast<unsigned char>(random() % 2 ? random() : plain[at] + 1u);
        });
        if (random() % 2 && bytes.size() > headerArea + 1)
            bytes[headerArea + 1 + random() % (bytes.size() - headerArea - 1)] ^= 0x55;
    }
    }
}

void DamageMemoFile(std::vector<unsigned char>& bytes, std::mt19937& random)
{
    switch (random() % 4) {
    case 0: bytes.resize(random() % (bytes.size() + 1)); break;
    case 1: bytes.insert(bytes.end(), 1 + random() % 300, static_cast<unsigned char>(random())); break;
    case 2: // the file header or a memo header gets a random number
        for (int k = 0; k < 4; ++k) {
            std::size_t at = (random() % 2 ? 0 : 512 + 64 * (random() % 10) + 4) + random() % 8;
            if (at < bytes.size())
                bytes[at] = static_cast<unsigned char>(random());
        }
        break;
    default:
        for (unsigned n = 1 + random() % 6; n > 0 && !bytes.empty(); --n)
            bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
    }
}

// Every record as the table reads it: its deletion flag and each field's bytes.
std::vector<std::vector<std::string>> ReadEveryRecord(CTableCursor& table)
{
    std::vector<std::vector<std::string>> records;
    const CFieldTable& fields = table.Fields();
    for (std::uint32_t n = 1; n <= table.GetRecordCount(); ++n) {
        table.GoTo(n);
        std::vector<std::string> values = {table.IsDeleted(n) ? "deleted" : "live"};
        for (unsigned f = 0; f < fields.Count(); ++f)
            values.push_back(table.GetStringValue(fields.NameAt(f).c_str()));
        records.push_back(values);
    }
    return records;
}

// A damaged table that still opens reads every record whose bytes the damage
// left alone exactly as before, as long as its header and descriptors are whole
// (false when they are not, and nothing was compared).
bool ExpectUntouchedRecordsRead(CTableCursor& table, const std::vector<unsigned char>& damaged,
                                const std::vector<unsigned char>& original,
                                const std::vector<std::vector<std::string>>& expected)
{
    const std::size_t headerLength = 33 + 9 * 32;
    if (damaged.size() != original.size() ||
        !std::equal(original.begin(), original.begin() + headerLength, damaged.begin()))
        return false;
    const std::size_t recordLength = (original.size() - headerLength - 1) / expected.size();
    std::vector<std::vector<std::string>> read = ReadEveryRecord(table);
    EXPECT_EQ(read.size(), expected.size());
    if (read.size() != expected.size())
        return true;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        auto from = static_cast<std::ptrdiff_t>(headerLength + i * recordLength);
        if (std::equal(original.begin() + from, original.begin() + from + static_cast<std::ptrdiff_t>(recordLength),
                       damaged.begin() + from)) {
            EXPECT_EQ(read[i], expected[i]) << "record " << i + 1;
        }
    }
    return true;
}
}

TEST(HostileInput, DamagedTablesAreRefusedOrReadCorrectly)
{
    MessageBoxRecorder boxes; // overflows of odd field widths show a box
    std::mt19937 random(2024);
    MemoryTable sample(25);
    for (std::uint32_t n : {1u, 6u, 7u, 25u})
        sample.table.DeleteRecord(n);
    sample.table.SetLongValue(3, "WLEFT", -2000);
    sample.table.SetStringValue(4, "SZTITLE", "a title");
    const std::vector<std::vector<std::string>> expected = ReadEveryRecord(sample.table);
    ASSERT_EQ(expected[2][0], "live");
    ASSERT_EQ(expected[5][0], "deleted");
    int opened = 0, refused = 0, compared = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> bytes = sample.Bytes();
        DamageTable(bytes, random);
        if (random() % 4 == 0)
            DamageTable(bytes, random);
        WatchedStore store(bytes);
        CTableCursor table;
        table.UseKeys(TableGroup::kNotes, true);
        try {
            table.Attach(store, "notes.QPD");
            ++opened;
            if (ExpectUntouchedRecordsRead(table, bytes, sample.Bytes(), expected))
                ++compared;
        } catch (const CGenericException& e) {
            ++refused;
            EXPECT_STRNE(e.GetErrorText(), "");
        }
        ASSERT_FALSE(store.readOutside) << "round " << round;
    }
    EXPECT_GT(opened, 300);
    EXPECT_GT(compared, 200);
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
    std::vector<std::string> texts;
    for (std::uint32_t block : blocks)
        texts.push_back(block ? writer.ReadText(block) : "");
    // A memo whose bytes, and the file header, the damage left alone reads as written.
    auto untouched = [&](const std::vector<unsigned char>& bytes, std::size_t i) {
        const std::vector<unsigned char>& original = built.Bytes();
        std::size_t end = blocks[i] * std::size_t{kStandardMemoBlockSize} + kMemoBlockHeaderSize + texts[i].size();
        return bytes.size() >= end && std::equal(original.begin(), original.begin() + kMemoHeaderSize, bytes.begin()) &&
               std::equal(original.begin() + blocks[i] * kStandardMemoBlockSize,
                          original.begin() + static_cast<std::ptrdiff_t>(end),
                          bytes.begin() + blocks[i] * kStandardMemoBlockSize);
    };
    int read = 0, refused = 0, compared = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> bytes = built.Bytes();
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
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            if (blocks[i] == 0 || !untouched(bytes, i))
                continue;
            ++compared;
            EXPECT_EQ(memo.ReadText(blocks[i]), texts[i]) << "round " << round;
        }
        ASSERT_FALSE(store.readOutside) << "round " << round;
    }
    EXPECT_GT(read, 1000);
    EXPECT_GT(compared, 1000);
    EXPECT_GT(refused, 1000);
}
