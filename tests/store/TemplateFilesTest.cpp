// The data files the build writes for a new installation, and the notes
// templates inside the program's resources.
#include <string>
#include <vector>

#include "foundation/ResourceData.h"
#include "store/DbfFile.h"
#include "store/bytes/MemoFile.h"
#include "support/InFolder.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"

namespace {
class TemplateFiles : public InFolder {
protected:
    std::string Template(const char* folder, const char* name) const
    {
        return ProgramFolder() + "\\" + folder + "\\" + name;
    }
};
}

TEST_F(TemplateFiles, BothSetsHoldTheSameNineFilesAndEveryTableOpens)
{
    for (const char* name : {"config.QPD", "config.QPS", "users.QPD", "notes.QPD", "notes.QPS", "sentto.QPD",
                             "transact.QPD", "sounds.QPD", "webSearch.QPD"}) {
        std::string upgrade = ReadWholeFile(Template("UPGRADE", name));
        EXPECT_FALSE(upgrade.empty()) << name;
        EXPECT_EQ(upgrade, ReadWholeFile(Template("QlData", name))) << name;
    }
    for (const char* name : {"config.QPD", "users.QPD", "notes.QPD", "sentto.QPD", "transact.QPD", "sounds.QPD"}) {
        CopyTemplate(name);
        CDbfFile table;
        table.SetTable(name, true);
        table.Open("READ");
        EXPECT_EQ(table.GetRecordCount(), std::string(name) == "config.QPD" ? 16u : 0u) << name;
    }
    EXPECT_EQ(ReadWholeFile(Template("QlData", "notes.QPS")),
              std::string(reinterpret_cast<const char*>(BuildEmptyMemoFile().data()), 512));

    // The web-search file is in the program's own XML dialect.
    std::string xml = ReadWholeFile(Template("QlData", "webSearch.QPD"));
    CXMLBufferDocument document;
    document.SetBuffer(xml.data(), static_cast<int32_t>(xml.size()), "webSearch.QPD");
    EXPECT_EQ(document.Parse(), 1) << document.GetErrorText();
}

TEST_F(TemplateFiles, TheResourcesHoldTheEmptyNotesTableAndMemoFile)
{
    CResourceData table(729, "QPD");
    CResourceData memo(729, "QPS");
    ASSERT_TRUE(table.CopyResourceToFile("notes.QPD"));
    ASSERT_TRUE(memo.CopyResourceToFile("notes.qps"));
    EXPECT_EQ(Read("notes.QPD"), ReadWholeFile(Template("QlData", "notes.QPD")));
    EXPECT_EQ(Read("notes.qps"), ReadWholeFile(Template("QlData", "notes.QPS")));

    CDbfFile notes;
    notes.SetTable("notes.QPD", true);
    notes.Open("MAPPINGAPPEND");
    notes.SetLongValue(1, "WUSERID", 1);
    notes.Close();
    EXPECT_EQ(notes.SaveTextInMemoFile("restored", 8), 8u);
}
