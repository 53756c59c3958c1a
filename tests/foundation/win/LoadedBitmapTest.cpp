#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/PictureFiles.h"
#include "foundation/win/LoadedBitmap.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
class LoadedBitmapTest : public testing::Test {
protected:
    void SetUp() override { OleInitialize(nullptr); }
    void TearDown() override { OleUninitialize(); }

    HBITMAP Load(CLoadedBitmap& picture, const std::string& name, const std::string& bytes)
    {
        WriteWholeFile(m_folder.File(name), bytes);
        return picture.LoadImageFromFile(GetModuleHandleA(nullptr), m_folder.File(name).c_str());
    }

    TempFolder m_folder;
    MessageBoxRecorder m_boxes;
};
}

TEST_F(LoadedBitmapTest, BmpGifAndJpegLoadWithTheirPixelSizes)
{
    CLoadedBitmap bmp;
    ASSERT_NE(Load(bmp, "picture.bmp", MakeBmp8(30, 20, {0x0000FF}, std::vector<uint8_t>(600, 0))), nullptr);
    EXPECT_TRUE(bmp.IsBmp());
    EXPECT_EQ(bmp.GetWidth(), 30);
    EXPECT_EQ(bmp.GetHeight(), 20);

    CLoadedBitmap gif;
    ASSERT_NE(Load(gif, "picture.GIF", kRedGif5x3), nullptr);
    EXPECT_TRUE(gif.IsGif());
    EXPECT_EQ(gif.GetWidth(), 5);
    EXPECT_EQ(gif.GetHeight(), 3);

    CLoadedBitmap jpeg;
    ASSERT_NE(Load(jpeg, "picture.jpg", GreyJpeg24x16()), nullptr);
    EXPECT_TRUE(jpeg.IsJpeg());
    EXPECT_EQ(jpeg.GetWidth(), 24);
    EXPECT_EQ(jpeg.GetHeight(), 16);
    EXPECT_EQ(m_boxes.Count(), 0u);
    // The picture is rendered upright and whole: the GIF's pixels are all red.
    EXPECT_EQ(PixelOf(gif.GetBitmap(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(gif.GetBitmap(), 4, 2), RGB(255, 0, 0));
}

TEST_F(LoadedBitmapTest, PngAndOtherSpellingsAreRefused)
{
    CLoadedBitmap picture;
    std::string jpeg = GreyJpeg24x16();
    ASSERT_NE(Load(picture, "photo.JPG", jpeg), nullptr) << "upper case as well";
    EXPECT_EQ(Load(picture, "picture.png", "\x89PNG\r\n"), nullptr);
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_EQ(m_boxes.LastText(), "Sorry, .PNG files are not currently supported.");
    EXPECT_EQ(picture.GetWidth(), 0) << "the picture before is gone, and its size with it";

    EXPECT_EQ(Load(picture, "photo.Jpg", jpeg), nullptr);
    ASSERT_EQ(m_boxes.Count(), 2u);
    EXPECT_EQ(m_boxes.LastText(), "Please check the CapsLock key.\r\nOnly .bmp, .jpg, .gif files are allowed ");
    EXPECT_EQ(m_boxes.Boxes()[1].flags, 0x10u);
}

TEST_F(LoadedBitmapTest, MissingDamagedAndMisnamedFiles)
{
    CLoadedBitmap picture;
    std::string missing = m_folder.File("none.bmp");
    EXPECT_EQ(picture.LoadImageFromFile(GetModuleHandleA(nullptr), missing.c_str()), nullptr);
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_EQ(m_boxes.LastText(), "The file does not exist. The image cannot be loaded");
    EXPECT_EQ(m_boxes.Boxes()[0].caption, missing);

    const std::string& gif = kRedGif5x3;
    EXPECT_EQ(Load(picture, "cut.gif", gif.substr(0, 12)), nullptr);
    EXPECT_TRUE(m_boxes.Saw("CLoadedBitmap::LoadGifJpg OleLoadPicture has failed"));
    EXPECT_EQ(m_boxes.LastText(), "Loading the image from disk has failed");

    // The extension is looked for anywhere in the path, so a folder named like
    // a bitmap makes a GIF inside it load as a bitmap, which fails.
    CreateDirectoryA(m_folder.File("old.bmp.pictures").c_str(), nullptr);
    m_boxes.Clear();
    EXPECT_EQ(Load(picture, "old.bmp.pictures\\small.gif", gif), nullptr);
    EXPECT_TRUE(picture.IsBmp());
    EXPECT_EQ(m_boxes.LastText(), "Loading the image from disk has failed");
}
