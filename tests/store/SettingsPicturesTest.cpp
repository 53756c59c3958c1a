#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/DbfFile.h"
#include "store/SettingsPictures.h"
#include "store/bytes/ByteStore.h"
#include "store/bytes/MemoFile.h"
#include "store/bytes/TableGroups.h"
#include "support/InFolder.h"
#include "support/PictureFiles.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
// A settings table made from the installation's template, with one more row
// holding a picture in its enciphered memo, as the program keeps its images.
class SettingsWithPicture : public InFolder {
protected:
    void SetUp() override
    {
        CopyTemplate("config.QPD");
        CopyTemplate("config.QPS");
    }

    void AddPicture(const char* code, const std::string& picture)
    {
        std::string memo = Read("config.QPS");
        CMemoryByteStore store(std::vector<unsigned char>(memo.begin(), memo.end()));
        std::uint32_t block = CMemoFile(store, "config.QPS")
                                  .Append(picture.data(), static_cast<std::uint32_t>(picture.size()), false,
                                          &GetSettingsMemoKey());
        Write("config.QPS", store.Bytes());
        CDbfFile config;
        config.SetTable("config.QPD", true);
        config.Open("MAPPINGAPPEND");
        config.SetStringValue(config.GetRecno(), "CONFIG", code);
        config.SetLongValue(config.GetRecno(), "TEXT", static_cast<std::int32_t>(block));
        config.Close();
    }

    MessageBoxRecorder m_boxes;
};
}

TEST_F(SettingsWithPicture, ThePictureOfTheCodeIsReadAndDecipheredOrRefused)
{
    COnDiskBitmap image;
    EXPECT_FALSE(ReadConfigFile(image, "I3"));
    EXPECT_EQ(m_boxes.LastText(), "No image found");

    std::string picture = MakeBmp8(6, 5, {0x0000FF, 0xC0C0C0}, std::vector<uint8_t>(30, 0));
    AddPicture("I3", picture);
    ASSERT_TRUE(ReadConfigFile(image, "I3"));
    EXPECT_EQ(image.GetLayout().width, 6);
    EXPECT_EQ(image.GetLayout().height, 5);
    EXPECT_EQ(image.GetLayout().colourCount, 2u);
    EXPECT_EQ(Read("config.QPS").find(picture.substr(0, 40)), std::string::npos) << "stored enciphered";

    AddPicture("NG", picture.substr(0, picture.size() - 10));
    EXPECT_FALSE(ReadConfigFile(image, "NG"));
    EXPECT_EQ(m_boxes.LastText(), "The image is incomplete: it is shorter than its header states");
    EXPECT_FALSE(image.IsLoaded());

    AddPicture("LG", std::string(60000, 'B'));
    EXPECT_FALSE(ReadConfigFile(image, "LG"));
    EXPECT_FALSE(image.IsLoaded());
    EXPECT_EQ(m_boxes.Count(), 3u);
}
