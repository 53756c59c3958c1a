#include <string>

#include "store/DbfFile.h"
#include "store/DeleteAllRecords.h"
#include "support/InFolder.h"

namespace {
using DeleteAllRecordsTest = InFolder;

DWORD CountDeleted(const char* name, DWORD* records)
{
    CDbfFile table;
    table.SetTable(name, true);
    table.Open("READ");
    *records = table.GetRecordCount();
    DWORD deleted = 0;
    for (DWORD record = 1; record <= *records; ++record)
        deleted += table.IsDeleted(record) ? 1 : 0;
    table.Close();
    return deleted;
}
}

TEST_F(DeleteAllRecordsTest, EveryRecordIsMarkedAndTheFileKeepsItsSize)
{
    CopyTemplate("config.QPD");
    std::string before = Read("config.QPD");
    DWORD records = 0;
    ASSERT_EQ(CountDeleted("config.QPD", &records), 0u);
    ASSERT_EQ(records, 16u);

    DeleteAllRecords("config.QPD");
    EXPECT_EQ(CountDeleted("config.QPD", &records), 16u);
    EXPECT_EQ(records, 16u);
    EXPECT_EQ(Read("config.QPD").size(), before.size());
    CDbfFile table;
    table.SetTable("config.QPD", true);
    table.Open("READ");
    EXPECT_TRUE(table.IsEOF());
}

TEST_F(DeleteAllRecordsTest, EmptyAndMissingTables)
{
    CopyTemplate("transact.QPD");
    DeleteAllRecords("transact.QPD");
    AppendBlankRecords("transact.QPD", 3);
    DWORD records = 0;
    EXPECT_EQ(CountDeleted("transact.QPD", &records), 0u);
    DeleteAllRecords("transact.QPD");
    EXPECT_EQ(CountDeleted("transact.QPD", &records), 3u);
    EXPECT_THROW(DeleteAllRecords("notes.QPD"), CGenericException);
}
