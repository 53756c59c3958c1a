// Tables of a version without VERSION carried into the present ones.
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "StoreFolder.h"
#include "foundation/bytes/NoteColors.h"
#include "store/DataFilesInstall.h"
#include "store/DbfFile.h"
#include "store/FreeSlotLists.h"
#include "store/bytes/MemoFile.h"
#include "store/bytes/TableStructure.h"
#include "support/HeldFile.h"
#include "support/StoredNotes.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
std::vector<FieldLayout> With(std::vector<FieldLayout> fields, const std::vector<FieldLayout>& more)
{
    fields.insert(fields.end(), more.begin(), more.end());
    return fields;
}

// The colours and the one font of the old users and notes tables.
const std::vector<FieldLayout> kColoursAndFont = {
    {"BYBKRED", 'N', 3},    {"BYBKGREEN", 'N', 3},  {"BYBKBLUE", 'N', 3},   {"BYFORED", 'N', 3},
    {"BYFOGREEN", 'N', 3},  {"BYFOBLUE", 'N', 3},   {"LFHEIGHT", 'N', 5},   {"LFWIDTH", 'N', 5},
    {"LFESCAPEME", 'N', 5}, {"LFORIENTAT", 'N', 5}, {"LFWEIGHT", 'N', 5},   {"LFITALIC", 'N', 3},
    {"LFUNDERLIN", 'N', 3}, {"LFSTRIKEOU", 'N', 3}, {"LFCHARSET", 'N', 3},  {"LFOUTPRECI", 'N', 3},
    {"LFCLIPPREC", 'N', 3}, {"LFQUALITY", 'N', 3},  {"LFPITCHAND", 'N', 3}, {"LFFACENAME", 'C', 31}};

std::vector<FieldLayout> OldUsersLayout()
{
    return With(With({{"SZUSERNAME", 'C', 25}, {"SZCOMPUTER", 'C', 25}, {"SZTITLE", 'C', 40}}, kColoursAndFont),
                {{"BSTAYONTOP", 'L', 1}, {"BHASBORDER", 'L', 1}, {"BSHOWDATE", 'L', 1}, {"WSAVEINT", 'N', 5},
                 {"WLANGUAGE", 'N', 5}, {"BYNUMERAT", 'N', 3}, {"BYDENOMIN", 'N', 3}});
}

// Its titles are wider than the notes of that version kept: a longer one is cut.
std::vector<FieldLayout> OldNotesLayout()
{
    return With(With({{"WUSERID", 'N', 5}, {"SZTITLE", 'C', 40}, {"TEXT", 'N', 10}}, kColoursAndFont),
                {{"BSTAYONTOP", 'L', 1}, {"BHASBORDER", 'L', 1}, {"BMINIMIZED", 'L', 1}, {"BSHOWDATE", 'L', 1},
                 {"WLEFT", 'N', 5},      {"WTOP", 'N', 5},       {"WWIDTH", 'N', 5},     {"WHEIGHT", 'N', 5},
                 {"BYDAY", 'N', 3},      {"BYMONTH", 'N', 3},    {"WYEAR", 'N', 5},      {"WHOUR", 'N', 5},
                 {"WMINUTE", 'N', 5},    {"WSECOND", 'N', 5},    {"BSENT", 'L', 1},      {"BRECEIVED", 'L', 1},
                 {"BSENT1", 'L', 1},     {"BRECEIVED1", 'L', 1}});
}

class OldTablesImport : public StoreFolder {
protected:
    void SetUp() override
    {
        CopyUpgradeFolder();
        lstrcpyA(GetStartupValues().userName, "logged-on");
        lstrcpyA(GetStartupValues().computerName, "THIS-PC");
        for (const char* name : {"sentto.QPD", "transact.QPD", "sounds.QPD", "webSearch.QPD"})
            CopyTemplate(name);
        NotesFreeSlots().Clear();
        SetDisplayColorCount(1u << 24);
    }
    void TearDown() override { SetDisplayColorCount(0); }

    // Settings, users and notes tables of a version without VERSION: two
    // users, three notes.
    void WriteOldTables()
    {
        // The new users table ships with one record, so old users 1 and 2 become 2 and 3.
        AppendBlankRecords((m_folder.Path() + "\\UPGRADE\\users.QPD").c_str(), 1);
        std::vector<FieldLayout> oldConfig = {{"CONFIG", 'C', 2}, {"WSAVEINT", 'N', 5}};
        Write("config.QPD", BuildEmptyTable(oldConfig, TableGroup::kConfig));
        AppendBlankRecords("config.QPD", 1);
        Write("config.QPS", BuildEmptyMemoFile());
        Write("users.QPD", BuildEmptyTable(OldUsersLayout(), TableGroup::kUsers));
        AppendBlankRecords("users.QPD", 2);
        {
            CDbfFile users;
            users.SetTable("users.QPD", true);
            users.Open("MAPPINGALL");
            for (DWORD r = 1; r <= 2; ++r) {
                users.SetStringValue(r, "SZUSERNAME", r == 1 ? "alice" : "bob");
                users.SetStringValue(r, "SZCOMPUTER", r == 1 ? "PC-A" : "PC-B");
                users.SetLongValue(r, "BYNUMERAT", r == 1 ? 16 : 20);
                users.SetLongValue(r, "BYDENOMIN", 12);
                users.SetLongValue(r, "BYBKRED", 200);
                users.SetStringValue(r, "BSTAYONTOP", "T");
                users.SetStringValue(r, "LFFACENAME", "Courier");
            }
        }
        Write("notes.QPD", BuildEmptyTable(OldNotesLayout(), TableGroup::kNotes));
        Write("notes.QPS", BuildEmptyMemoFile());
        AppendBlankRecords("notes.QPD", 3);
        {
            CDbfFile notes;
            notes.SetTable("notes.QPD", true);
            notes.Open("MAPPINGALL");
            const long owners[3] = {1, 2, 1};
            const char* const texts[3] = {"{\\rtf1 alice's note}", "", "{\\rtf1 another of alice}"};
            for (DWORD r = 1; r <= 3; ++r) {
                notes.SetLongValue(r, "WUSERID", owners[r - 1]);
                notes.SetStringValue(r, "SZTITLE", r == 3 ? "An old title longer than twenty-five" : "old");
                notes.SetLongValue(r, "WLEFT", 10 * r);
                notes.SetLongValue(r, "WHEIGHT", 90);
                notes.SetLongValue(r, "BYBKRED", 255);
                notes.SetLongValue(r, "BYBKGREEN", 255);
                notes.SetLongValue(r, "BYBKBLUE", 159);
                notes.SetStringValue(r, "BSTAYONTOP", r == 3 ? "T" : "F");
                notes.SetLongValue(r, "BYDAY", 5);
                notes.SetLongValue(r, "BYMONTH", 3);
                notes.SetLongValue(r, "WYEAR", 2004);
                DWORD block = notes.SaveTextInMemoFile(texts[r - 1], lstrlenA(texts[r - 1]));
                notes.SetLongValue(r, "TEXT", static_cast<long>(block));
            }
        }
    }

    // What the import made of them.
    void ExpectImported(const std::string& oldUsers, const std::string& oldNotes)
    {
        EXPECT_EQ(Read("usersOld.QPD"), oldUsers);
        EXPECT_EQ(Read("notesOld.QPD"), oldNotes);
        EXPECT_TRUE(FileExists(File("configOld.QPD")));
        EXPECT_FALSE(FileExists(File("UPGRADE")));
        EXPECT_STREQ(GetStartupValues().userName, "logged-on");
        EXPECT_STREQ(GetStartupValues().computerName, "THIS-PC");

        ASSERT_EQ(CountTableRecords("users.QPD"), 3u);
        const struct {
            DWORD record;
            const char *field, *text;
        } users[] = {{2, "WUSERID", "2"},   {2, "SZUSERNAME", "alice"}, {2, "SZCOMPUTER", "PC-A"}, {2, "WNOWIDTH", "160"},
                     {2, "WNOHEIGHT", "120"}, {2, "BYBKRED", "200"},    {2, "BSTAYONTOP", "T"},    {2, "LFFACENAME", "Courier"},
                     {3, "WUSERID", "3"},   {3, "SZUSERNAME", "bob"},   {3, "WNOWIDTH", "200"}};
        for (const auto& u : users)
            EXPECT_EQ(Field("users.QPD", u.record, u.field), u.text) << u.record << " " << u.field;
        EXPECT_EQ(std::lround(std::stod(Field("config.QPD", 1, "VERSION")) * 100), 500);

        StoredNoteList notes = LoadEveryNote(m_folder.Path());
        ASSERT_EQ(notes.size(), 3u) << "only the imported records were appended";
        EXPECT_EQ(notes[0]->m_userId, 2u);
        EXPECT_EQ(notes[1]->m_userId, 3u);
        EXPECT_EQ(notes[2]->m_userId, 2u);
        EXPECT_EQ(notes[0]->RichText(), "{\\rtf1 alice's note}");
        EXPECT_EQ(notes[1]->RichText(), "") << "a note without text is imported with TEXT 0";
        EXPECT_EQ(notes[2]->RichText(), "{\\rtf1 another of alice}");
        const CNoteController& third = *notes[2];
        EXPECT_STREQ(third.m_title, "An old title longer than");
        EXPECT_EQ(third.m_left, 30);
        EXPECT_EQ(third.m_height, 90);
        EXPECT_TRUE(third.m_stayOnTop);
        EXPECT_FALSE(notes[0]->m_stayOnTop);
        EXPECT_EQ(third.m_bodyColor, 0x9FFFFFu);
        EXPECT_EQ(third.m_titleColor, 0x6FFFFFu) << "the old notes had no title colour: a stronger body colour";
        EXPECT_TRUE(third.m_created == CDateTime(5, 3, 2004));
        EXPECT_STREQ(third.m_titleFont.lfFaceName, "Times New Roman");
        EXPECT_EQ(third.m_titleFont.lfWeight, 700);
    }
};
}

TEST_F(OldTablesImport, UsersFollowTheShippedOnesAndNotesFollowTheirUsers)
{
    WriteOldTables();
    std::string oldUsers = Read("users.QPD");
    std::string oldNotes = Read("notes.QPD");

    MessageBoxRecorder boxes;
    ASSERT_EQ(InstallDataFiles(), 1);
    ExpectImported(oldUsers, oldNotes);
}

TEST_F(OldTablesImport, AnImportStoppedByAFileItCannotCopyKeepsTheUpgradeAndIsRunAgainAtTheNextStart)
{
    // Another program holds a file of the upgrade folder: before the notes
    // are imported, or after, once the users and notes tables are replaced.
    for (const char* held : {"notes.qps", "sentto.QPD"}) {
        SCOPED_TRACE(held);
        if (!FileExists(File("UPGRADE")))
            CopyUpgradeFolder();
        WriteOldTables();
        std::string oldUsers = Read("users.QPD");
        std::string oldNotes = Read("notes.QPD");
        const std::string heldPath = File(std::string("UPGRADE\\") + held);
        HeldFile holder(heldPath, kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());
        {
            MessageBoxRecorder boxes;
            EXPECT_EQ(InstallDataFiles(), 0);
            ASSERT_EQ(boxes.Count(), 1u);
            EXPECT_NE(boxes.LastText().find(std::string("'UPGRADE\\") + held + "' could not be copied"),
                      std::string::npos)
                << boxes.LastText();
            EXPECT_NE(boxes.LastText().find("The 'UPGRADE' folder is kept"), std::string::npos);
        }
        holder.Release();
        EXPECT_TRUE(FileExists(heldPath));
        EXPECT_NE(std::lround(std::stod(Field("config.QPD", 1, "VERSION")) * 100), 500)
            << "the current version only once the import is whole";

        // The next start imports every user and note once.
        MessageBoxRecorder boxes;
        ASSERT_EQ(InstallDataFiles(), 1);
        EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
        ExpectImported(oldUsers, oldNotes);
    }
}
