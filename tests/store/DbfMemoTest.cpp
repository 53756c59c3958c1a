#include <string>

#include "bytes/MemoryTable.h"
#include "store/DbfFile.h"
#include "store/bytes/MemoFile.h"
#include "support/InFolder.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "support/bytes/ErrorOf.h"

namespace {
class DbfMemo : public InFolder {
protected:
    void SetUp() override
    {
        InFolder::SetUp();
        Write("notes.QPD", SampleTableBytes(1));
        Write("notes.qps", BuildEmptyMemoFile());
        m_table.SetTable("notes.QPD", true);
    }
    void TearDown() override
    {
        SetMemoFreshStart(false);
        InFolder::TearDown();
    }

    std::string Text(DWORD block)
    {
        DWORD offset, size, length;
        EXPECT_TRUE(m_table.GetSizeOfMemoField(block, offset, size, length));
        std::string text(length + 1, '?');
        m_table.ReadMemoField(&text[0], length + 1, block);
        EXPECT_EQ(text.back(), '\0');
        text.pop_back();
        return text;
    }

    CDbfFile m_table;
};
}

TEST_F(DbfMemo, ATextReachesTheFileByteForByteAndABufferTooSmallIsRefused)
{
    std::string text(100, 'n');
    EXPECT_EQ(m_table.SaveTextInMemoFile(text.data(), 100), 8u);
    CMemoryByteStore expected(BuildEmptyMemoFile());
    CMemoFile(expected, "notes.qps").Append(text.data(), 100, false);
    ASSERT_EQ(expected.Size(), 640u);
    EXPECT_EQ(Read("notes.qps"), std::string(expected.Bytes().begin(), expected.Bytes().end()));
    EXPECT_FALSE(FileExists(File("notesTemp.QPS")));
    EXPECT_EQ(Text(8), text);

    DWORD offset, size, length;
    EXPECT_FALSE(m_table.GetSizeOfMemoField(10, offset, size, length));
    EXPECT_EQ(m_table.SaveTextInMemoFile("", 0), 0u);
    EXPECT_EQ(Read("notes.qps").size(), 640u);

    char small[100];
    EXPECT_THROW(m_table.ReadMemoField(small, sizeof small, 8), CGenericException);
    EXPECT_NE(Read("error.txt").find("CDbfFile::ReadMemoField exception 1 raised: \""), std::string::npos);
    EXPECT_THROW(m_table.ReadMemoField(small, sizeof small, 40), CGenericException);
}

TEST_F(DbfMemo, StartingAfreshKeepsOnlyTheNewTexts)
{
    for (int i = 0; i < 4; ++i)
        m_table.SaveTextInMemoFile("an old text", 11);
    SetMemoFreshStart(true);
    EXPECT_EQ(m_table.SaveTextInMemoFile("first", 5), 8u);
    EXPECT_FALSE(IsMemoFreshStart());
    EXPECT_EQ(Read("notes.qps").size(), 576u);
    EXPECT_EQ(Text(8), "first");
    EXPECT_EQ(m_table.SaveTextInMemoFile("second", 6), 9u) << "only the first save starts afresh";
}

TEST_F(DbfMemo, ALockedMemoFileIsTriedFiftyTimesAndTheTextIsKept)
{
    std::string before = Read("notes.qps");
    HANDLE holder = CreateFileA(File("notes.qps").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorOf([&] { m_table.SaveTextInMemoFile("precious words", 14); }), "Error copying notes.qps");
    CloseHandle(holder);
    std::string log = Read("error.txt");
    EXPECT_NE(log.find("SaveTextInMemoFile(): \r\nError copying file \"notes.qps\" Iteration 0\r\n , Error number: 32"),
              std::string::npos);
    EXPECT_NE(log.find("Iteration 49\r\n"), std::string::npos);
    EXPECT_EQ(log.find("Iteration 50"), std::string::npos);
    EXPECT_NE(log.find("SaveTextInMemoFile(): Error copying notes.qps\r\nprecious words\r\n\r\n"), std::string::npos);
    EXPECT_EQ(Read("notes.qps"), before);
}

TEST_F(DbfMemo, UpgradeTablesWriteNextToThemselves)
{
    CreateDirectoryA("UPGRADE", nullptr);
    Write("UPGRADE\\notes.qpd", SampleTableBytes(0));
    Write("UPGRADE\\notes.qps", BuildEmptyMemoFile());
    CDbfFile upgrade;
    upgrade.SetTable("UPGRADE\\notes.qpd", true);
    EXPECT_EQ(upgrade.SaveTextInMemoFile("imported", 8), 8u);
    EXPECT_EQ(Read("UPGRADE\\notes.qps").size(), 576u);
    EXPECT_EQ(Read("notes.qps").size(), 512u);
    EXPECT_FALSE(FileExists(File("UPGRADE\\notesTemp.QPS")));
}

TEST_F(DbfMemo, SettingsMemosAreReadOnlyAndDecipheredWhereverTheTableLies)
{
    CreateDirectoryA("QlData", nullptr);
    CMemoryByteStore memo(BuildEmptyMemoFile());
    std::string text = "{\\rtf1 hello}";
    CMemoFile(memo, "config.QPS").Append(text.data(), static_cast<std::uint32_t>(text.size()), false,
                                          &GetSettingsMemoKey());
    Write("QlData\\config.QPS", memo.Bytes());
    Write("QlData\\config.QPD", SampleTableBytes(1, TableGroup::kConfig));

    CDbfFile config;
    config.SetTable("QlData\\config.QPD", true);
    char buffer[64];
    config.ReadMemoField(buffer, sizeof buffer, 8);
    EXPECT_EQ(std::string(buffer), text);

    char raw[64];
    config.AlterSponsorInfo(raw, sizeof raw, 8, GetSettingsMemoKey(), "NONE");
    EXPECT_NE(std::string(raw, text.size()), text);
    config.AlterSponsorInfo(raw, sizeof raw, 8, GetSettingsMemoKey(), "DECRYPT");
    EXPECT_EQ(std::string(raw, text.size()), text);

    MessageBoxRecorder boxes;
    EXPECT_EQ(config.SaveTextInMemoFile("x", 1), 0u);
    EXPECT_TRUE(boxes.Saw("Saving memo field into config.qpd is not allowed"));
    EXPECT_EQ(Read("QlData\\config.QPS"), std::string(memo.Bytes().begin(), memo.Bytes().end()));
}

// A program that holds "notes.qps" while sharing its deletion (a virus scanner
// does) lets a delete through but keeps the name until it lets go, so a rename
// onto it cannot follow. The memo file is replaced in one step or not at all: it
// stays whole, and the failed save keeps its text in the working copy and the log.
TEST_F(DbfMemo, AHeldMemoFileStaysWholeWhenItCannotBeReplaced)
{
    m_table.SaveTextInMemoFile("kept note", 9);
    std::string before = Read("notes.qps");
    HANDLE scanner = CreateFileA(File("notes.qps").c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorOf([&] { m_table.SaveTextInMemoFile("new words", 9); }),
              "Error renaming notesTemp.qps to notes.qps");
    CloseHandle(scanner);

    EXPECT_EQ(Read("notes.qps"), before);
    EXPECT_EQ(Text(8), "kept note");
    EXPECT_EQ(Read("notesTemp.QPS").size(), 640u) << "the new memo waits in the working copy";
    std::string log = Read("error.txt");
    EXPECT_NE(log.find("SaveTextInMemoFile(): \r\nError renaming file \"notesTemp.QPS\" Iteration 0\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("Iteration 49\r\n"), std::string::npos);
    EXPECT_NE(log.find("Error renaming notesTemp.qps to notes.qps\r\nnew words\r\n\r\n"), std::string::npos);

    EXPECT_EQ(m_table.SaveTextInMemoFile("later", 5), 9u) << "once the holder lets go, saving goes on";
    EXPECT_EQ(Text(9), "later");
    EXPECT_FALSE(FileExists(File("notesTemp.QPS")));
}
