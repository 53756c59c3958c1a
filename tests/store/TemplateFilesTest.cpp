// The data files the build writes for a new installation, and the notes
// templates inside the program's resources.
#include <string>
#include <vector>

#include "support/InFolder.h"
#include "foundation/ResourceData.h"
#include "store/DbfFile.h"
#include "store/bytes/MemoFile.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"

namespace {
const char* const kTables[] = {"config.QPD", "users.QPD", "notes.QPD", "sentto.QPD", "transact.QPD", "sounds.QPD"};

class TemplateFiles : public InFolder {
protected:
    std::string Template(const char* folder, const char* name) const
    {
        return ProgramFolder() + "\\" + folder + "\\" + name;
    }
    void ExpectFields(CDbfFile& table, const std::vector<const char*>& names)
    {
        for (const char* name : names)
            EXPECT_TRUE(table.FieldExists(name)) << table.GetTableName() << " lacks " << name;
    }
};

std::string Trimmed(CDbfFile& table, const char* field)
{
    std::string text = table.GetStringValue(field).GetString();
    return text.substr(0, text.find_last_not_of(' ') + 1);
}
}

TEST_F(TemplateFiles, BothSetsHoldTheSameNineFiles)
{
    for (const char* name : {"config.QPD", "config.QPS", "users.QPD", "notes.QPD", "notes.QPS", "sentto.QPD",
                             "transact.QPD", "sounds.QPD", "webSearch.QPD"}) {
        std::string upgrade = ReadWholeFile(Template("UPGRADE", name));
        EXPECT_FALSE(upgrade.empty()) << name;
        EXPECT_EQ(upgrade, ReadWholeFile(Template("QlData", name))) << name;
    }
    // The web-search file is in the program's own XML dialect.
    std::string xml = ReadWholeFile(Template("QlData", "webSearch.QPD"));
    CXMLBufferDocument document;
    document.SetBuffer(xml.data(), static_cast<int32_t>(xml.size()), "webSearch.QPD");
    EXPECT_EQ(document.Parse(), 1) << document.GetErrorText();
    EXPECT_NE(xml.find("<currencyPairArgument>"), std::string::npos);
    EXPECT_NE(xml.find("<languagePairArgument>"), std::string::npos);
}

TEST_F(TemplateFiles, EveryTableOpensAndOnlyTheSettingsHoldRecords)
{
    for (const char* name : kTables) {
        CopyFileA(Template("QlData", name).c_str(), name, FALSE);
        CDbfFile table;
        table.SetTable(name, true);
        table.Open("READ");
        EXPECT_EQ(table.GetRecordCount(), std::string(name) == "config.QPD" ? 16u : 0u) << name;
    }
    EXPECT_EQ(ReadWholeFile(Template("QlData", "notes.QPS")),
              std::string(reinterpret_cast<const char*>(BuildEmptyMemoFile().data()), 512));
}

TEST_F(TemplateFiles, TheTablesHoldTheFieldsTheProgramReads)
{
    for (const char* name : kTables)
        CopyFileA(Template("UPGRADE", name).c_str(), name, FALSE);
    CDbfFile notes, users, sentTo, transact, sounds;
    notes.SetTable("notes.QPD", true);
    notes.Open("READ");
    ExpectFields(notes, {"WUSERID", "BSTAYONTOP", "BHASBORDER", "BMINIMIZED", "BROLLUP", "WLEFT", "WTOP", "WWIDTH",
                         "WHEIGHT", "TIFOBLUE", "TEXT", "RECEIVEDFR", "CREATEDBY", "LASTSENDTO", "BYDAY", "WSECOND",
                         "BYADAY", "WASECOND", "BALARMSET", "BDEJAALARM", "BSHOWDATE", "SZTITLE", "W1", "LFPITCHAND",
                         "LFFACENAME", "LFFACENATI", "BYDELAYTYP", "BYRETRYTYP", "ISENTALLOK", "BRECEIVED1", "BYSDAY",
                         "BYSMONTH", "WSHOUR", "WSMINUTE", "WSSECOND", "WSYEAR"});
    users.SetTable("users.QPD", true);
    users.Open("READ");
    ExpectFields(users, {"WUSERID", "SZUSERNAME", "SZCOMPUTER", "ISHOWLKEY", "BYDELAY", "WLISTENPOR", "SZINITTEXT",
                         "BDISPSCROL", "SZ1", "SZSOUND", "ITRANSID", "BYIPPART4", "WNOHEIGHT", "BYRETRYTYP"});
    EXPECT_EQ(users.GetFieldInfo("SZUSERNAME").width, 25);
    EXPECT_EQ(users.GetFieldInfo("SZSOUND").width, 100);
    sentTo.SetTable("sentto.QPD", true);
    sentTo.Open("READ");
    ExpectFields(sentTo, {"WUSERID", "COMPUTERID", "SZDESTINAT", "PLXREST", "C3", "SZIPADDR", "C2", "PORT", "B1", "C1"});
    EXPECT_EQ(sentTo.GetFieldInfo("SZDESTINAT").width, 16);
    EXPECT_EQ(sentTo.GetFieldInfo("C1").width, 14);
    transact.SetTable("transact.QPD", true);
    transact.Open("READ");
    ExpectFields(transact, {"WNOTEID", "ITRANSID", "C4", "BSTATUS", "WSYEAR", "BRETRY", "PORT"});
    sounds.SetTable("sounds.QPD", true);
    sounds.Open("READ");
    ExpectFields(sounds, {"WUSERID", "WID", "WTYPE", "WREPLAY", "BENABLED", "SZPATH"});
}

TEST_F(TemplateFiles, TheSettingsRowsAreThoseANewInstallationNeeds)
{
    CopyFileA(Template("QlData", "config.QPD").c_str(), "config.QPD", FALSE);
    CopyFileA(Template("QlData", "config.QPS").c_str(), "config.QPS", FALSE);
    CDbfFile config;
    config.SetTable("config.QPD", true);
    config.Open("READ");
    config.GoTo(1);
    EXPECT_EQ(static_cast<int>(config.GetDoubleValue("VERSION") * 100), 500);
    EXPECT_EQ(config.GetLongValue("WLISTENPOR"), 28081);
    EXPECT_EQ(config.GetLongValue("WSENDPORT"), 28082);
    EXPECT_EQ(config.GetLongValue("ISMTPPORT"), 25);
    EXPECT_EQ(config.GetLongValue("DISPLRETRY"), 2);
    EXPECT_EQ(Trimmed(config, "LFFACENAME"), "Tahoma");
    EXPECT_EQ(config.GetLongValue("INEWKEY"), 'N');
    EXPECT_TRUE(config.GetLogicalValue("BNEWALT"));

    config.GoTo(2);
    EXPECT_EQ(config.GetLongValue("INEWKEY"), 7);
    EXPECT_TRUE(config.GetLogicalValue("BSHOWLSHIF"));
    EXPECT_EQ(config.GetLongValue("WINITDIV"), 1);
    config.GoTo(4);
    EXPECT_EQ(Trimmed(config, "SZSOUND"), "");

    config.GoTo(5);
    EXPECT_EQ(Trimmed(config, "CONFIG"), "IN");
    EXPECT_EQ(Trimmed(config, "SZTITLE"), "Welcome to Quillnet+");
    DWORD block = static_cast<DWORD>(config.GetLongValue("TEXT"));
    config.Close();
    char text[1024];
    config.ReadMemoField(text, sizeof text, block);
    EXPECT_EQ(std::string(text).rfind("{\\rtf1", 0), 0u);

    // Style rows are found from the eighth row on: nine of them, none defined yet.
    config.Open("READ");
    int styles = 0;
    for (config.GoTo(8); !config.IsEOF(); config.Skip(1)) {
        EXPECT_EQ(Trimmed(config, "CONFIG"), "TE");
        EXPECT_EQ(config.GetLongValue("WLANGUAGE"), 0);
        ++styles;
    }
    EXPECT_EQ(styles, 9);
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
