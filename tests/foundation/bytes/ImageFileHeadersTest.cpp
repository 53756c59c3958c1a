#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/ImageFileHeaders.h"
#include "support/bytes/HexText.h"

TEST(ImageFileHeaders, BmpHeaderCarriesTheRealFileSize)
{
    // Rows are padded to four bytes; sizes that 32 bits cannot count are 0.
    EXPECT_EQ(BitmapRowStride(33, 1), 8u);
    EXPECT_EQ(BitmapRowStride(0x3FFFFFFF, 32), 0xFFFFFFFCu);
    EXPECT_EQ(BitmapRowStride(0x40000000, 32), 0u);
    EXPECT_EQ(BitmapRowStride(0x7FFFFFFF, 24), 0u);
    EXPECT_EQ(BitmapImageBytes(10, -10, 24), 320u);
    EXPECT_EQ(BitmapImageBytes(0x3FFFFFFF, -1, 32), 0xFFFFFFFCu);
    EXPECT_EQ(BitmapImageBytes(0x3FFFFFFF, 2, 32), 0u);
    EXPECT_EQ(BitmapImageBytes(0x10000, 0x10000, 8), 0u);
    // 10 x 10 pixels of 24 bits: 54 + 10 rows of 32 bytes = 374 bytes.
    EXPECT_EQ(HexText(MakeBmpFileHeader(10, 10, 320), " "),
              "42 4d 76 01 00 00 00 00 00 00 36 00 00 00 28 00 00 00 0a 00 00 00 0a 00 00 00 01 00 18 00 "
              "00 00 00 00 40 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
}

TEST(ImageFileHeaders, IconHeaderDescribesOneImage)
{
    // The image's height counts colour and mask rows; the entry holds 40 + 3072 + 128.
    EXPECT_EQ(HexText(MakeIconFileHeader(32, 32, 32, 24, 3072, 128), " "),
              "00 00 01 00 01 00 20 20 00 00 00 00 18 00 a8 0c 00 00 16 00 00 00 "
              "28 00 00 00 20 00 00 00 40 00 00 00 01 00 18 00 00 00 00 00 00 0c 00 00 "
              "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");

    // Width and height keep their low byte in the directory entry: 256 is written as 0.
    std::vector<unsigned char> wide = MakeIconFileHeader(256, 256, 256, 32, 0, 0);
    EXPECT_EQ(HexText(&wide[6], 2, " "), "00 00");
    EXPECT_EQ(HexText(&wide[26], 8, " "), "00 01 00 00 00 02 00 00");
}
