// Identifying the user in the users table: a first start on the shipped tables,
// every field read back, the packed and corrected values, the "/u=" take-over
// and the users array.
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "StoreFolder.h"
#include "foundation/DataFolder.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/NoteColors.h"
#include "note/NoteController.h"
#include "globals/ProgramGlobals.h"
#include "store/ChatOptions.h"
#include "store/FieldAccess.h"
#include "store/DbfFile.h"
#include "store/SettingsTable.h"
#include "store/UsersTable.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
class UsersTable : public StoreFolder {
protected:
    void SetUp() override
    {
        SetDisplayColorCount(1u << 24);
        for (const char* name : {"config.QPD", "config.QPS", "users.QPD"})
            CopyTemplate(name);
        StartupValues& values = GetStartupValues();
        std::snprintf(values.userName, sizeof values.userName, "Tester");
        std::snprintf(values.computerName, sizeof values.computerName, "PC1");
        values.commandLineUser[0] = '\0';
        values.noNetwork = false;
        Restart();
    }
    void TearDown() override
    {
        ReleaseNotes();
        SetDisplayColorCount(0);
    }

    // What a new run of the program does: fresh settings objects, the settings
    // table, then the user.
    void Restart()
    {
        ReleaseNotes();
        ConfigSettings() = CConfigSettings();
        UserSettings() = CUserSettings();
        LoadSettings();
        IdentifyUser(m_introNotes);
    }
    void ReleaseNotes()
    {
        for (CNoteController* note : m_introNotes)
            delete note;
        m_introNotes.clear();
    }
    static DWORD UserCount() { return CountTableRecords("users.QPD"); }
    static std::string UserField(DWORD record, const char* field) { return Field("users.QPD", record, field); }
    static void SetUserField(DWORD record, const char* field, const std::string& text)
    {
        SetField("users.QPD", record, field, text);
    }

    CreatedNotes m_introNotes;
    MessageBoxRecorder m_boxes;
};

bool SameHotkey(const CHotkeySetting& a, const CHotkeySetting& b)
{
    return a.ctrl == b.ctrl && a.alt == b.alt && a.shift == b.shift && a.key == b.key;
}

std::string HotkeyValues(const CHotkeySetting& hotkey)
{
    return std::to_string(hotkey.ctrl) + std::to_string(hotkey.alt) + std::to_string(hotkey.shift) + "+" +
           std::to_string(hotkey.key) + " ";
}

// Every value the users table keeps for a user, as read into the settings, in
// one line, so that a user read back is compared with the one saved in one go.
std::string UserValues(const CUserSettings& u)
{
    const CNoteDefaults& n = u.note;
    std::ostringstream out;
    out << "user " << u.userId << " \"" << u.userName << "\" \"" << u.computerName << "\" colours " << n.noteColor
        << ' ' << n.textColor << ' ' << n.titleColor << ' ' << n.titleTextColor << " note " << n.rollUp << ' '
        << n.showDate << ' ' << n.stayOnTop << ' ' << n.hasBorder << ' ' << n.newNoteWidth << 'x' << n.newNoteHeight
        << " body font " << FontValues(n.bodyFont) << " title font " << FontValues(n.titleFont) << " title \""
        << u.title << "\" hotkeys ";
    for (const CHotkeySetting* hotkey : {&u.newNote, &u.newClipboardNote, &u.showAll, &u.hideAll, &u.showLast,
                                         &u.showDesktop, &u.parkDesktop, &u.findText, &u.newAlarmNote,
                                         &u.noteManager, &u.favourites})
        out << HotkeyValues(*hotkey);
    out << "switches";
    for (DWORD value : {u.networkOn, u.chatOn, u.hideReceived, u.useSavedAddresses, u.showSenderUser,
                        u.showSenderComputer, u.balloonOnReceive, u.shareNotes, u.datesWithTime, u.confirmDelete,
                        u.passwordAtStart, u.protectHiddenLocked, u.keepMonthlyBackup, u.deleteSent,
                        u.displayScroll, u.tabWidth, u.lastTransactionId, u.autoBackup, u.backupDays})
        out << ' ' << value;
    out << " date " << +u.dateFormat << " password " << u.passwordMode << " \"" << u.passwordCode << "\" alarm "
        << +u.alarmSoundType << " \"" << u.alarmSoundPath << "\" " << u.alarmReplay << " save " << u.saveInterval
        << " language " << u.language << " digits " << +u.threeDigits[0] << ',' << +u.threeDigits[1] << ','
        << +u.threeDigits[2] << ' ' << +u.twoDigits[0] << ',' << +u.twoDigits[1] << " retry " << u.retry.on << ' '
        << +u.retry.amount << ' ' << +u.retry.unit;
    return out.str();
}
}

TEST_F(UsersTable, TheStandardStylesTakeTheUsersDefaultsForNewNotes)
{
    const COLORREF textColour = RGB(18, 52, 86);
    SetNumber("users.QPD", 1, "BYFORED", GetRValue(textColour));
    SetNumber("users.QPD", 1, "BYFOGREEN", GetGValue(textColour));
    SetNumber("users.QPD", 1, "BYFOBLUE", GetBValue(textColour));
    SetUserField(1, "SZTITLE", "Standard title");
    SetUserField(1, "BSTAYONTOP", "T");
    SetUserField(1, "LFFACENAME", "Courier New");
    Restart();
    const CConfigSettings& config = ConfigSettings();
    ASSERT_NE(config.note.textColor, textColour) << "the program's own defaults differ";
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(testing::Message() << "style " << i + 1);
        const CNoteStyle& style = config.styles[i];
        EXPECT_EQ(style.textColor, textColour);
        EXPECT_STREQ(style.name, "Standard title");
        EXPECT_EQ(style.stayOnTop, 1u);
        EXPECT_STREQ(style.bodyFont.lfFaceName, "Courier New");
        EXPECT_EQ(style.undefined, 0u);
    }
    EXPECT_EQ(config.styles[0].backgroundColor, 0x9F9FFFu);
}

TEST_F(UsersTable, AFirstStartCreatesUserOneWithTheProgramsValues)
{
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();
    const CConfigSettings& config = ConfigSettings();
    const CUserSettings created = UserSettings();
    EXPECT_EQ(UserCount(), 1u);
    EXPECT_EQ(created.userId, 1u);
    EXPECT_EQ(UserField(1, "WUSERID"), "1");
    EXPECT_STREQ(created.userName, "Tester");
    EXPECT_STREQ(created.computerName, "PC1");
    EXPECT_EQ(created.note.noteColor, config.note.noteColor);
    EXPECT_EQ(created.note.titleColor, config.note.titleColor);
    EXPECT_TRUE(SameHotkey(created.newNote, config.newNote));
    EXPECT_TRUE(SameHotkey(created.noteManager, MakeHotkey(0, 1, 1, 'M')));
    EXPECT_EQ(created.networkOn, config.networkOn);
    EXPECT_EQ(created.passwordMode, 2);
    EXPECT_EQ(created.tabWidth, 2u);
    EXPECT_EQ(created.backupDays, 7u);
    EXPECT_EQ(created.autoBackup, 1u);
    EXPECT_STREQ(created.alarmSoundPath, config.sounds[0].path);
    // Wider screens get larger new notes.
    const WORD growth = ScreenWidth() >= 1024 ? 75 : ScreenWidth() >= 800 ? 35 : 0;
    EXPECT_EQ(created.note.newNoteWidth, config.note.newNoteWidth + growth);
    EXPECT_EQ(created.note.newNoteHeight, config.note.newNoteHeight + growth);
    // The packed hotkeys are not written for a new user.
    EXPECT_EQ(UserField(1, "SZINITTEXT"), "");
    // The user's styles start as the standard ones, in slots that stay empty
    // until the user saves a style into them.
    EXPECT_EQ(created.styles[0].backgroundColor, config.styles[0].backgroundColor);
    EXPECT_EQ(created.styles[0].undefined, 1u);

    // The shipped welcome note for the new user, and the user's chat options.
    ASSERT_EQ(m_introNotes.size(), 1u);
    EXPECT_EQ(m_introNotes[0]->m_userId, 1u);
    EXPECT_EQ(m_introNotes[0]->RichText().rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(Read("chat.QPD").find("[1]\r\nAvatar="), std::string::npos);

    // The next start finds the record and reads the same values.
    Restart();
    EXPECT_EQ(UserCount(), 1u);
    EXPECT_TRUE(m_introNotes.empty());
    EXPECT_EQ(UserValues(UserSettings()), UserValues(created));
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();
}

TEST_F(UsersTable, EveryOptionTheSheetWritesIsReadBack)
{
    CUserSettings& user = UserSettings();
    user.saveInterval = 12;
    user.newNote = MakeHotkey(1, 0, 1, 'Q');
    user.newClipboardNote = MakeHotkey(0, 1, 0, 'W');
    user.showAll = MakeHotkey(1, 1, 0, VK_F2);
    user.hideAll = MakeHotkey(0, 0, 1, 'E');
    user.showLast = MakeHotkey(1, 1, 1, 'R');
    user.dateFormat = 3;
    user.tabWidth = 1;
    // Every switch the other way round.
    for (DWORD* flag : {&user.networkOn, &user.chatOn, &user.hideReceived, &user.useSavedAddresses,
                        &user.showSenderUser, &user.showSenderComputer, &user.balloonOnReceive, &user.shareNotes,
                        &user.datesWithTime, &user.confirmDelete, &user.passwordAtStart, &user.protectHiddenLocked,
                        &user.keepMonthlyBackup, &user.deleteSent, &user.displayScroll})
        *flag = *flag ? 0 : 1;
    user.twoDigits[0] = 4;
    user.twoDigits[1] = 6;
    user.autoBackup = 0;
    user.backupDays = 30;
    user.passwordMode = 1;
    std::snprintf(user.passwordCode, sizeof user.passwordCode, "0a1b2c3d");
    user.retry.on = 1;
    user.listenPort = 30001;
    user.sendPort = 30002;
    // Every combination of modifiers, also without Ctrl, survives the packed forms.
    user.showDesktop = MakeHotkey(0, 0, 1, 'D');
    user.parkDesktop = MakeHotkey(1, 0, 0, 'P');
    user.findText = MakeHotkey(0, 1, 0, 'F');
    user.newAlarmNote = MakeHotkey(1, 1, 1, 0xBA);
    user.noteManager = MakeHotkey(1, 0, 1, 'M');
    user.favourites = MakeHotkey(0, 1, 1, VK_F7);
    SaveSettingsSheetOptions(28081, 28082);
    const CUserSettings saved = user;

    Restart();
    EXPECT_EQ(UserValues(UserSettings()), UserValues(saved));
    EXPECT_EQ(UserSettings().listenPort, 30001);
    EXPECT_EQ(UserSettings().sendPort, 30002);
    EXPECT_EQ(UserField(1, "BYDELAY"), "5077");
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();
}

TEST_F(UsersTable, StoredValuesOutOfRangeReadAsTheirStandards)
{
    struct Case {
        const char* field;
        std::string stored;
        std::function<bool(const CUserSettings&)> check;
    };
    const Case cases[] = {
        {"SZINITTEXT", "", [](const CUserSettings& u) {
             return SameHotkey(u.showDesktop, MakeHotkey(0, 1, 1, 'D')) && SameHotkey(u.parkDesktop, MakeHotkey(0, 1, 1, 'P')) &&
                    SameHotkey(u.findText, MakeHotkey(0, 1, 1, 'F')) && SameHotkey(u.newAlarmNote, MakeHotkey(0, 1, 1, 'A'));
         }},
        {"SZINITTEXT", "1,0,0,69,0,0,1,81", [](const CUserSettings& u) {
             return SameHotkey(u.parkDesktop, MakeHotkey(0, 0, 1, 'Q')) && SameHotkey(u.findText, MakeHotkey(0, 1, 1, 'F'));
         }},
        {"BYIPPART2", "0", [](const CUserSettings& u) { return u.backupDays == 7 && u.autoBackup == 1; }},
        {"BYIPPART2", "365", [](const CUserSettings& u) { return u.backupDays == 7 && u.autoBackup == 1; }},
        {"BYIPPART2", "30", [](const CUserSettings& u) { return u.backupDays == 30; }},
        {"BYIPPART3", "234", [](const CUserSettings& u) {
             return u.threeDigits[0] == 1 && u.threeDigits[1] == 2 && u.threeDigits[2] == 3;
         }},
        {"BYIPPART4", "23", [](const CUserSettings& u) { return u.twoDigits[0] == 1 && u.twoDigits[1] == 2; }},
        {"DISPLRETRY", "1", [](const CUserSettings& u) { return u.tabWidth == 1; }},
        {"DISPLRETRY", "0", [](const CUserSettings& u) { return u.tabWidth == 2; }},
        {"DISPLRETRY", "12", [](const CUserSettings& u) { return u.tabWidth == 2; }},
        {"W1", "0", [](const CUserSettings& u) { return u.passwordMode == 2; }},
        {"W1", "1", [](const CUserSettings& u) { return u.passwordMode == 1; }},
        {"WSAVEINT", "0", [](const CUserSettings& u) { return u.saveInterval == 1; }},
        {"WNOWIDTH", "0", [](const CUserSettings& u) { return u.note.newNoteWidth == 163; }},
        {"WNOHEIGHT", "2000", [](const CUserSettings& u) { return u.note.newNoteHeight == 131; }},
        {"SZTITLE", "e m p t y  t i t l e", [](const CUserSettings& u) { return std::string(u.title) == " "; }},
        {"SZ1", "ABCDEF0123456789", [](const CUserSettings& u) { return std::string(u.passwordCode) == "abcdef01"; }},
    };
    for (const Case& c : cases) {
        SetUserField(1, c.field, c.stored);
        Restart();
        EXPECT_TRUE(c.check(UserSettings())) << c.field << " = \"" << c.stored << "\"";
    }
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();
}

TEST_F(UsersTable, ANamedStartTakesOverTheLoggedOnUsersRecord)
{
    std::snprintf(GetStartupValues().commandLineUser, sizeof GetStartupValues().commandLineUser, "Alice");
    Restart();
    EXPECT_EQ(UserCount(), 1u);
    EXPECT_EQ(UserSettings().userId, 1u);
    EXPECT_EQ(UserField(1, "SZUSERNAME"), "Alice");
    EXPECT_EQ(UserField(1, "SZCOMPUTER"), "Alice");

    // Found by name the next time, any case.
    std::snprintf(GetStartupValues().commandLineUser, sizeof GetStartupValues().commandLineUser, "ALICE");
    Restart();
    EXPECT_EQ(UserCount(), 1u);

    // A second name finds no record of the logged-on user left: a new one.
    std::snprintf(GetStartupValues().commandLineUser, sizeof GetStartupValues().commandLineUser, "Bob");
    Restart();
    EXPECT_EQ(UserCount(), 2u);
    EXPECT_EQ(UserSettings().userId, 2u);
    EXPECT_EQ(UserField(2, "SZUSERNAME"), "Bob");
    EXPECT_EQ(m_introNotes.size(), 1u);

    ASSERT_EQ(FillArraySharingNotes(), 1);
    EXPECT_EQ(UsersArray().GetCount(), 3u);
    EXPECT_EQ(FindUserIndex("bob", "BOB"), 2u);
    EXPECT_EQ(FindUserIndex("alice", "alice"), 1u);
    EXPECT_EQ(FindUserIndex("Tester", "PC1"), 0u);
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();
}

TEST_F(UsersTable, TheUsersArrayRefusesBrokenIdsAndEmptyTables)
{
    SetUserField(1, "BSHARENOTE", "T");
    ASSERT_EQ(FillArraySharingNotes(), 1);
    EXPECT_EQ(UsersArray()[1].sharesNotes, 1u);
    EXPECT_STREQ(UsersArray()[0].userName, " ");

    SetUserField(1, "WUSERID", "0");
    EXPECT_EQ(FillArraySharingNotes(), 0);
    EXPECT_EQ(m_boxes.LastText(), "dwUserId==0");
    SetUserField(1, "WUSERID", "7");
    EXPECT_EQ(FillArraySharingNotes(), 0);
    EXPECT_EQ(m_boxes.LastText(), "dwUserId > dwUsersFound");

    CopyTemplate("users.QPD");
    EXPECT_EQ(FillArraySharingNotes(), 0);
    EXPECT_EQ(m_boxes.LastText(), "No users found in the table??");
}

TEST_F(UsersTable, WithoutANetworkNetworkAndChatStayOffOnDiskToo)
{
    SetUserField(1, "BNETWORK", "T");
    SetUserField(1, "BDELAY", "T");
    GetStartupValues().noNetwork = true;
    Restart();
    EXPECT_EQ(UserSettings().networkOn, 0u);
    EXPECT_EQ(UserSettings().chatOn, 0u);
    EXPECT_EQ(UserField(1, "BNETWORK"), "F");
    EXPECT_EQ(UserField(1, "BDELAY"), "F");
}

TEST_F(UsersTable, AnOlderVersionsPassPhraseMovesToTheUsersRecordAsACode)
{
    SetField("config.QPD", 3, "SZSOUND", "0123456789ABCDEF0123456789ABCDEF");
    Restart();
    EXPECT_STREQ(UserSettings().passwordCode, "01234567");
    EXPECT_EQ(UserField(1, "SZ1"), "01234567");
    EXPECT_EQ(Field("config.QPD", 3, "SZSOUND"), "");
}

TEST_F(UsersTable, ExitWritesTheRunsValuesAndNeedsTheTable)
{
    UserSettings().language = 3;
    UserSettings().saveInterval = 9;
    UserSettings().tabWidth = 4;
    EXPECT_TRUE(SaveUserRunValues());
    EXPECT_EQ(UserField(1, "WLANGUAGE"), "3");
    EXPECT_EQ(UserField(1, "WSAVEINT"), "9");
    EXPECT_EQ(UserField(1, "DISPLRETRY"), "4");
    DeleteFileA(DataFilePath(DataName::kUsersTable).c_str());
    EXPECT_FALSE(SaveUserRunValues());
    EXPECT_EQ(m_boxes.LastText().rfind("The users.qpd file is missing.", 0), 0u);
}

TEST_F(UsersTable, SharingIsWrittenIntoTheUsersOwnRecordAndIntoEveryRecordOnlyWhenAsked)
{
    std::snprintf(GetStartupValues().userName, sizeof GetStartupValues().userName, "Second");
    Restart();
    ASSERT_EQ(UserCount(), 2u);
    ASSERT_EQ(UserSettings().userId, 2u);
    ASSERT_EQ(FillArraySharingNotes(), 1);
    const std::string firstUsersChoice = UserField(1, "BSHARENOTE");

    // The user's own choice stays in the user's own record.
    CUserSettings& user = UserSettings();
    user.shareNotes = firstUsersChoice == "T" ? 0 : 1;
    SaveSettingsSheetOptions(user.listenPort, user.sendPort);
    EXPECT_EQ(UserField(2, "BSHARENOTE"), firstUsersChoice == "T" ? "F" : "T");
    EXPECT_EQ(UserField(1, "BSHARENOTE"), firstUsersChoice);

    // Asked for every user, every record and the users array follow.
    for (DWORD share : {1u, 0u}) {
        SaveShareNotesForEveryUser(share);
        EXPECT_EQ(UserField(1, "BSHARENOTE"), share ? "T" : "F");
        EXPECT_EQ(UserField(2, "BSHARENOTE"), share ? "T" : "F");
        ASSERT_GE(UsersArray().GetCount(), 3u);
        EXPECT_EQ(UsersArray()[1].sharesNotes, share);
        EXPECT_EQ(UsersArray()[2].sharesNotes, share);
        ASSERT_EQ(FillArraySharingNotes(), 1);
        EXPECT_EQ(UsersArray()[1].sharesNotes, share) << "the table says the same";
    }

    // A later start finds the user's record whatever the case of the names,
    // not the record of the other user on the same computer.
    std::snprintf(GetStartupValues().userName, sizeof GetStartupValues().userName, "SECOND");
    std::snprintf(GetStartupValues().computerName, sizeof GetStartupValues().computerName, "pc1");
    Restart();
    EXPECT_EQ(UserCount(), 2u);
    EXPECT_EQ(UserSettings().userId, 2u);
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();
}
