#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/BitmapFileLayout.h"

namespace {
void Put(std::vector<unsigned char>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void Set(std::vector<unsigned char>& out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// An 8-bit bitmap file of 5 x 3 pixels with 4 colours.
std::vector<unsigned char> SmallBitmapFile(uint32_t headerSize = 40)
{
    const uint32_t colours = 4, stride = 8, rows = 3;
    uint32_t bitsOffset = 14 + headerSize + colours * 4;
    std::vector<unsigned char> file = {'B', 'M'};
    Put(file, bitsOffset + stride * rows, 4);
    Put(file, 0, 4);
    Put(file, bitsOffset, 4);
    Put(file, headerSize, 4);
    Put(file, 5, 4);
    Put(file, rows, 4);
    Put(file, 1, 2);
    Put(file, 8, 2);
    for (uint32_t at = 16; at < headerSize; at += 4)
        Put(file, at == 32 ? colours : 0, 4);
    file.resize(bitsOffset + stride * rows, 0x11);
    return file;
}

BitmapFileCheck Check(const std::vector<unsigned char>& file, size_t size)
{
    BitmapFileLayout layout;
    return CheckBitmapFile(file.data(), size, &layout);
}
}

TEST(BitmapFileLayout, FindsThePartsOfASoundFile)
{
    std::vector<unsigned char> file = SmallBitmapFile();
    BitmapFileLayout layout;
    ASSERT_EQ(CheckBitmapFile(file.data(), file.size(), &layout), BitmapFileCheck::kSound);
    EXPECT_EQ(layout.dibSize, file.size() - 14);
    EXPECT_EQ(layout.headerSize, 40u);
    EXPECT_EQ(layout.width, 5);
    EXPECT_EQ(layout.height, 3);
    EXPECT_EQ(layout.colourCount, 4u);
    EXPECT_EQ(layout.colourTableBytes, 16u);
    EXPECT_EQ(layout.bitsOffset, 56u);
    EXPECT_EQ(layout.bitsBytes, 24u);
}

TEST(BitmapFileLayout, ColourCountsFollowTheBitCount)
{
    std::vector<unsigned char> file = SmallBitmapFile();
    Set(file, 14 + 32, 0); // no used-colour count: 2 to the power of 8
    file.resize(file.size() + 252 * 4, 0);
    Set(file, 2, static_cast<uint32_t>(file.size()));
    BitmapFileLayout layout;
    ASSERT_EQ(CheckBitmapFile(file.data(), file.size(), &layout), BitmapFileCheck::kSound);
    EXPECT_EQ(layout.colourCount, 256u);

    std::vector<unsigned char> deep = SmallBitmapFile();
    Set(deep, 14 + 32, 0);
    deep[14 + 14] = 32;
    deep.resize(14 + 40 + 5 * 4 * 3);
    Set(deep, 2, static_cast<uint32_t>(deep.size()));
    ASSERT_EQ(CheckBitmapFile(deep.data(), deep.size(), &layout), BitmapFileCheck::kSound);
    EXPECT_GT(layout.colourCount, 256u) << "no exact palette for 32 bits";
    deep[14 + 14] = 24;
    ASSERT_EQ(CheckBitmapFile(deep.data(), deep.size(), &layout), BitmapFileCheck::kSound);
    EXPECT_EQ(layout.colourCount, 0u);
}

TEST(BitmapFileLayout, RefusesHostileHeaders)
{
    const std::vector<unsigned char> file = SmallBitmapFile();
    struct {
        size_t at;
        uint32_t value;
        BitmapFileCheck expected;
    } cases[] = {
        {14, 13, BitmapFileCheck::kBadInfoHeader},
        {14, 0xFFFFFFF0, BitmapFileCheck::kIncomplete},
        {14 + 4, 0x7FFFFFFF, BitmapFileCheck::kIncomplete},  // rows far wider than the data
        {14 + 8, 0x80000000, BitmapFileCheck::kBadInfoHeader},
        {14 + 14, 7, BitmapFileCheck::kBadInfoHeader},        // bit count
        {14 + 16, 9, BitmapFileCheck::kBadInfoHeader},        // unknown compression
        {2, 0xFFFFFFFF, BitmapFileCheck::kIncomplete},
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> bad = file;
        Set(bad, c.at, c.value);
        EXPECT_EQ(Check(bad, bad.size()), c.expected) << c.at << " " << c.value;
    }
    EXPECT_EQ(Check(file, 1), BitmapFileCheck::kNotBitmap);
    std::vector<unsigned char> shortHeader = SmallBitmapFile(16);
    EXPECT_EQ(Check(shortHeader, shortHeader.size()), BitmapFileCheck::kIncomplete)
        << "without a used-colour count 8 bits take a table of 256 colours";
    EXPECT_EQ(CheckBitmapFile(nullptr, 0, nullptr), BitmapFileCheck::kNotBitmap);
}

TEST(BitmapFileLayout, HugeSizesCannotWrapIntoASmallFile)
{
    // 54 bytes: a file header and an info header that claims 0x7FFFFFFF square
    // pixels of 32 bits and 0xFFFFFFFF colours; in 64 bits the table and the rows
    // add up to 2^64 + 40, just the 40 bytes that follow the file header.
    std::vector<unsigned char> file = {'B', 'M'};
    for (uint32_t value : {54u, 0u, 54u, 40u, 0x7FFFFFFFu, 0x7FFFFFFFu})
        Put(file, value, 4);
    Put(file, 1, 2);
    Put(file, 32, 2);
    for (uint32_t value : {0u, 0u, 0u, 0u, 0xFFFFFFFFu, 0u})
        Put(file, value, 4);
    ASSERT_EQ(file.size(), 54u);
    EXPECT_EQ(Check(file, file.size()), BitmapFileCheck::kIncomplete);
    for (uint32_t width : {0x3FFFFFFFu, 0x40000000u, 0x7FFFFFFFu}) {
        Set(file, 14 + 4, width);
        for (uint32_t colours : {0u, 1u, 0x40000000u, 0xFFFFFFFFu}) {
            Set(file, 14 + 32, colours);
            EXPECT_EQ(Check(file, file.size()), BitmapFileCheck::kIncomplete) << width << " " << colours;
        }
    }

}

TEST(BitmapFileLayout, EveryCutAndScrambledFileStaysInItsBytes)
{
    std::vector<unsigned char> file = SmallBitmapFile();
    for (size_t size = 0; size < file.size(); ++size) {
        // A copy of exactly the bytes read, so a read past them is caught.
        std::vector<unsigned char> cut(file.begin(), file.begin() + static_cast<long>(size));
        EXPECT_NE(Check(cut, cut.size()), BitmapFileCheck::kSound) << size;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        std::vector<unsigned char> scrambled = file;
        for (int k = 0; k < 3; ++k)
            scrambled[random() % 60] = static_cast<unsigned char>(random());
        scrambled.resize(random() % (scrambled.size() + 1));
        BitmapFileLayout layout;
        if (CheckBitmapFile(scrambled.data(), scrambled.size(), &layout) == BitmapFileCheck::kSound) {
            ASSERT_LE(uint64_t{14} + layout.bitsOffset + layout.bitsBytes, scrambled.size());
            ASSERT_LE(uint64_t{layout.headerSize} + layout.colourTableBytes, layout.bitsOffset);
        }
    }
}
