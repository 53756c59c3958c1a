#include <string>

#include "store/DbfFile.h"
#include "store/DeleteAllRecords.h"
#include "support/InFolder.h"

namespace {
using DeleteAllRecordsTest = InFolder;

// The deleted records of the table, out of how many.
std::string DeletedOf(const char* name)
{
    CDbfFile table;
    table.SetTable(name, true);
    table.Open("READ");
    DWORD deleted = 0;
    for (DWORD record = 1; record <= table.GetRecordCount(); ++record)
        deleted += table.IsDeleted(record) ? 1 : 0;
    table.GoTop();
    return std::to_string(deleted) + " of " + std::to_string(table.GetRecordCount()) +
           (table.IsEOF() ? ", none live" : "");
}
}

TEST_F(DeleteAllRecordsTest, EveryRecordIsMarkedAndTheFileKeepsItsSize)
{
    CopyTemplate("config.QPD");
    std::string before = Read("config.QPD");
    ASSERT_EQ(DeletedOf("config.QPD"), "0 of 16");
    DeleteAllRecords("config.QPD");
    EXPECT_EQ(DeletedOf("config.QPD"), "16 of 16, none live");
    EXPECT_EQ(Read("config.QPD").size(), before.size());

    CopyTemplate("transact.QPD");
    DeleteAllRecords("transact.QPD");
    EXPECT_EQ(DeletedOf("transact.QPD"), "0 of 0, none live");
    EXPECT_THROW(DeleteAllRecords("notes.QPD"), CGenericException);
}
