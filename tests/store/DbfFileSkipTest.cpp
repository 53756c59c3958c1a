// Moving over the records of a table file on disk, across deleted records and
// off both ends.
#include <vector>

#include "bytes/MemoryTable.h"
#include "store/DbfFile.h"
#include "support/InFolder.h"

namespace {
class DbfFileSkip : public InFolder {};

std::vector<int> Walk(CDbfFile& table, int step)
{
    std::vector<int> ids;
    for (int i = 0; i < 20; ++i) {
        table.Skip(step);
        if (step > 0 ? table.IsEOF() : table.IsBOF())
            break;
        ids.push_back(static_cast<int>(table.GetLongValue("WUSERID")));
    }
    return ids;
}
}

TEST_F(DbfFileSkip, BackAndForthAcrossDeletedRecordsAndPastBothEnds)
{
    Write("notes.QPD", SampleTableBytes(7));
    CDbfFile table;
    table.SetTable("notes.QPD", true);
    table.Open("MAPPINGALL");
    for (std::uint32_t n : {1u, 3u, 7u})
        table.DeleteRecord(n);
    table.Close();

    table.Open("READ");
    EXPECT_EQ(table.GetLongValue("WUSERID"), 2);
    EXPECT_EQ(Walk(table, 1), (std::vector<int>{4, 5, 6}));
    EXPECT_TRUE(table.IsEOF());
    EXPECT_EQ(Walk(table, -1), (std::vector<int>{6, 5, 4, 2}));
    EXPECT_TRUE(table.IsBOF());
    EXPECT_EQ(Walk(table, 2), (std::vector<int>{4, 6}));
    table.Skip(-3);
    EXPECT_EQ(table.GetLongValue("WUSERID"), 4);
    table.GoTo(7);
    table.Skip(-2);
    EXPECT_EQ(table.GetLongValue("WUSERID"), 5);
}
