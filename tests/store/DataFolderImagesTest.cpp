#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/DataFolder.h"
#include "support/TempFolder.h"
#include "store/DataFolderImages.h"

// The pictures are found in the data folder whatever the current folder is.
TEST(AvatarFileExists, LooksInTheDataFoldersChatFolder)
{
    TempFolder data("data");
    struct DataFolderWhileAlive {
        std::string previous = GetDataFolder();
        ~DataFolderWhileAlive() { SetDataFolder(previous.c_str()); }
    } restore;
    SetDataFolder(data.Path().c_str());

    EXPECT_EQ(AvatarFileExists("  noimage"), 1);
    EXPECT_EQ(AvatarFileExists("  NoImage"), 1);
    EXPECT_EQ(AvatarFileExists("NoImage"), 0);
    EXPECT_EQ(AvatarFileExists("owl.bmp"), 0);
    ASSERT_TRUE(CreateDirectoryA(data.File("CHAT").c_str(), nullptr));
    WriteWholeFile(data.File("CHAT\\owl.bmp"), "BM");
    EXPECT_EQ(AvatarFileExists("owl.bmp"), 1);
    EXPECT_EQ(AvatarFileExists("OWL.BMP"), 1);
    EXPECT_EQ(AvatarFileExists(std::string(400, 'x').c_str()), 0);
}

TEST(CopyImageFiles, CopiesPicturesAndKeepsExistingOnes)
{
    TempFolder source("src");
    TempFolder target("dst");
    WriteWholeFile(source.File("wood.BMP"), "new wood");
    WriteWholeFile(source.File("sky.jpg"), "sky");
    WriteWholeFile(source.File("dots.Gif"), "dots");
    WriteWholeFile(source.File("readme.txt"), "text");
    ASSERT_TRUE(CreateDirectoryA(source.File("folder.bmp").c_str(), nullptr));
    WriteWholeFile(target.File("wood.BMP"), "old wood");

    CopyImageFiles(target.Path().c_str(), source.Path().c_str());
    EXPECT_EQ(ReadWholeFile(target.File("wood.BMP")), "old wood");
    EXPECT_EQ(ReadWholeFile(target.File("sky.jpg")), "sky");
    EXPECT_EQ(ReadWholeFile(target.File("dots.Gif")), "dots");
    EXPECT_FALSE(FileExists(target.File("readme.txt")));
    EXPECT_FALSE(FileExists(target.File("folder.bmp")));

    CopyImageFiles(target.Path().c_str(), (source.Path() + "\\missing").c_str());
}
