// Once the data files are sealed (a replacement of them ended with neither set
// whole), no table, memo file, settings file or backup of the data folder is
// written: every way of writing is refused and logged in error.txt, tables are
// still read, and files outside the data folder are written as before. The
// seal lasts for the rest of the process, so the sealed side runs in a child.
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/GenericFile.h"
#include "foundation/WorkingCopy.h"
#include "store/DbfFile.h"
#include "support/ChildTest.h"
#include "support/InFolder.h"

namespace {
const char kSealedFolderVariable[] = "QN_SEALED_FOLDER";
const char* const kSealedDataFiles[] = {"users.QPD", "sentto.QPD", "notes.QPD", "notes.QPS"};

// The step throws the seal's refusal, which no box shows.
template <class Step>
bool RefusedAsSealed(Step&& step)
{
    try {
        step();
    } catch (const CGenericException& failure) {
        return IsSealedRefusal(failure);
    }
    return false;
}

size_t CountOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class SealedDataFiles : public InFolder {};
}

TEST_F(SealedDataFiles, DISABLED_ChildWritesAfterTheSeal)
{
    const std::string folder = ChildVariable(kSealedFolderVariable);
    if (folder.empty())
        GTEST_SKIP() << "runs only as the child of the sealed data files test";
    CurrentFolder data(folder);
    SealDataFiles();

    CDbfFile users;
    users.SetTable(DataFilePath("users.QPD").c_str(), true);
    EXPECT_NO_THROW(users.Open("READ"));
    users.Close();
    EXPECT_TRUE(RefusedAsSealed([&] { users.Open("MAPPINGALL"); }));
    CDbfFile sentTo;
    sentTo.SetTable(DataFilePath("sentto.QPD").c_str(), true);
    EXPECT_TRUE(RefusedAsSealed([&] { sentTo.Open("MAPPINGAPPEND"); }));
    EXPECT_TRUE(RefusedAsSealed([] { CWorkingCopy groups(DataFilePath("noteman.QPD").c_str()); }));
    // A memo file opened for reading and writing is read, never written.
    CGenericFile memo;
    memo.OpenShared(DataFilePath("notes.QPS").c_str());
    EXPECT_GT(memo.GetSize(), 0u);
    EXPECT_TRUE(RefusedAsSealed([&] { memo.WriteToFile("x", 1); }));
    EXPECT_TRUE(RefusedAsSealed([&] { memo.SetEOF(); }));
    memo.Close();
    EXPECT_TRUE(RefusedAsSealed([] {
        CGenericFile backup;
        backup.CreateOverwrite(DataFilePath("BACKUP\\202601020930.QPK").c_str());
    }));

    CGenericFile outside;
    outside.CreateOverwrite((folder + "-outside.txt").c_str());
    outside.WriteToFile("written", 7);
}

TEST_F(SealedDataFiles, NoFileOfTheDataFolderIsWrittenAndEachRefusalIsLogged)
{
    const std::string folder = File("data");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((folder + "\\BACKUP").c_str(), nullptr));
    std::vector<std::string> before;
    for (const char* name : kSealedDataFiles) {
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\QlData\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE))
            << name;
        before.push_back(ReadWholeFile(folder + "\\" + name));
    }
    WriteWholeFile(folder + "\\noteman.QPD", "the groups");

    SetEnvironmentVariableA(kSealedFolderVariable, folder.c_str());
    {
        ChildTest child("SealedDataFiles.DISABLED_ChildWritesAfterTheSeal");
        EXPECT_TRUE(child.Passed());
    }
    SetEnvironmentVariableA(kSealedFolderVariable, nullptr);

    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(ReadWholeFile(folder + "\\" + kSealedDataFiles[i]), before[i]) << kSealedDataFiles[i];
    EXPECT_EQ(ReadWholeFile(folder + "\\noteman.QPD"), "the groups");
    EXPECT_FALSE(FileExists(folder + "\\noteman.QPD.new"));
    EXPECT_FALSE(FileExists(folder + "\\BACKUP\\202601020930.QPK"));
    EXPECT_EQ(ReadWholeFile(folder + "-outside.txt"), "written");
    const std::string log = ReadWholeFile(folder + "\\error.txt");
    EXPECT_EQ(CountOf(log, "Not written: Quillnet+ writes no data file until it starts again: "), 6u) << log;
    EXPECT_NE(log.find("noteman.QPD"), std::string::npos) << log;
}
