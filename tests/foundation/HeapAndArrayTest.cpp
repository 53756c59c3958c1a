#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "foundation/MemArray.h"
#include "foundation/ProcessHeap.h"
#include "support/TempFolder.h"

namespace {
class InFolder : public testing::Test {
protected:
    void SetUp() override { SetCurrentDirectoryA(m_folder.Path().c_str()); }
    void TearDown() override { SetCurrentDirectoryA(".."); }
    std::string ErrorLog() { return ReadWholeFile(m_folder.File("error.txt")); }
    TempFolder m_folder;
};
}

using HeapBlock = InFolder;
using MemArrayTest = InFolder;

TEST_F(HeapBlock, EmptyBlockHasNoBytes)
{
    CProcessHeap empty(0);
    EXPECT_EQ(empty.GetBlock(), nullptr);
    EXPECT_THROW(empty.GetCharFromIndex(0), CGenericException);
}

TEST_F(HeapBlock, BoundsFaultDumpsTheBlock)
{
    CProcessHeap block(4);
    std::memcpy(block.GetBlock(), "wxyz", 4);
    try {
        block.SetCharFromIndex(4, 'a');
        FAIL();
    } catch (const CGenericException& e) {
        EXPECT_STREQ(e.GetErrorText(), "CProcessHeapPointer::SetCharFromIndex index out of bounds !");
    }
    std::string log = ErrorLog();
    EXPECT_NE(log.find(" ProcessHeapPointer::SetCharFromIndex(): Out of bounds, buffer size =4, index=4\r\n"
                       "Buffer content:\r\nwxyz"),
              std::string::npos)
        << log;
}

TEST_F(HeapBlock, FailedAllocationKeepsSizeZero)
{
    CProcessHeap block(16);
    EXPECT_THROW(block.Alloc(0xFFFFFFF0u), CGenericException);
    EXPECT_EQ(block.GetSize(), 0u);
    EXPECT_THROW(block.GetCharFromIndex(0), CGenericException);
}

TEST_F(HeapBlock, RemoveLeftDropsTheFirstCharacters)
{
    CProcessHeap block(16);
    std::memcpy(block.GetBlock(), "abcdef", 7);
    block.RemoveLeft(3);
    EXPECT_STREQ(reinterpret_cast<char*>(block.GetBlock()), "def");

    CProcessHeap full(4);
    std::memcpy(full.GetBlock(), "wxyz", 4);
    full.RemoveLeft(1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(full.GetBlock()), 3), "xyz");
    EXPECT_EQ(full.GetBlock()[3], 0);
}

TEST_F(MemArrayTest, IndexBoundsWriteTheReport)
{
    CMemArray<BYTE> bytes(10);
    for (int i = 0; i < 10; ++i)
        bytes[i] = static_cast<BYTE>('0' + i);
    EXPECT_EQ(bytes[9], '9');
    try {
        bytes[10];
        FAIL();
    } catch (const CGenericException& e) {
        EXPECT_STREQ(e.GetErrorText(), "CMemArray T& operator[] out of bounds");
    }
    std::string log = ErrorLog();
    EXPECT_NE(log.find(" CMemArray::operator[] Out of bounds, buffer size =10, index=10\r\nBuffer content:\r\n0123456789"),
              std::string::npos)
        << log;
}

TEST_F(MemArrayTest, EmptyAndReallocatedArrays)
{
    CMemArray<DWORD> words(3);
    words[2] = 7;
    words.Alloc(5);
    EXPECT_EQ(words[2], 0u) << "re-allocating discards the contents";
    words.Alloc(0);
    EXPECT_EQ(words.GetCount(), 0u);
    EXPECT_THROW(words.GetPointerToData(), CGenericException);

    CMemArray<BYTE> source(3);
    source[0] = 'a';
    CMemArray<BYTE> copy;
    copy = source;
    EXPECT_EQ(copy.GetCount(), 3u);
    EXPECT_EQ(copy[0], 'a');
}

TEST_F(MemArrayTest, HugeAllocationWritesTheMemoryReport)
{
    CMemArray<BYTE> array;
    try {
        array.Alloc(0x7FFFFFF0u);
        FAIL();
    } catch (const CGenericException& e) {
        EXPECT_STREQ(e.GetErrorText(), "CMemArray::Alloc() failed");
    }
    std::string log = ErrorLog();
    EXPECT_EQ(log.rfind("\r\nCMemArray constructor failed ?\r\nRequested 2147483632 bytes.\r\nTotal memory ", 0), 0u) << log;
    EXPECT_NE(log.find(" MBytes, Free memory "), std::string::npos);
    EXPECT_EQ(array.GetCount(), 0u);
}
