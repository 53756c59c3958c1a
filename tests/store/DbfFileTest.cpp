#include <string>
#include <type_traits>

#include "bytes/MemoryTable.h"
#include "store/DbfFile.h"
#include "support/InFolder.h"

// Every byte of a table passes the cipher and the size rule: no caller can reach
// the table's file and write past them.
static_assert(!std::is_convertible<CDbfFile*, CGenericFile*>::value, "a table keeps its file to itself");

namespace {
const DWORD kHeaderLength = 33 + 32 * 9;
const DWORD kRecordLength = 80;

class DbfFile : public InFolder {
protected:
    void WriteNotes(std::uint32_t records) { Write("notes.QPD", SampleTableBytes(records)); }
};
}

TEST_F(DbfFile, AppendingFollowsTheSizeRuleOnDisk)
{
    WriteNotes(0);
    CDbfFile table;
    table.SetTable("notes.QPD", true);
    table.Open("MAPPINGAPPEND");
    EXPECT_EQ(table.GetRecno(), 1u);
    table.SetStringValue(1, "SZTITLE", "first");
    table.Close();
    std::string bytes = Read("notes.QPD");
    EXPECT_EQ(bytes.size(), kHeaderLength + kRecordLength + 1);
    EXPECT_EQ(bytes.back(), '\x1A');

    AppendBlankRecords("notes.QPD", 2);
    EXPECT_EQ(Read("notes.QPD").size(), kHeaderLength + 3 * kRecordLength + 1);
    EXPECT_EQ(CountTableRecords("notes.QPD"), 3u);

    table.Open("READ");
    EXPECT_EQ(table.GetStringValue("SZTITLE").GetString(), "first" + std::string(35, ' '));
}

TEST_F(DbfFile, AFileOneByteOffIsRefusedLoggedAndLeftAloneAndAReadingOpenRefusesWrites)
{
    std::vector<unsigned char> bytes = SampleTableBytes(2);
    bytes.push_back(0x1A);
    Write("notes.QPD", bytes);
    CDbfFile table;
    table.SetTable("notes.QPD", true);
    EXPECT_EQ(ErrorOf([&] { table.Open("MAPPINGALL"); }), "ReadStructure error");
    EXPECT_FALSE(table.IsOpen());
    EXPECT_EQ(Read("notes.QPD"), std::string(bytes.begin(), bytes.end()));
    EXPECT_NE(Read("error.txt").find("CDbfFile::Open(): ReadStructure error\r\n"), std::string::npos);
    // An empty file has nothing to map: it is refused by its missing header.
    Write("notes.QPD", std::vector<unsigned char>());
    EXPECT_EQ(ErrorOf([&] { table.Open("MAPPINGALL"); }), "Error reading header notes.QPD");
    EXPECT_FALSE(table.IsOpen());
    EXPECT_EQ(Read("notes.QPD"), "");
    WriteNotes(2);
    std::string before = Read("notes.QPD");
    table.Open("READ"); // the object can be opened again
    EXPECT_EQ(table.GetRecordCount(), 2u);
    EXPECT_NE(ErrorOf([&] { table.SetLongValue(1, "WUSERID", 5); }), "");
    EXPECT_NE(ErrorOf([&] { table.DeleteRecord(1); }), "");
    table.Close();
    EXPECT_EQ(Read("notes.QPD"), before);
}

TEST_F(DbfFile, OnlyTablesOfTheProgramCanBeBound)
{
    CDbfFile table;
    EXPECT_EQ(ErrorOf([&] { table.SetTable("other.QPD", true); }), "CDbfFile::Unknown file name to open ...");
    EXPECT_EQ(ErrorOf([&] { table.Open("READ"); }), "CDbfFile::Unknown file name to open ...");
    table.SetTable("sentto.QPD", true);
    EXPECT_EQ(ErrorOf([&] { table.Open("READ"); }).rfind("OpenExclusive failed - sentto.QPD -", 0), 0u);
}

TEST_F(DbfFile, ASecondOpenOfTheSameTableFailsAndBothStayUsable)
{
    WriteNotes(3);
    CDbfFile first, second;
    first.SetTable("notes.QPD", true);
    second.SetTable("NOTES.qpd", true);
    first.Open("MAPPINGALL");
    std::string error = ErrorOf([&] { second.Open("READ"); });
    EXPECT_EQ(error.rfind("OpenExclusive failed - NOTES.qpd -", 0), 0u) << error;
    first.GoTo(2);
    first.SetLongValue(2, "WUSERID", 20);
    first.Close();
    second.Open("READ");
    second.GoTo(2);
    EXPECT_EQ(second.GetLongValue("WUSERID"), 20);
}

TEST_F(DbfFile, AValueWrittenThroughTheMappingReadsBackThroughTheFile)
{
    WriteNotes(25);
    CDbfFile table;
    table.SetTable("notes.QPD", true);
    table.Open("MAPPINGALL");
    table.GoTo(22);
    table.SetStringValue(22, "SZTITLE", "through the view");
    table.SetLongValue(22, "WLEFT", -2748);
    table.DeleteRecord(21);
    table.GoTo(1); // reads record 22 again through the file handle below
    table.GoTo(22);
    EXPECT_EQ(std::string(table.GetStringValue("SZTITLE").GetString()).substr(0, 16), "through the view");
    EXPECT_EQ(table.GetLongValue("WLEFT"), -2748);
    table.GoTo(20);
    table.Skip(1);
    EXPECT_EQ(table.GetRecno(), 22u);
    EXPECT_TRUE(table.IsDeleted(21));
    table.BuildDeletedList();
    EXPECT_EQ(table.GetFirstDeletedRecord(), 21u);
}
