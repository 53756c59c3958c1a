#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/FolderTree.h"
#include "support/InFolder.h"
#include "support/ProgramDriver.h"
#include "support/UnixProgram.h"

using FolderTree = InFolder;

namespace {
bool IsLink(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Runs a Linux program on the host and polls, a bounded number of times, for
// its effect: no Windows handle tells its end.
bool RunOnHost(const std::string& commandLine, bool (*done)(const std::string&), const std::string& path)
{
    return StartUnixProgram(nullptr, commandLine) && WaitUntil([&] { return done(path); });
}

// Wine makes no junction or symbolic link of its own (CreateSymbolicLinkA does
// nothing, FSCTL_SET_REPARSE_POINT is refused) but shows a host symbolic link as
// a folder marked FILE_ATTRIBUTE_REPARSE_POINT, as Windows shows a junction. The
// links are removed on the host again, since Wine cannot remove them either.
class FolderLinks {
public:
    ~FolderLinks()
    {
        for (const std::string& link : m_links)
            RunOnHost("/bin/rm -f " + UnixPath(link), [](const std::string& p) { return !IsLink(p); }, link);
    }
    bool Make(const std::string& link, const std::string& target)
    {
        m_links.push_back(link);
        return RunOnHost("/bin/ln -s " + UnixPath(target) + " " + UnixPath(link), IsLink, link);
    }

private:
    std::vector<std::string> m_links;
};
}

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

// A link inside a tree, to a folder elsewhere or to the tree itself, is never
// walked through: deleting the tree leaves the linked folder's files alone, a
// copy leaves links out on both sides, and a link at the top is removed itself.
TEST_F(FolderTree, LinksAreNeverWalkedThrough)
{
    CreateDirectoryA(File("keep").c_str(), nullptr);
    WriteWholeFile(File("keep\\precious.txt"), "precious");
    CreateDirectoryA(File("tree").c_str(), nullptr);
    CreateDirectoryA(File("tree\\inner").c_str(), nullptr);
    WriteWholeFile(File("tree\\inner\\own.txt"), "own");
    FolderLinks links;
    ASSERT_TRUE(links.Make(File("tree\\inner\\link"), File("keep")));
    ASSERT_TRUE(links.Make(File("tree\\loop"), File("tree")));
    ASSERT_TRUE(links.Make(File("top"), File("keep")));

    CreateDirectoryA(File("copy").c_str(), nullptr);
    CopyDirectoryTree(File("copy").c_str(), File("tree").c_str(), "*");
    EXPECT_EQ(ReadWholeFile(File("copy\\inner\\own.txt")), "own");
    EXPECT_FALSE(FileExists(File("copy\\inner\\link")));
    EXPECT_FALSE(FileExists(File("copy\\loop")));
    CreateDirectoryA(File("copyinto").c_str(), nullptr);
    ASSERT_TRUE(links.Make(File("copyinto\\inner"), File("keep")));
    CopyDirectoryTree(File("copyinto").c_str(), File("tree").c_str(), "*");
    EXPECT_FALSE(FileExists(File("keep\\own.txt"))) << "nothing is copied through a link in the target";

    DeleteDirectoryTree(File("tree").c_str());
    DeleteDirectoryTree(File("top").c_str());
    EXPECT_FALSE(FileExists(File("tree\\inner\\own.txt")));
    EXPECT_EQ(ReadWholeFile(File("keep\\precious.txt")), "precious");
}
