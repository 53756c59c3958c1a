#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/PictureFiles.h"
#include "foundation/bytes/ImageFileHeaders.h"
#include "foundation/win/OnDiskBitmap.h"
#include "support/CurrentFolder.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBitmapRed = RGB(255, 0, 0);
const uint32_t kBitmapGrey = 0xC0C0C0;

// 4 x 4 pixels: red, except a grey (transparent) top-left corner pixel.
std::string RedSquareWithGreyCorner()
{
    std::vector<uint8_t> indexes(16, 0);
    indexes[0] = 1;
    return MakeBmp8(4, 4, {0x0000FF, kBitmapGrey, 0xFF0000}, indexes);
}

const BYTE* BitmapFileBytes(const std::string& file)
{
    return reinterpret_cast<const BYTE*>(file.data());
}

void SetLe32(std::string& file, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}
}

TEST(OnDiskBitmap, DrawsWithAnExactPaletteAndGreyLeftOut)
{
    MessageBoxRecorder boxes;
    std::string file = RedSquareWithGreyCorner();
    COnDiskBitmap logo("LG");
    ASSERT_TRUE(logo.LoadBitmapFile(BitmapFileBytes(file), static_cast<DWORD>(file.size())));
    EXPECT_EQ(logo.GetLayout().colourCount, 3u);

    Canvas canvas;
    logo.Deseneaza(false, canvas.Dc(), 64, 64);
    EXPECT_EQ(canvas.At(0, 0), kWhite) << "the grey pixel is transparent";
    EXPECT_EQ(canvas.At(1, 0), kBitmapRed);
    EXPECT_EQ(canvas.At(3, 3), kBitmapRed);
    EXPECT_EQ(canvas.At(4, 4), kWhite);

    COnDiskBitmap other("I1");
    ASSERT_TRUE(other.LoadBitmapFile(BitmapFileBytes(file), static_cast<DWORD>(file.size())));
    Canvas second;
    other.Deseneaza(false, second.Dc(), 64, 64);
    EXPECT_EQ(second.At(0, 0), kWhite);
    EXPECT_EQ(second.At(3, 35), kBitmapRed) << "drawn at (2, height - 29)";
    EXPECT_EQ(second.At(2, 35), kWhite);

    Canvas untouched;
    other.Deseneaza(true, untouched.Dc(), 64, 64);
    EXPECT_EQ(untouched.At(3, 35), kWhite);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(OnDiskBitmap, ImagesWithoutAnExactPaletteAreNotDrawn)
{
    TempFolder folder;
    CurrentFolder current(folder.Path());
    MessageBoxRecorder boxes;
    Canvas canvas;

    COnDiskBitmap empty("NG");
    empty.Deseneaza(false, canvas.Dc(), 64, 64);
    EXPECT_EQ(ReadWholeFile(folder.File("INCERC.TXT")), "COnDiskBitmap::Deseneaza () NULL == m_lpDib ?! \r\n");

    std::vector<unsigned char> header = MakeBmpFileHeader(4, 4, 48);
    std::string trueColour = std::string(header.begin(), header.end()) + std::string(48, '\0');
    COnDiskBitmap deep("NG");
    ASSERT_TRUE(deep.LoadBitmapFile(BitmapFileBytes(trueColour), static_cast<DWORD>(trueColour.size())));
    deep.Deseneaza(false, canvas.Dc(), 64, 64);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.LastText(), "The image has zero colours ?!");
    EXPECT_EQ(boxes.Boxes()[0].caption, "CreateExactPalette");
    EXPECT_NE(ReadWholeFile(folder.File("INCERC.TXT")).find("Create ExactPalette failed \r\n"), std::string::npos);
    EXPECT_EQ(canvas.At(1, 1), kWhite);

    EXPECT_EQ(CreateExactPalette(reinterpret_cast<const BYTE*>("abcd"), 257, 4), nullptr);
    EXPECT_EQ(ReadWholeFile(folder.File("error.TXT")), ">256 colours Sorry\r\n");
}

TEST(OnDiskBitmap, StoredSizesAreCheckedAgainstTheBytesRead)
{
    MessageBoxRecorder boxes;
    std::string file = RedSquareWithGreyCorner();
    COnDiskBitmap image("I2");

    EXPECT_FALSE(image.LoadBitmapFile(BitmapFileBytes(file), static_cast<DWORD>(file.size() - 1)));
    EXPECT_EQ(boxes.LastText(), "The image is incomplete: it is shorter than its header states");
    EXPECT_FALSE(image.IsLoaded());

    std::string wrongType = file;
    wrongType[0] = 'X';
    EXPECT_FALSE(image.LoadBitmapFile(BitmapFileBytes(wrongType), static_cast<DWORD>(wrongType.size())));
    EXPECT_EQ(boxes.LastText(), "The image is not a BITMAP file");

    std::string badHeader = file;
    SetLe32(badHeader, 14, 13);
    EXPECT_FALSE(image.LoadBitmapFile(BitmapFileBytes(badHeader), static_cast<DWORD>(badHeader.size())));
    EXPECT_EQ(boxes.LastText(), "The image info header  is invalid");

    // Extra bytes after the stated size are harmless.
    std::string padded = file + std::string(100, '\0');
    EXPECT_TRUE(image.LoadBitmapFile(BitmapFileBytes(padded), static_cast<DWORD>(padded.size())));
}
