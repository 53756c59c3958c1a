// The data folder installed from the program's UPGRADE folder, checked, and
// upgraded from each older version of its tables.
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "StoreFolder.h"
#include "store/DestinationLists.h"
#include "store/DataFilesInstall.h"
#include "store/DbfFile.h"
#include "store/bytes/TableStructure.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const char* const kTables[] = {"config.QPD",    "config.QPS",   "users.QPD",  "notes.QPD", "notes.QPS",
                               "sentto.QPD",    "transact.QPD", "sounds.QPD", "webSearch.QPD"};

class DataFilesInstall : public StoreFolder {
protected:
    void SetUp() override
    {
        CopyUpgradeFolder();
        CreateDirectoryA(File("UPGRADE\\TEXTURES").c_str(), nullptr);
        CreateDirectoryA(File("UPGRADE\\CHAT").c_str(), nullptr);
        WriteWholeFile(File("UPGRADE\\TEXTURES\\paper.BMP"), "BM paper");
        WriteWholeFile(File("UPGRADE\\TEXTURES\\notes.txt"), "not an image");
        WriteWholeFile(File("UPGRADE\\CHAT\\face.GIF"), "GIF89a");
        SentToList().RemoveAll();
        TransactList().RemoveAll();
    }

    // The current tables, marked as of the given version.
    void InstallTablesOfVersion(double version)
    {
        for (const char* name : kTables)
            CopyTemplate(name);
        CDbfFile config;
        config.SetTable("config.QPD", true);
        config.Open("MAPPINGALL");
        config.SetDoubleValue(1, "VERSION", version);
    }

    long Version()
    {
        CDbfFile config;
        config.SetTable("config.QPD", true);
        config.Open("READ");
        return std::lround(config.GetDoubleValue("VERSION") * 100);
    }

    bool UpgradeFolderGone() { return !FileExists(File("UPGRADE")); }
};
}

TEST_F(DataFilesInstall, AnEmptyFolderIsInstalledAndAMissingTableStopsTheStartNamingIt)
{
    EXPECT_EQ(InstallDataFiles(), 1);
    for (const char* name : kTables) {
        EXPECT_EQ(Read(name), ReadWholeFile(ProgramFolder() + "\\UPGRADE\\" + name)) << name;
    }
    EXPECT_EQ(Read("TEXTURES\\paper.BMP"), "BM paper");
    EXPECT_FALSE(FileExists(File("TEXTURES\\notes.txt")));
    EXPECT_EQ(Read("CHAT\\face.GIF"), "GIF89a");
    EXPECT_TRUE(UpgradeFolderGone());

    SetUp();
    DeleteFileA(File("users.QPD").c_str());
    DeleteFileA(File("sounds.QPD").c_str());
    MessageBoxRecorder boxes;
    EXPECT_EQ(InstallDataFiles(), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.LastText().find("users.QPD' data file needed to run Quillnet+ is missing.\r\n"), std::string::npos)
        << boxes.LastText();
    EXPECT_NE(boxes.LastText().find("\r\n\r\n- Quillnet+ will now stop."), std::string::npos);
    EXPECT_TRUE(FileExists(File("sounds.QPD"))) << "a missing sounds table is taken from the upgrade folder";
    EXPECT_FALSE(UpgradeFolderGone());
}

TEST_F(DataFilesInstall, EachVersionTakesItsOwnPathAndKeepsOldCopies)
{
    struct Row {
        double version;
        bool keepsSendTables, keepsSettings;
    } rows[] = {{5.0, false, false}, {4.5, false, false}, {4.0, true, false}, {3.0, true, true}, {2.0, true, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.version);
        if (UpgradeFolderGone())
            SetUp();
        for (const char* old : {"senttoOld.QPD", "transactOld.QPD", "configOld.QPD", "configOld.QPS"})
            DeleteFileA(File(old).c_str());
        InstallTablesOfVersion(row.version);
        std::string sentToBefore = Read("sentto.QPD");
        EXPECT_EQ(InstallDataFiles(), 1);
        EXPECT_EQ(Version(), 500);
        EXPECT_TRUE(UpgradeFolderGone());
        EXPECT_EQ(FileExists(File("senttoOld.QPD")), row.keepsSendTables);
        EXPECT_EQ(FileExists(File("transactOld.QPD")), row.keepsSendTables);
        EXPECT_EQ(FileExists(File("configOld.QPD")), row.keepsSettings);
        EXPECT_EQ(FileExists(File("configOld.QPS")), row.keepsSettings);
        EXPECT_EQ(Read(row.keepsSendTables ? "senttoOld.QPD" : "sentto.QPD"), sentToBefore);
    }
}

TEST_F(DataFilesInstall, VersionFourSendTablesAreRebuiltInTheNewLayoutWithEveryUsersRows)
{
    InstallTablesOfVersion(4.0);
    // An old sent-to table without PLXREST: a long e-mail address over two
    // columns, a short one in C3, and rows of two users.
    const std::vector<FieldLayout> oldFields = {
        {"WUSERID", 'N', 5},   {"COMPUTERID", 'N', 10}, {"SZDESTINAT", 'C', 16}, {"C3", 'C', 100}, {"SZIPADDR", 'C', 15},
        {"C2", 'C', 15},       {"PORT", 'N', 5},        {"B1", 'L', 1},          {"C1", 'C', 14}};
    Write("sentto.QPD", BuildEmptyTable(oldFields, TableGroup::kSentTo));
    AppendBlankRecords("sentto.QPD", 3);
    {
        CDbfFile old;
        old.SetTable("sentto.QPD", true);
        old.Open("MAPPINGALL");
        const struct {
            long user, id;
            const char *destination, *c3, *date;
        } rows[] = {{1, 4, "PC-ONE", "", "20250102030405"},
                    {2, 9, "seventeen@mail.n", "t", "20240101000000"},
                    {1, 5, " ", "short@x.y", "20260101000000"}};
        for (DWORD r = 1; r <= 3; ++r) {
            old.SetLongValue(r, "WUSERID", rows[r - 1].user);
            old.SetLongValue(r, "COMPUTERID", rows[r - 1].id);
            old.SetStringValue(r, "SZDESTINAT", rows[r - 1].destination);
            old.SetStringValue(r, "C3", rows[r - 1].c3);
            old.SetStringValue(r, "SZIPADDR", "10.0.0.1");
            old.SetStringValue(r, "C1", rows[r - 1].date);
            old.SetStringValue(r, "B1", "T");
        }
    }
    ASSERT_EQ(InstallDataFiles(), 1);
    EXPECT_EQ(Version(), 500);
    EXPECT_EQ(SentToList().GetCount(), 0u) << "the lists are emptied again";
    {
        CDbfFile table;
        table.SetTable("sentto.QPD", true);
        table.Open("READ");
        ASSERT_TRUE(table.FieldExists("PLXREST"));
        ASSERT_EQ(table.GetRecordCount(), 3u);
    }
    // Oldest first, each with its own user and computer id.
    const struct {
        DWORD record;
        const char *field, *text;
    } expected[] = {{1, "WUSERID", "2"},   {1, "COMPUTERID", "9"},      {1, "SZDESTINAT", "seventeen@mail.n"},
                    {1, "C3", "t"},        {2, "SZDESTINAT", "PC-ONE"}, {2, "C1", "20250102030405"},
                    {3, "C3", "short@x.y"}, {3, "WUSERID", "1"}};
    for (const auto& e : expected)
        EXPECT_EQ(Field("sentto.QPD", e.record, e.field), e.text) << e.record << " " << e.field;
}
