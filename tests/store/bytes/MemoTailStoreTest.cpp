#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/GenericException.h"
#include "store/bytes/MemoFile.h"
#include "store/bytes/MemoTailStore.h"

namespace {
// A memo file in memory that counts the writes it is given.
class CCountingStore : public CMemoryByteStore {
public:
    using CMemoryByteStore::CMemoryByteStore;
    void Write(std::uint32_t offset, const void* bytes, std::uint32_t count) override
    {
        ++writes;
        CMemoryByteStore::Write(offset, bytes, count);
    }
    int writes = 0;
};

// A memo file holding one text already, as a saved notes memo does.
std::vector<unsigned char> FileWithOneMemo()
{
    CMemoryByteStore store(BuildEmptyMemoFile());
    std::string first(70, 'f');
    CMemoFile(store, "notes.QPS").Append(first.data(), 70, false);
    return store.Bytes();
}
}

TEST(MemoTailStore, ManyTextsAppendedReachTheFileInTwoWritesAsTheyWouldOneByOne)
{
    const std::vector<unsigned char> start = FileWithOneMemo();
    CMemoryByteStore direct(start);
    CMemoFile directMemo(direct, "notes.QPS");
    CCountingStore file(start);
    CMemoTailStore tail(file);
    CMemoFile tailMemo(tail, "notes.QPS");

    std::vector<std::uint32_t> blocks;
    for (int i = 0; i < 50; ++i) {
        std::string text(static_cast<std::size_t>(1 + i * 37), static_cast<char>('a' + i % 26));
        std::uint32_t block = tailMemo.Append(text.data(), static_cast<std::uint32_t>(text.size()), false);
        EXPECT_EQ(block, directMemo.Append(text.data(), static_cast<std::uint32_t>(text.size()), false));
        // Read back through the buffer before anything reached the file.
        EXPECT_EQ(tailMemo.ReadText(block), text);
        blocks.push_back(block);
    }
    EXPECT_EQ(tailMemo.ReadText(8), std::string(70, 'f'));
    EXPECT_EQ(file.writes, 0);
    EXPECT_EQ(file.Bytes(), start) << "nothing is written before Flush";
    EXPECT_EQ(tail.Size(), direct.Size());

    tail.Flush();
    EXPECT_EQ(file.writes, 2) << "the tail in one piece, then the header";
    EXPECT_EQ(file.Bytes(), direct.Bytes());
    tail.Flush();
    EXPECT_EQ(file.writes, 2);

    // Later appends go on from the new end.
    std::string later(10, 'z');
    std::uint32_t block = tailMemo.Append(later.data(), 10, false);
    EXPECT_EQ(block, directMemo.Append(later.data(), 10, false));
    tail.Flush();
    EXPECT_EQ(file.Bytes(), direct.Bytes());
    EXPECT_EQ(CMemoFile(file, "notes.QPS").ReadText(blocks.back()), CMemoFile(direct, "notes.QPS").ReadText(blocks.back()));
}

TEST(MemoTailStore, ReadsPastTheEndAndChangesOfSizeAreRefused)
{
    CCountingStore file(FileWithOneMemo());
    CMemoTailStore tail(file);
    char byte = 0;
    EXPECT_THROW(tail.Read(tail.Size(), &byte, 1), CGenericException);
    EXPECT_THROW(tail.Grow(64), CGenericException);
    EXPECT_THROW(tail.Cut(512), CGenericException);
    // Starting the memo file afresh cuts it: not through a tail.
    EXPECT_THROW(CMemoFile(tail, "notes.QPS").Append("x", 1, true), CGenericException);
    tail.Flush();
    EXPECT_EQ(file.Bytes(), FileWithOneMemo());

    // A damaged file too short for a header stays refused as before.
    CCountingStore tiny(std::vector<unsigned char>(4, 0));
    CMemoTailStore tinyTail(tiny);
    EXPECT_THROW(CMemoFile(tinyTail, "notes.QPS").Append("x", 1, false), CGenericException);
}
