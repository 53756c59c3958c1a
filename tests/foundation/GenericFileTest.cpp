#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "foundation/GenericFile.h"
#include "support/TempFolder.h"
#include "support/bytes/ErrorOf.h"

namespace {
// The Win32 code and the text of the failure the body throws.
std::string Failure(const std::function<void()>& body)
{
    try {
        body();
    } catch (const CGenericException& e) {
        return std::to_string(e.GetErrorCode()) + ": " + e.GetErrorText();
    }
    return "";
}
}

TEST(GenericFile, OpenFailuresNameThePathAndKeepTheCode)
{
    TempFolder folder;
    std::string missing = folder.File("missing.txt");
    CGenericFile file;
    EXPECT_EQ(Failure([&] { file.OpenReadOnly(missing.c_str()); }), "2: Open ReadOnly failed - " + missing + " - ");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(Failure([&] { file.OpenExclusive(missing.c_str()); })
                  .rfind("2: OpenExclusive failed - " + missing + " -\r\n  , Error number: 2, Details: ", 0),
              0u);

    std::string path = folder.File("table.QPD");
    WriteWholeFile(path, "x");
    CGenericFile first;
    first.OpenExclusive(path.c_str());
    CGenericFile second;
    EXPECT_EQ(Failure([&] { second.OpenShared(path.c_str()); }).substr(0, 4), "32: ");
    first.Close();
    EXPECT_TRUE(second.OpenShared(path.c_str()));
}

TEST(GenericFile, CreateOverwriteTruncatesAndWritesRead)
{
    TempFolder folder;
    std::string path = folder.File("data.bin");
    WriteWholeFile(path, "old contents");
    CGenericFile file;
    file.CreateOverwrite(path.c_str());
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_TRUE(file.IsEOF());
    file.WriteToFile("hello world", 11);
    file.MoveFromBOF(6);
    char buffer[8] = {};
    EXPECT_EQ(file.ReadFromFile(buffer, 5), 5u);
    EXPECT_STREQ(buffer, "world");
    EXPECT_TRUE(file.IsEOF());
    file.MoveFromEOF(-5);
    file.SetEOF();
    file.Close();
    EXPECT_EQ(ReadWholeFile(path), "hello ");
}

TEST(GenericFile, ReadingIntoAStringLeavesRoomForTheTerminator)
{
    TempFolder folder;
    std::string path = folder.File("text.txt");
    WriteWholeFile(path, "0123456789");
    CGenericFile file;
    file.OpenReadOnly(path.c_str());
    CGenericString small(4);
    EXPECT_EQ(ErrorOf([&] { file.ReadFromFile(small, 10); }), "ReadFromFile attempt to read too many bytes " + path);
    EXPECT_EQ(file.GetFilePosition(), 0u);
    EXPECT_THROW(file.ReadFromFile(small, 5), CGenericException);
    EXPECT_EQ(file.ReadFromFile(small, 4), 4u);
    EXPECT_STREQ(small.GetString(), "0123");
}

TEST(GenericFile, MappingGrowsTheFileAndWritesItsTail)
{
    TempFolder folder;
    std::string path = folder.File("mapped.bin");
    WriteWholeFile(path, std::string(1000, 'a'));
    CGenericFile file;
    file.OpenShared(path.c_str());
    ASSERT_TRUE(file.CreateMapping(100));
    EXPECT_EQ(file.GetViewSize(), 1100u);
    file.WriteTailOfMapping("abc");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(file.GetView()) + 1097, 3), "abc");
    file.WriteToMapping(0, "Z", 1);
    EXPECT_THROW(file.WriteToMapping(1099, "xy", 2), CGenericException);
    ASSERT_TRUE(file.CreateMapping(50)) << "a second mapping replaces the first";
    EXPECT_EQ(file.GetViewSize(), 1150u);
    EXPECT_EQ(file.GetView()[0], 'Z');
    file.Close();
    std::string bytes = ReadWholeFile(path);
    ASSERT_EQ(bytes.size(), 1150u);
    EXPECT_EQ(bytes[0], 'Z');
    EXPECT_EQ(bytes.substr(1097, 3), "abc");

    WriteWholeFile(path, "");
    file.OpenReadOnly(path.c_str());
    EXPECT_FALSE(file.CreateMappingReadOnly()) << "an empty file maps nothing";
    EXPECT_EQ(file.GetView(), nullptr);
}
