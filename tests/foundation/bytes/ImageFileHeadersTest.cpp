#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/ImageFileHeaders.h"

namespace {
std::uint32_t Read16(const std::vector<unsigned char>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8);
}

std::uint32_t Read32(const std::vector<unsigned char>& b, size_t at)
{
    return Read16(b, at) | (Read16(b, at + 2) << 16);
}
}

TEST(ImageFileHeaders, RowsArePaddedToFourBytes)
{
    EXPECT_EQ(BitmapRowStride(10, 24), 32u);
    EXPECT_EQ(BitmapRowStride(32, 24), 96u);
    EXPECT_EQ(BitmapRowStride(32, 1), 4u);
    EXPECT_EQ(BitmapRowStride(33, 1), 8u);
    EXPECT_EQ(BitmapRowStride(0, 24), 0u);
}

TEST(ImageFileHeaders, BmpHeaderCarriesTheRealFileSize)
{
    std::vector<unsigned char> h = MakeBmpFileHeader(10, 10, 320);
    ASSERT_EQ(h.size(), 54u);
    EXPECT_EQ(h[0], 'B');
    EXPECT_EQ(h[1], 'M');
    EXPECT_EQ(Read32(h, 2), 374u);
    EXPECT_EQ(Read32(h, 6), 0u);
    EXPECT_EQ(Read32(h, 10), 54u);
    EXPECT_EQ(Read32(h, 14), 40u);
    EXPECT_EQ(Read32(h, 18), 10u);
    EXPECT_EQ(Read32(h, 22), 10u);
    EXPECT_EQ(Read16(h, 26), 1u);
    EXPECT_EQ(Read16(h, 28), 24u);
    EXPECT_EQ(Read32(h, 30), 0u);
    EXPECT_EQ(Read32(h, 34), 320u);
    for (size_t at = 38; at < 54; ++at)
        EXPECT_EQ(h[at], 0) << at;
}

TEST(ImageFileHeaders, IconHeaderDescribesOneImage)
{
    std::vector<unsigned char> h = MakeIconFileHeader(32, 32, 32, 24, 3072, 128);
    ASSERT_EQ(h.size(), 62u);
    EXPECT_EQ(Read16(h, 0), 0u);
    EXPECT_EQ(Read16(h, 2), 1u);
    EXPECT_EQ(Read16(h, 4), 1u);
    EXPECT_EQ(h[6], 32);
    EXPECT_EQ(h[7], 32);
    EXPECT_EQ(h[8], 0);
    EXPECT_EQ(h[9], 0);
    EXPECT_EQ(Read16(h, 10), 0u);
    EXPECT_EQ(Read16(h, 12), 24u);
    EXPECT_EQ(Read32(h, 14), 40u + 3072u + 128u);
    EXPECT_EQ(Read32(h, 18), 22u);
    EXPECT_EQ(Read32(h, 22), 40u);
    EXPECT_EQ(Read32(h, 26), 32u);
    EXPECT_EQ(Read32(h, 30), 64u);
    EXPECT_EQ(Read16(h, 34), 1u);
    EXPECT_EQ(Read16(h, 36), 24u);
    EXPECT_EQ(Read32(h, 38), 0u);
    EXPECT_EQ(Read32(h, 42), 3072u);

    // Width and height keep their low byte in the directory entry: 256 is written as 0.
    std::vector<unsigned char> wide = MakeIconFileHeader(256, 256, 256, 32, 0, 0);
    EXPECT_EQ(wide[6], 0);
    EXPECT_EQ(Read32(wide, 26), 256u);
}
