#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "foundation/BackupFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/FileSearch.h"
#include "foundation/StartupValues.h"
#include "support/TempFolder.h"

namespace {
// The program and backup folders are set by a test and cleared afterwards.
class FileHelpers : public testing::Test {
protected:
    void TearDown() override
    {
        SetProgramFolder("");
        SetCurrentBackupFolder("");
    }

    static void SetProgramFolder(const std::string& folder)
    {
        lstrcpynA(GetStartupValues().programFolder, folder.c_str(), MAX_PATH);
    }
};
}

TEST_F(FileHelpers, ExistenceAndAttributes)
{
    TempFolder folder;
    WriteWholeFile(folder.File("note.txt"), "x");
    CreateDirectoryA(folder.File("Sub").c_str(), nullptr);
    int isFolder = 5;
    EXPECT_FALSE(FileExists(folder.File("missing.txt").c_str(), &isFolder));
    EXPECT_EQ(isFolder, 5);
    isFolder = 0;
    EXPECT_TRUE(FileExists(folder.File("note.txt").c_str(), &isFolder));
    EXPECT_EQ(isFolder, 0);
    EXPECT_TRUE(FileExistsInFolder(folder.Path().c_str(), "Sub", &isFolder));
    EXPECT_EQ(isFolder, 1);
    EXPECT_TRUE(FileExists(folder.File("*.txt").c_str()));
    EXPECT_TRUE(FileExists(folder.File("NOTE.TXT").c_str()));
    EXPECT_FALSE(FileExists(folder.File("Sub\\").c_str()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(nullptr));
    EXPECT_FALSE(FileExistsInFolder(std::string(400, 'x').c_str(), "note.txt"));
    EXPECT_TRUE(SubfolderExists(folder.Path().c_str(), "sub"));
    EXPECT_FALSE(SubfolderExists(folder.Path().c_str(), "note.txt"));
    EXPECT_TRUE(IsFileOnSearchPath("kernel32.dll"));
    EXPECT_FALSE(IsFileOnSearchPath("no-such-file.xyz"));

    std::string path = folder.File("locked.QPD");
    WriteWholeFile(path, "x");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ClearReadOnlyAttribute(path.c_str());
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

// An open search keeps its folder from being deleted: a visitor that throws must
// not leave one behind.
TEST_F(FileHelpers, ASearchIsClosedWhenItsVisitorThrows)
{
    TempFolder folder;
    std::string searched = folder.File("searched");
    CreateDirectoryA(searched.c_str(), nullptr);
    WriteWholeFile(searched + "\\one.txt", "1");
    WriteWholeFile(searched + "\\two.txt", "2");
    int visited = 0;
    EXPECT_THROW(ForEachFileMatch(searched + "\\*.txt",
                                  [&](const WIN32_FIND_DATAA&) -> bool {
                                      ++visited;
                                      throw CGenericException("the visitor failed");
                                  }),
                 CGenericException);
    EXPECT_EQ(visited, 1);
    EXPECT_TRUE(DeleteFileA((searched + "\\one.txt").c_str()));
    EXPECT_TRUE(DeleteFileA((searched + "\\two.txt").c_str()));
    EXPECT_TRUE(RemoveDirectoryA(searched.c_str())) << GetLastError();
}

TEST_F(FileHelpers, FilesByExtension)
{
    TempFolder folder;
    WriteWholeFile(folder.File("a.QPK"), "1");
    WriteWholeFile(folder.File("b.QPK"), "2");
    WriteWholeFile(folder.File("c.txt"), "3");
    CreateDirectoryA(folder.File("BACKUP").c_str(), nullptr);
    WriteWholeFile(folder.File("BACKUP\\d.QPK"), "4");
    const char* root = folder.Path().c_str();

    EXPECT_EQ(CountFilesByExtension(root, "", "QPK"), 2);
    EXPECT_EQ(CountFilesByExtension(root, "BACKUP", "QPK"), 1);
    EXPECT_EQ(CountFilesByExtension(root, "Missing", "QPK"), 0);

    CGenericString name("unchanged");
    EXPECT_EQ(GetNthFileByExtension(name, root, nullptr, "QPK", 1), 1);
    std::string second = name.GetString();
    EXPECT_EQ(GetNthFileByExtension(name, root, nullptr, "QPK", 0), 0);
    std::string first = name.GetString();
    EXPECT_TRUE((first == "a.QPK" && second == "b.QPK") || (first == "b.QPK" && second == "a.QPK"));
    name = "unchanged";
    EXPECT_EQ(GetNthFileByExtension(name, root, nullptr, "QPK", 2), 2);
    EXPECT_STREQ(name.GetString(), "unchanged");
    EXPECT_EQ(GetNthFileByExtension(name, root, nullptr, "QPK", 7), 2);

    EXPECT_FALSE(BackupFilesExist());
    ASSERT_TRUE(SetCurrentBackupFolder(folder.File("BACKUP").c_str()));
    EXPECT_TRUE(BackupFilesExist());

    EXPECT_EQ(DeleteFilesByExtension(root, nullptr, "QPK"), 2);
    EXPECT_FALSE(FileExists(folder.File("a.QPK")));
    EXPECT_TRUE(FileExists(folder.File("c.txt")));
}

TEST_F(FileHelpers, ProgramPathsNeedAKnownFolderAndRoom)
{
    char buffer[MAX_PATH] = "junk";
    EXPECT_EQ(MakeProgramPath(buffer, sizeof buffer, "incoming.wav"), 0);
    EXPECT_STREQ(buffer, "");

    TempFolder folder;
    SetProgramFolder(folder.Path());
    std::string full = folder.Path() + "\\incoming.wav";
    EXPECT_EQ(MakeProgramPath(buffer, sizeof buffer, "incoming.wav"), 1);
    EXPECT_EQ(std::string(buffer), full);

    char exact[MAX_PATH];
    EXPECT_EQ(MakeProgramPath(exact, full.size() + 1, "incoming.wav"), 1);
    EXPECT_EQ(MakeProgramPath(exact, full.size(), "incoming.wav"), 0);
    EXPECT_EQ(std::string(exact), folder.Path());
    char tiny[6];
    EXPECT_EQ(MakeProgramPath(tiny, sizeof tiny, "incoming.wav"), 0);
    EXPECT_EQ(std::string(tiny), folder.Path().substr(0, 5));

    EXPECT_FALSE(SetCurrentBackupFolder(std::string(300, 'x').c_str()));
    EXPECT_STREQ(GetCurrentBackupFolder(), "");
}

TEST_F(FileHelpers, UpgradeFolderGoesOnlyFromAKnownProgramFolder)
{
    SetProgramFolder("");
    EXPECT_FALSE(RemoveUpgradeFolder());

    TempFolder folder;
    std::string upgrade = folder.File("UPGRADE");
    CreateDirectoryA(upgrade.c_str(), nullptr);
    CreateDirectoryA((upgrade + "\\old").c_str(), nullptr);
    WriteWholeFile(upgrade + "\\notes.qpd", "n");
    WriteWholeFile(upgrade + "\\old\\users.qpd", "u");
    SetFileAttributesA((upgrade + "\\notes.qpd").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteWholeFile(folder.File("keep.txt"), "k");

    SetProgramFolder(folder.Path());
    EXPECT_TRUE(RemoveUpgradeFolder());
    EXPECT_FALSE(FileExists(upgrade));
    EXPECT_TRUE(FileExists(folder.File("keep.txt")));
}

TEST_F(FileHelpers, AffiliationIdIsTheFirstLine)
{
    TempFolder folder;
    SetProgramFolder(folder.Path());
    CGenericString id("id:");
    EXPECT_THROW(ReadAffiliationId(id), CGenericException);

    WriteWholeFile(folder.File("Affiliation.ID"), "PARTNER42\r\nsecond line");
    ReadAffiliationId(id);
    EXPECT_STREQ(id.GetString(), "id:PARTNER42");

    WriteWholeFile(folder.File("Affiliation.ID"), "Z");
    CGenericString single("same");
    ReadAffiliationId(single);
    EXPECT_STREQ(single.GetString(), "same");

    WriteWholeFile(folder.File("Affiliation.ID"), std::string(3000, 'a'));
    CGenericString longId;
    ReadAffiliationId(longId);
    EXPECT_EQ(std::strlen(longId.GetString()), 1024u);
}

TEST_F(FileHelpers, UniqueNamesAre32HexDigits)
{
    char first[64];
    char second[64];
    MakeUniqueName(first, sizeof first);
    MakeUniqueName(second, sizeof second);
    EXPECT_EQ(std::strlen(first), 32u);
    EXPECT_EQ(std::strspn(first, "0123456789ABCDEF"), 32u) << first;
    EXPECT_STRNE(first, second);
    char cut[9];
    MakeUniqueName(cut, sizeof cut);
    EXPECT_EQ(std::strlen(cut), 8u);
}
