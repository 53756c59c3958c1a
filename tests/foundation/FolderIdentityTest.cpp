// Two paths of one folder are the same folder however they are spelt, and
// two folders are never one because their names look alike.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "foundation/FolderIdentity.h"
#include "support/TempFolder.h"

TEST(FolderIdentity, FoldersAreComparedAsFoldersNotAsSpellings)
{
    TempFolder folder("same");
    const std::string path = folder.Path();
    ASSERT_TRUE(CreateDirectoryA(folder.File("inner").c_str(), nullptr));
    std::string upper = path;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });

    EXPECT_TRUE(IsSameFolder(path, path));
    EXPECT_TRUE(IsSameFolder(path, path + "\\"));
    EXPECT_TRUE(IsSameFolder(path + "\\\\", upper));
    EXPECT_TRUE(IsSameFolder(path, folder.File("inner\\..")));
    EXPECT_FALSE(IsSameFolder(path, folder.File("inner")));
    EXPECT_FALSE(IsSameFolder(folder.File("inner"), folder.File("inner2")));
    // A folder that is not there is known by its full path.
    EXPECT_TRUE(IsSameFolder(folder.File("gone"), folder.File("GONE\\")));
    EXPECT_FALSE(IsSameFolder(folder.File("gone"), folder.File("inner")));
    WriteWholeFile(folder.File("plain"), "a file");
    EXPECT_FALSE(IsSameFolder(folder.File("plain"), path));
    EXPECT_TRUE(IsSameFolder("", ""));
    EXPECT_FALSE(IsSameFolder(path, ""));
}
