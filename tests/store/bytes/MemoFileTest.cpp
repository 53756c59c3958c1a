#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/GenericException.h"
#include "store/bytes/MemoFile.h"

namespace {
std::vector<unsigned char> Slice(const std::vector<unsigned char>& bytes, std::size_t from, std::size_t count)
{
    return std::vector<unsigned char>(bytes.begin() + from, bytes.begin() + from + count);
}
}

TEST(MemoFile, ANewFileIsItsHeaderAndAHundredByteTextTakesBlocksEightAndNine)
{
    CMemoryByteStore store(BuildEmptyMemoFile());
    ASSERT_EQ(store.Size(), 512u);
    EXPECT_EQ(Slice(store.Bytes(), 0, 8), (std::vector<unsigned char>{0, 0, 0, 8, 0, 0, 0, 64}));
    EXPECT_EQ(Slice(store.Bytes(), 8, 504), std::vector<unsigned char>(504, 0));
    CMemoFile memo(store, "notes.QPS");
    std::string text(100, 'x');
    EXPECT_EQ(memo.Append(text.data(), 100, false), 8u);
    const std::vector<unsigned char>& file = store.Bytes();
    ASSERT_EQ(file.size(), 640u);
    EXPECT_EQ(Slice(file, 512, 8), (std::vector<unsigned char>{0, 0, 0, 1, 0, 0, 0, 0x64}));
    EXPECT_EQ(Slice(file, 520, 100), std::vector<unsigned char>(100, 'x'));
    EXPECT_EQ(Slice(file, 620, 20), std::vector<unsigned char>(20, 0));
    EXPECT_EQ(Slice(file, 0, 4), (std::vector<unsigned char>{0, 0, 0, 10}));
    EXPECT_EQ(memo.ReadHeader().nextFreeBlock, 10u);
    EXPECT_EQ(memo.ReadText(8), text);

    // 8 + 56 bytes fill one block exactly.
    std::string exact(56, 'y');
    EXPECT_EQ(memo.Append(exact.data(), 56, false), 10u);
    EXPECT_EQ(store.Size(), 704u);
    EXPECT_EQ(memo.ReadHeader().nextFreeBlock, 11u);

    // An empty text is no memo and changes nothing but the (same) next free block.
    std::vector<unsigned char> before = store.Bytes();
    EXPECT_EQ(memo.Append("", 0, false), 0u);
    EXPECT_EQ(store.Bytes(), before);
}

TEST(MemoFile, StartingAfreshDropsEveryEarlierMemo)
{
    CMemoryByteStore store(BuildEmptyMemoFile());
    CMemoFile memo(store, "notes.QPS");
    for (int i = 0; i < 5; ++i)
        memo.Append("some old text", 13, false);
    EXPECT_EQ(memo.Append("first", 5, true), 8u);
    EXPECT_EQ(store.Size(), 576u);
    EXPECT_EQ(memo.Append("second", 6, false), 9u);
    EXPECT_EQ(memo.ReadText(8), "first");
    EXPECT_EQ(memo.ReadText(9), "second");
    EXPECT_EQ(memo.ReadHeader().nextFreeBlock, 10u);

    EXPECT_EQ(memo.Append("", 0, true), 0u);
    EXPECT_EQ(store.Bytes(), BuildEmptyMemoFile());

    // A file cut inside its header is made whole again.
    CMemoryByteStore stub(std::vector<unsigned char>(3, 0));
    CMemoFile fresh(stub, "notes.QPS");
    EXPECT_EQ(fresh.Append("abc", 3, true), 8u);
    EXPECT_EQ(stub.Size(), 576u);
    EXPECT_EQ(fresh.ReadText(8), "abc");
}

TEST(MemoFile, LocatingAndReadingStayInsideTheFileAndDamagedHeadersAreRefused)
{
    CMemoryByteStore store(BuildEmptyMemoFile());
    CMemoFile memo(store, "notes.QPS");
    memo.Append("hello", 5, false);
    MemoLocation where;
    ASSERT_TRUE(memo.Locate(8, where));
    EXPECT_EQ(where.offset, 512u);
    EXPECT_EQ(where.fileSize, 576u);
    EXPECT_EQ(where.textLength, 5u);
    EXPECT_FALSE(memo.Locate(9, where));
    EXPECT_EQ(where.textLength, 0u);
    EXPECT_FALSE(memo.Locate(0xFFFFFFFFu, where));
    EXPECT_FALSE(memo.Locate(0, where));
    EXPECT_THROW(memo.ReadText(9), CGenericException);

    // A length that runs past the end is refused, not read.
    std::vector<unsigned char> bytes = store.Bytes();
    bytes[516] = 0x7F;
    CMemoryByteStore damaged(bytes);
    CMemoFile broken(damaged, "notes.QPS");
    ASSERT_TRUE(broken.Locate(8, where));
    EXPECT_THROW(broken.ReadText(8), CGenericException);

    CMemoryByteStore empty;
    CMemoFile none(empty, "notes.QPS");
    EXPECT_THROW(none.ReadHeader(), CGenericException);
    EXPECT_THROW(none.Append("x", 1, false), CGenericException);

    auto withHeaderByte = [](std::size_t at, unsigned char value) {
        std::vector<unsigned char> file = BuildEmptyMemoFile();
        file[at] = value;
        return file;
    };
    CMemoryByteStore zeroBlocks(withHeaderByte(7, 0));
    EXPECT_THROW(CMemoFile(zeroBlocks, "notes.QPS").ReadHeader(), CGenericException);

    CMemoryByteStore insideHeader(withHeaderByte(3, 2));
    EXPECT_THROW(CMemoFile(insideHeader, "notes.QPS").Append("x", 1, false), CGenericException);
    EXPECT_EQ(insideHeader.Bytes(), withHeaderByte(3, 2));

    // A next free block far beyond the end is damage: the memo goes at the end.
    CMemoryByteStore far(withHeaderByte(0, 0xFF));
    CMemoFile atEnd(far, "notes.QPS");
    EXPECT_EQ(atEnd.Append("x", 1, false), 8u);
    EXPECT_EQ(far.Size(), 576u);
    EXPECT_EQ(atEnd.ReadHeader().nextFreeBlock, 9u);
}

TEST(MemoFile, ATextReadIntoABufferFillsNoMoreThanItsCapacity)
{
    CMemoryByteStore store(BuildEmptyMemoFile());
    CMemoFile memo(store, "config.QPS");
    const CRecordCipher key(7, 69069, 1);
    memo.Append("secret", 6, false, &key);
    memo.Append("", 0, false);
    memo.Append("plain text", 10, false);

    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(memo.ReadText(8, buffer, 6, "too long", &key), 6u);
    EXPECT_EQ(std::string(buffer, 7), "secret#");
    EXPECT_EQ(memo.ReadText(9, buffer, 10, "too long"), 10u);
    EXPECT_EQ(std::string(buffer, 11), "plain text#");

    std::memset(buffer, '#', sizeof buffer);
    try {
        memo.ReadText(9, buffer, 9, "too long");
        ADD_FAILURE() << "a text one byte longer than the buffer was read";
    } catch (const CGenericException& e) {
        EXPECT_STREQ(e.GetErrorText(), "too long");
    }
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, '#'));
    EXPECT_THROW(memo.ReadText(9, nullptr, 10, "too long"), CGenericException);
    EXPECT_THROW(memo.ReadText(10, buffer, sizeof buffer, "too long"), CGenericException);

    // A length running past the end is damage, whatever the buffer holds.
    std::vector<unsigned char> bytes = store.Bytes();
    bytes[9 * 64 + 5] = 0x7F;
    CMemoryByteStore damaged(bytes);
    std::vector<char> large(0x800000);
    EXPECT_THROW(CMemoFile(damaged, "config.QPS").ReadText(9, large.data(), 0x800000, "too long"),
                 CGenericException);
}
