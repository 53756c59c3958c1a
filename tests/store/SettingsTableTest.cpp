// The settings table read into the settings objects and written back, on the
// table a new installation ships.
#include <algorithm>
#include <string>

#include "StoreFolder.h"
#include "foundation/BackupFolder.h"
#include "foundation/DataFolder.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/NoteColors.h"
#include "foundation/win/BackgroundPainting.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteController.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "store/SettingsTable.h"
#include "store/UsersTable.h"
#include "store/StyleStorage.h"
#include "store/bytes/TableGroups.h"
#include "support/ShortenedTable.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
class SettingsTable : public StoreFolder {
protected:
    void SetUp() override
    {
        SetDisplayColorCount(1u << 24);
        CopyTemplate("config.QPD");
        CopyTemplate("config.QPS");
        ConfigSettings() = CConfigSettings();
        UserSettings() = CUserSettings();
        SetCurrentBackupFolder("");
    }
    void TearDown() override { SetDisplayColorCount(0); }

    static std::string ConfigField(DWORD record, const char* field) { return Field("config.QPD", record, field); }
    static void SetConfigField(DWORD record, const char* field, const std::string& text)
    {
        SetField("config.QPD", record, field, text);
    }

    MessageBoxRecorder m_boxes;
};
}

TEST_F(SettingsTable, TheShippedTableLoadsThePrograms)
{
    LoadSettings();
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();
    const CConfigSettings& config = ConfigSettings();
    const CUserSettings& user = UserSettings();

    // Named colours become their tints: pale bodies and texts, strong titles.
    EXPECT_EQ(config.note.noteColor, 0x9FFFFFu);
    EXPECT_EQ(config.note.titleColor, 0x6FFFFFu);
    EXPECT_EQ(config.note.textColor, 0u);
    EXPECT_EQ(config.note.showDate, 1u);
    EXPECT_EQ(config.note.hasBorder, 1u);
    EXPECT_EQ(std::string(config.note.bodyFont.lfFaceName), "Tahoma");
    EXPECT_EQ(config.note.titleFont.lfWeight, 700);
    EXPECT_EQ(config.note.newNoteWidth, 163);
    EXPECT_EQ(user.listenPort, 28081);
    EXPECT_EQ(user.sendPort, 28082);
    EXPECT_EQ(config.menuStyle, 2u);
    EXPECT_EQ(config.smtpPort, 25);
    EXPECT_EQ(config.optionsInitDiv, 1);
    EXPECT_EQ(config.newNote.key, static_cast<DWORD>('N'));
    EXPECT_EQ(config.showDesktop.key, static_cast<DWORD>('D'));
    EXPECT_EQ(config.favourites.key, static_cast<DWORD>(VK_F6)) << "a hotkey the table does not hold";
    EXPECT_TRUE(config.favourites.ctrl && config.favourites.shift && !config.favourites.alt);

    // The standard sounds lie in the program folder.
    const char* const files[4] = {"alarm.wav", "incoming.wav", "startchat.wav", "chatline.wav"};
    for (int kind = 1; kind <= 4; ++kind) {
        const CSoundSlot& slot = config.sounds[kind - 1];
        EXPECT_EQ(slot.id, kind);
        EXPECT_EQ(std::string(slot.path), ProgramFilePath(files[kind - 1])) << kind;
        EXPECT_EQ(slot.type, kSoundStandardFile) << kind;
        EXPECT_EQ(slot.enabled, 1u);
    }

    // The backup row is empty: the data folder's BACKUP, made and writable.
    EXPECT_EQ(std::string(GetCurrentBackupFolder()), File("BACKUP"));
    EXPECT_EQ(std::string(config.backupFolder), File("BACKUP"));
    EXPECT_TRUE(FileExists(File("BACKUP")));
    EXPECT_FALSE(FileExists(File("BACKUP\\kjl.txt")));

    // The standard styles wait for the user, whose defaults they take.
    EXPECT_EQ(config.styles[0].undefined, 1u);
    CopyTemplate("users.QPD");
    CreatedNotes notes;
    IdentifyUser(notes);
    for (CNoteController* note : notes)
        delete note;
    EXPECT_EQ(config.styles[0].backgroundColor, 0x9F9FFFu);
    EXPECT_EQ(std::string(config.styles[0].bodyFont.lfFaceName), "Tahoma");
    EXPECT_EQ(config.styles[0].undefined, 0u);
}

TEST_F(SettingsTable, MailTextsSplitAcrossRowsAndJoinAgain)
{
    struct Case {
        std::string server;
        std::string address;
        std::string row1Server;
        std::string row3Server;
        std::string row1Address;
        std::string row2Address;
    };
    const std::string address45 = std::string(23, 'n') + "@mail.example-host.org";
    const std::string server60(60, 's');
    const Case cases[] = {
        {"smtp.example.org", "me@example.org", "smtp.example.org", "", "me@example.org", ""},
        // A server name of exactly 30 characters leaves a blank in row 3.
        {"smtp.thirty-characters.exampl", "a@b.c", "smtp.thirty-characters.exampl", "", "a@b.c", ""},
        {server60, address45, server60.substr(0, 30), server60.substr(30), address45.substr(0, 30),
         address45.substr(30)},
    };
    ASSERT_EQ(address45.size(), 45u);
    for (const Case& c : cases) {
        LoadSettings();
        CConfigSettings& config = ConfigSettings();
        std::snprintf(config.smtpServer, sizeof config.smtpServer, "%s", c.server.c_str());
        std::snprintf(config.senderAddress, sizeof config.senderAddress, "%s", c.address.c_str());
        std::snprintf(config.smtpAccount, sizeof config.smtpAccount, "account");
        std::snprintf(config.smtpPassword, sizeof config.smtpPassword, "secret");
        std::snprintf(config.relayServer, sizeof config.relayServer, "relay.example.org");
        std::snprintf(config.relayPort, sizeof config.relayPort, "8080");
        config.smtpAuthentication = 1;
        config.smtpPort = 587;
        config.htmlMail = 1;
        config.w2 = 5;
        config.menuStyle = 1;
        SaveMailSettings();

        EXPECT_EQ(ConfigField(1, "SZSMTP"), c.row1Server);
        EXPECT_EQ(ConfigField(3, "SZSMTP"), c.row3Server);
        EXPECT_EQ(ConfigField(1, "SZSENDER"), c.row1Address);
        EXPECT_EQ(ConfigField(2, "SZFRIENDLY"), c.row2Address);

        ConfigSettings() = CConfigSettings();
        LoadSettings();
        EXPECT_EQ(config.smtpServer, c.server);
        EXPECT_EQ(config.senderAddress, c.address);
        EXPECT_EQ(std::string(config.smtpAccount), "account");
        EXPECT_EQ(std::string(config.smtpPassword), "secret");
        EXPECT_EQ(std::string(config.relayServer), "relay.example.org");
        EXPECT_EQ(std::string(config.relayPort), "8080");
        EXPECT_EQ(config.smtpAuthentication, 1u);
        EXPECT_EQ(config.smtpPort, 587);
        EXPECT_EQ(config.htmlMail, 1u);
        EXPECT_EQ(config.w2, 5);
        EXPECT_EQ(config.menuStyle, 1u);
    }

    // Port 0 and small W2 values read as the standard ones.
    SetConfigField(1, "ISMTPPORT", "0");
    SetConfigField(1, "W2", "3");
    LoadSettings();
    EXPECT_EQ(ConfigSettings().smtpPort, 25);
    EXPECT_EQ(ConfigSettings().w2, 0);
    SetConfigField(1, "ISMTPPORT", "-4");
    LoadSettings();
    EXPECT_EQ(ConfigSettings().smtpPort, 25);
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();
}

TEST_F(SettingsTable, BackupFoldersWithoutADriveOrGoneFallBack)
{
    // A folder without a drive is not used; the data folder's BACKUP is.
    SetConfigField(4, "SZSOUND", "relative\\backups");
    LoadSettings();
    EXPECT_EQ(std::string(GetCurrentBackupFolder()), File("BACKUP"));

    // A folder with a drive that exists and takes files is kept.
    CreateDirectoryA(File("elsewhere").c_str(), nullptr);
    SetConfigField(4, "SZSOUND", File("elsewhere").c_str());
    LoadSettings();
    EXPECT_EQ(std::string(GetCurrentBackupFolder()), File("elsewhere"));
    SaveBackupFolderAndStyles();
    EXPECT_EQ(ConfigField(4, "SZSOUND"), File("elsewhere"));

    // One that is gone falls back to the standard folder.
    RemoveDirectoryA(File("elsewhere").c_str());
    LoadSettings();
    EXPECT_EQ(std::string(GetCurrentBackupFolder()), File("BACKUP"));
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();
}

TEST_F(SettingsTable, SoundPathsTooLongForTheirSlotsAreReportedAndLeftSilent)
{
    std::snprintf(GetStartupValues().programFolder, sizeof GetStartupValues().programFolder, "C:\\%s",
                  std::string(95, 'p').c_str());
    LoadSettings();
    const char* const texts[4] = {"The standard alarm sound file name is too long??\r\n",
                                  "The standard incoming note sound file name is too long??\r\n",
                                  "The standard chat initiated sound file name is too long??\r\n",
                                  "The standard chat line received sound file name is too long??\r\n"};
    const char* const names[4] = {"alarm.wav", "incoming.wav", "startchat.wav", "chatline.wav"};
    ASSERT_EQ(m_boxes.Count(), 4u);
    for (int i = 0; i < 4; ++i) {
        const RecordedBox box = m_boxes.Boxes()[i];
        EXPECT_EQ(box.text.rfind(texts[i], 0), 0u) << box.text;
        EXPECT_EQ(box.caption, "Quillnet+");
        EXPECT_STREQ(ConfigSettings().sounds[i].path, names[i]);
        EXPECT_EQ(ConfigSettings().sounds[i].type, kSoundNone);
        EXPECT_EQ(ConfigSettings().sounds[i].enabled, 0u);
    }
}

TEST_F(SettingsTable, HotkeySwitchesByTheFormatOfTheOptionsRow)
{
    struct Case {
        const char* format;
        int readFromRow;  // how many of the switches come from the row (all stored "F")
    } cases[] = {{"0", 0}, {"6", 7}, {"5", 7}, {"7", 12}};
    const char* const fields[12] = {"BNEWCTRL",   "BNEWALT",   "BNEWSHIFT",  "BSHOWACTRL", "BSHOWAALT",  "BSHOWASHIF",
                                    "BHIDEACTRL", "BHIDEAALT", "BHIDEASHIF", "BSHOWLCTRL", "BSHOWLALT", "BSHOWLSHIF"};
    for (const Case& c : cases) {
        for (const char* field : fields)
            SetConfigField(2, field, "F");
        SetConfigField(2, "INEWKEY", c.format);
        ConfigSettings().w1 = 9;
        LoadHotkeyEnableFlags();
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(UserSettings().hotkeyEnabled[i], i < c.readFromRow ? 0u : 1u) << c.format << " " << i;
        if (std::string(c.format) == "0") {
            // A row from before the switches is written back in the present form.
            EXPECT_EQ(ConfigField(2, "INEWKEY"), "7");
            EXPECT_EQ(ConfigField(2, "BSHOWLSHIF"), "T");
            EXPECT_EQ(ConfigSettings().w1, 0);
            EXPECT_EQ(ConfigSettings().firstRunSwitch, 1u);
        }
    }
}

TEST_F(SettingsTable, ATableWithRowsMissingLoadsWithItsReportsAndNoFailure)
{
    CopyTemplate("users.QPD");
    KeepFirstRecords(File("config.QPD"), TableGroup::kConfig, 1);
    ASSERT_EQ(CountTableRecords("config.QPD"), 1u);
    CreatedNotes notes;
    EXPECT_NO_THROW(LoadSettings());
    EXPECT_EQ(ConfigSettings().optionsInitDiv, 1);
    EXPECT_EQ(std::string(GetCurrentBackupFolder()), File("BACKUP"));
    EXPECT_NO_THROW(IdentifyUser(notes));
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(UserSettings().userId, 1u);
    EXPECT_TRUE(m_boxes.Saw("The record storing the V6.0 style is missing ??"));
    // The missing style rows are made, one per save, so a later start finds
    // more of them.
    EXPECT_EQ(FindConfigRecord(0, 0), 1);
    ConfigSettings() = CConfigSettings();
    UserSettings() = CUserSettings();
    EXPECT_NO_THROW(LoadSettings());
    EXPECT_NO_THROW(IdentifyUser(notes));
    EXPECT_EQ(UserSettings().userId, 1u);
}

TEST_F(SettingsTable, AnOlderTableOfEightRowsTakesTheStandardStylesAndItsColours)
{
    CopyTemplate("users.QPD");
    KeepFirstRecords(File("config.QPD"), TableGroup::kConfig, 8);
    SetConfigField(2, "SZSOUND", "1001,1002,1003,1004,1005,1006,1007,1008");
    for (const char* switchField : {"BSHOWLCTRL", "BSHOWLALT", "BSHOWLSHIF"})
        SetConfigField(2, switchField, "F");
    CreatedNotes notes;
    LoadSettings();
    IdentifyUser(notes);
    const CUserSettings& user = UserSettings();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(user.styles[i].titleBackgroundColor, 1001u + 2 * i) << i;
        EXPECT_EQ(user.styles[i].backgroundColor, 1002u + 2 * i) << i;
    }
    EXPECT_EQ(user.styles[4].backgroundColor, ConfigSettings().styles[4].backgroundColor);
    EXPECT_EQ(user.hotkeyEnabled[kEnableNoteManager], 1u);
    EXPECT_EQ(user.hotkeyEnabled[kEnableStyles], 1u);
    // The styles were stored as style rows, one row made for each.
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(FindConfigRecord(i, 0), 1) << i;
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();
}
