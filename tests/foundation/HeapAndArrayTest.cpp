#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "foundation/MemArray.h"
#include "foundation/ProcessHeap.h"
#include "support/InFolder.h"
#include "support/bytes/ErrorOf.h"

using HeapBlock = InFolder;
using MemArrayTest = InFolder;

TEST_F(HeapBlock, BoundsFaultDumpsTheBlock)
{
    CProcessHeap block(4);
    std::memcpy(block.GetBlock(), "wxyz", 4);
    EXPECT_EQ(ErrorOf([&] { block.SetCharFromIndex(4, 'a'); }),
              "CProcessHeapPointer::SetCharFromIndex index out of bounds !");
    EXPECT_NE(Read("error.txt").find(" ProcessHeapPointer::SetCharFromIndex(): "
                                     "Out of bounds, buffer size =4, index=4\r\nBuffer content:\r\nwxyz"),
              std::string::npos);
    CProcessHeap empty(0);
    EXPECT_EQ(empty.GetBlock(), nullptr);
    EXPECT_THROW(empty.GetCharFromIndex(0), CGenericException);
}

TEST_F(HeapBlock, FailedAllocationKeepsSizeZeroAndRemoveLeftStaysInside)
{
    CProcessHeap block(16);
    std::memcpy(block.GetBlock(), "abcdef", 7);
    block.RemoveLeft(3);
    EXPECT_STREQ(reinterpret_cast<char*>(block.GetBlock()), "def");
    // A size past any address space, 32-bit or 64-bit: no heap gives it.
    const SIZE_T beyondAnyAddressSpace = ~SIZE_T{0};
    EXPECT_EQ(ErrorOf([&] { block.Alloc(beyondAnyAddressSpace); }), "CProcessHeap::Alloc Failed");
    EXPECT_EQ(block.GetSize(), 0u);
    EXPECT_EQ(block.GetBlock(), nullptr);
    EXPECT_THROW(block.GetCharFromIndex(0), CGenericException);
    EXPECT_EQ(ErrorOf([&] { CProcessHeap refused(beyondAnyAddressSpace); }), "CProcessHeap constructor Failed");

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
    EXPECT_EQ(ErrorOf([&] { bytes[10]; }), "CMemArray T& operator[] out of bounds");
    EXPECT_NE(Read("error.txt").find(" CMemArray::operator[] Out of bounds, buffer size =10, index=10\r\n"
                                     "Buffer content:\r\n0123456789"),
              std::string::npos);
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

TEST_F(MemArrayTest, HugeAllocationsWriteTheMemoryReport)
{
    // Requests no array may have, whatever the address space: 2 GB and one
    // byte, and 4 G elements of four bytes, past a 32-bit address space.
    CMemArray<BYTE> bytes(4);
    EXPECT_EQ(ErrorOf([&] { bytes.Alloc(0x80000000u); }), "CMemArray::Alloc() failed");
    EXPECT_EQ(bytes.GetCount(), 0u);
    EXPECT_THROW(bytes.GetPointerToData(), CGenericException);
    CMemArray<DWORD> words;
    EXPECT_EQ(ErrorOf([&] { words.Alloc(0xFFFFFFFFu); }), "CMemArray::Alloc() failed");
    EXPECT_EQ(words.GetCount(), 0u);

    const std::string log = Read("error.txt");
    const std::string report = "\r\nCMemArray constructor failed ?\r\nRequested 2147483648 bytes.\r\nTotal memory ";
    EXPECT_EQ(log.rfind(report, 0), 0u) << log;
    const size_t second = log.find("\r\nCMemArray constructor failed ?\r\nRequested 17179869180 bytes.\r\n");
    ASSERT_NE(second, std::string::npos) << log;
    // Each report gives the machine's memory in its own words, and asks for the file.
    for (const size_t at : {size_t{0}, second}) {
        const std::string one = log.substr(at, log.find("error.txt file.", at) - at);
        EXPECT_NE(one.find(" MBytes, Free memory "), std::string::npos) << one;
        EXPECT_NE(one.find(" bytes.\r\n\r\nPlease report this problem to Corvell Ltd and send us the "),
                  std::string::npos)
            << one;
    }
}
