#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/FolderTree.h"
#include "support/InFolder.h"

using FolderTree = InFolder;

TEST_F(FolderTree, ChecksumIsTheByteSum)
{
    WriteWholeFile(File("sum.bin"), std::string("\x01\x02\xFF", 3));
    WriteWholeFile(File("empty.bin"), "");
    DWORD sum = 1, size = 1;
    EXPECT_TRUE(GetFileChecksum(File("sum.bin").c_str(), &sum, &size));
    EXPECT_EQ(sum, 258u);
    EXPECT_EQ(size, 3u);
    EXPECT_TRUE(GetFileChecksum(File("empty.bin").c_str(), &sum, &size));
    EXPECT_EQ(sum, 0u);
    EXPECT_EQ(size, 0u);
}

// A copy replaces read-only and hidden targets, goes into sub-folders, takes
// files whose names start with a dot, and the whole tree is then deleted,
// read-only files included.
TEST_F(FolderTree, CopiesOverProtectedFilesAndDeletesWholeTrees)
{
    CreateDirectoryA(File("source").c_str(), nullptr);
    CreateDirectoryA(File("source\\inner").c_str(), nullptr);
    CreateDirectoryA(File("target").c_str(), nullptr);
    WriteWholeFile(File("source\\a.txt"), "new a");
    WriteWholeFile(File("source\\inner\\b.txt"), "new b");
    WriteWholeFile(File("source\\inner\\.c"), "dot c");
    WriteWholeFile(File("target\\a.txt"), "old a");
    SetFileAttributesA(File("target\\a.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

    CopyDirectoryTree(File("target").c_str(), File("source").c_str(), "*");
    EXPECT_EQ(ReadWholeFile(File("target\\a.txt")), "new a");
    EXPECT_EQ(ReadWholeFile(File("target\\inner\\b.txt")), "new b");
    EXPECT_EQ(ReadWholeFile(File("target\\inner\\.c")), "dot c");

    SetFileAttributesA(File("target\\inner\\b.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(DeleteDirectoryTree(File("target").c_str()));
    EXPECT_FALSE(FileExists(File("target")));
    EXPECT_FALSE(DeleteDirectoryTree(File("target").c_str()));
}
