// The current user's record of the users table read into the user's settings,
// and the writers of the user's options.
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/DataFolder.h"
#include "foundation/FormatSettings.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/ProgramGlobals.h"
#include "store/FieldAccess.h"
#include "store/SettingsTable.h"
#include "store/UserRecord.h"
#include "store/UsersTable.h"
#include "store/bytes/PackedValues.h"

namespace {
// BYDELAY of the users table holds the Note Manager hotkey; WLISTENPOR the
// favourites hotkey, below this.
const long kFavouritesPackLimit = 8000;
const char kEmptyTitleMark[] = "E m p t y  T i t l e";

void WriteHotkey(CDbfFile& table, DWORD record, const char* ctrl, const char* alt, const char* shift,
                 const char* key, const CHotkeySetting& hotkey)
{
    WriteLogical(table, record, ctrl, hotkey.ctrl != 0);
    WriteLogical(table, record, alt, hotkey.alt != 0);
    WriteLogical(table, record, shift, hotkey.shift != 0);
    WriteNumber(table, record, key, static_cast<long>(hotkey.key));
}

// The five hotkeys the users table keeps in fields of their own.
struct PlainHotkeyFields {
    const char *ctrl, *alt, *shift, *key;
    CHotkeySetting CUserSettings::*member;
};
const PlainHotkeyFields kPlainHotkeys[5] = {
    {"BNEWCTRL", "BNEWALT", "BNEWSHIFT", "INEWKEY", &CUserSettings::newNote},
    {"BNEWCCTRL", "BNEWCALT", "BNEWCSHIFT", "INEWCKEY", &CUserSettings::newClipboardNote},
    {"BSHOWACTRL", "BSHOWAALT", "BSHOWASHIF", "ISHOWAKEY", &CUserSettings::showAll},
    {"BHIDEACTRL", "BHIDEAALT", "BHIDEASHIF", "IHIDEAKEY", &CUserSettings::hideAll},
    {"BSHOWLCTRL", "BSHOWLALT", "BSHOWLSHIF", "ISHOWLKEY", &CUserSettings::showLast},
};

// The user's switches kept as logical fields of the record.
struct FlagField {
    const char* field;
    DWORD CUserSettings::*member;
};
const FlagField kUserFlags[] = {
    {"BNETWORK", &CUserSettings::networkOn},
    {"BDELAY", &CUserSettings::chatOn},
    {"BHIDERECV", &CUserSettings::hideReceived},
    {"BUSEMYTAB", &CUserSettings::useSavedAddresses},
    {"BSHOWSUSER", &CUserSettings::showSenderUser},
    {"BSHOWSCOMP", &CUserSettings::showSenderComputer},
    {"BSENT1", &CUserSettings::balloonOnReceive},
    {"BSHARENOTE", &CUserSettings::shareNotes},
    {"BSENT", &CUserSettings::datesWithTime},
    {"BRECEIVED", &CUserSettings::confirmDelete},
    {"BRECEIVED1", &CUserSettings::passwordAtStart},
    {"BHSCROLL", &CUserSettings::protectHiddenLocked},
    {"BVSCROLL", &CUserSettings::keepMonthlyBackup},
    {"BDELSENT", &CUserSettings::deleteSent},
    {"BDISPSCROL", &CUserSettings::displayScroll},
};

// The hotkeys that the record keeps packed start from the program's values.
void TakePackedHotkeyDefaults(CUserSettings& user, const CConfigSettings& config)
{
    user.showDesktop = config.showDesktop;
    user.parkDesktop = config.parkDesktop;
    user.findText = config.findText;
    user.newAlarmNote = config.newAlarmNote;
    user.noteManager = config.noteManager;
    user.favourites = config.favourites;
}

WORD UserRecordInRangeOr(long value, long low, long high, WORD fallback)
{
    return value >= low && value <= high ? static_cast<WORD>(value) : fallback;
}

void ReadRecord(CDbfFile& table, CUserSettings& user, const CConfigSettings& config)
{
    CNoteDefaults& note = user.note;
    note.noteColor = ReadColour(table, kNoteColourFields);
    note.textColor = ReadColour(table, kTextColourFields);
    note.titleColor = ReadColour(table, kTitleColourFields);
    note.titleTextColor = ReadColour(table, kTitleTextColourFields);
    std::string title = ReadText(table, "SZTITLE", CUserSettings::kTitleSize - 1);
    std::snprintf(user.title, sizeof user.title, "%s",
                  lstrcmpiA(title.c_str(), kEmptyTitleMark) == 0 ? " " : title.c_str());
    note.rollUp = ReadFlag(table, "BROLLUP");
    note.showDate = ReadFlag(table, "BSHOWDATE");
    note.stayOnTop = ReadFlag(table, "BSTAYONTOP");
    note.hasBorder = ReadFlag(table, "BHASBORDER");
    note.bodyFont = ReadFontFields(table, FontFieldSet::kBody);
    note.titleFont = ReadFontFields(table, FontFieldSet::kTitle);
    for (const PlainHotkeyFields& fields : kPlainHotkeys)
        ReadHotkey(table, fields.ctrl, fields.alt, fields.shift, fields.key, user.*fields.member);

    TakePackedHotkeyDefaults(user, config);
    UnpackHotkey(ReadNumber(table, "BYDELAY"), 0, user.noteManager);
    UnpackHotkey(ReadNumber(table, "WLISTENPOR"), kFavouritesPackLimit, user.favourites);
    UnpackInitText(ReadText(table, "SZINITTEXT", kInitTextLength).c_str(), user.showDesktop, user.parkDesktop,
                   user.findText, user.newAlarmNote);

    user.dateFormat = static_cast<BYTE>(ReadNumber(table, "DATEFORMAT"));
    for (const FlagField& flag : kUserFlags)
        user.*flag.member = ReadFlag(table, flag.field);
    user.passwordMode = UserRecordInRangeOr(ReadNumber(table, "W1"), 1, 2, 2);
    // A code moved from an older table this run is already in place.
    if (std::strlen(user.passwordCode) != kPasswordCodeLength) {
        std::string code = MakePasswordCode(ReadText(table, "SZ1", 49).c_str());
        std::snprintf(user.passwordCode, sizeof user.passwordCode, "%s", code.c_str());
    }
    user.alarmSoundType = static_cast<BYTE>(ReadNumber(table, "BYNOISE"));
    ReadTrimmedText(table, "SZSOUND", user.alarmSoundPath, sizeof user.alarmSoundPath);
    user.alarmReplay = static_cast<WORD>(ReadNumber(table, "WREPLAY"));
    // The Note page offers tab widths of 1 to 9.
    user.tabWidth = UserRecordInRangeOr(ReadNumber(table, "DISPLRETRY"), 1, 9, 2);
    long saveInterval = ReadNumber(table, "WSAVEINT");
    user.saveInterval = static_cast<WORD>(saveInterval == 0 ? 1 : saveInterval);
    long language = ReadNumber(table, "WLANGUAGE");
    user.language = language <= 0 ? config.language : static_cast<WORD>(language);
    user.lastTransactionId = static_cast<DWORD>(ReadNumber(table, "ITRANSID"));
    user.autoBackup = ReadNumber(table, "BYIPPART1") > 0 ? 1 : 0;
    long backupDays = ReadNumber(table, "BYIPPART2");
    if (backupDays < 1 || backupDays > 100) {
        backupDays = 7;
        user.autoBackup = 1;
    }
    user.backupDays = static_cast<DWORD>(backupDays);
    UnpackThreeDigits(ReadNumber(table, "BYIPPART3"), user.threeDigits);
    UnpackTwoDigits(ReadNumber(table, "BYIPPART4"), user.twoDigits);
    note.newNoteWidth = UserRecordInRangeOr(ReadNumber(table, "WNOWIDTH"), 1, 1999, 163);
    note.newNoteHeight = UserRecordInRangeOr(ReadNumber(table, "WNOHEIGHT"), 1, 1999, 131);
    user.retry.on = ReadFlag(table, "BRETRY");
    user.retry.amount = static_cast<BYTE>(ReadNumber(table, "BYRETRY"));
    user.retry.unit = static_cast<BYTE>(ReadNumber(table, "BYRETRYTYP"));
}

void ShareFormatSettings(const CUserSettings& user)
{
    CFormatSettings& format = FormatSettings();
    format.dateFormat = user.dateFormat;
    format.withTime = user.datesWithTime != 0;
    format.showSender = user.showSenderUser != 0;
    format.showComputer = user.showSenderComputer != 0;
}
}

void ReadUserSettings()
{
    CUserSettings& user = UserSettings();
    {
        CUsersTable table;
        table.Open("READ");
        table.GoTo(user.userId);
        ReadRecord(table, user, ConfigSettings());
        std::string userName = ReadText(table, "SZUSERNAME", CUserSettings::kNameSize - 1);
        std::string computerName = ReadText(table, "SZCOMPUTER", CUserSettings::kNameSize - 1);
        std::snprintf(user.userName, sizeof user.userName, "%s", userName.c_str());
        std::snprintf(user.computerName, sizeof user.computerName, "%s", computerName.c_str());
        table.Close();
    }
    // Without a network, network and chat stay off, on disk too.
    if (GetStartupValues().noNetwork) {
        user.networkOn = 0;
        user.chatOn = 0;
        CUsersTable table;
        table.Open("MAPPINGALL");
        WriteLogical(table, user.userId, "BNETWORK", false);
        WriteLogical(table, user.userId, "BDELAY", false);
        table.Close();
    }
    ShareFormatSettings(user);
    LoadStylesAndOptions();
    LoadHotkeyEnableFlags();
}

void SavePackedHotkeys(CDbfFile& users)
{
    const CUserSettings& user = UserSettings();
    WriteText(users, user.userId, "SZINITTEXT",
              PackInitText(user.showDesktop, user.parkDesktop, user.findText, user.newAlarmNote).c_str());
    WriteNumber(users, user.userId, "BYDELAY", PackHotkey(user.noteManager));
    WriteNumber(users, user.userId, "WLISTENPOR", PackHotkey(user.favourites));
}

namespace {
void WriteSheetOptions(CDbfFile& users, const CUserSettings& user)
{
    DWORD record = user.userId;
    WriteNumber(users, record, "WSAVEINT", user.saveInterval);
    for (const PlainHotkeyFields& fields : kPlainHotkeys)
        WriteHotkey(users, record, fields.ctrl, fields.alt, fields.shift, fields.key, user.*fields.member);
    WriteNumber(users, record, "DATEFORMAT", user.dateFormat);
    WriteNumber(users, record, "DISPLRETRY", static_cast<long>(user.tabWidth));
    for (const FlagField& flag : kUserFlags)
        WriteLogical(users, record, flag.field, user.*flag.member != 0);
    WriteNumber(users, record, "BYIPPART4", PackTwoDigits(user.twoDigits));
    WriteNumber(users, record, "BYIPPART1", user.autoBackup ? 1 : 0);
    WriteNumber(users, record, "BYIPPART2", static_cast<long>(user.backupDays));
    WriteNumber(users, record, "W1", user.passwordMode);
    WriteLogical(users, record, "BRETRY", user.retry.on != 0);
    WriteText(users, record, "SZ1", user.passwordCode);
}
}

void SaveSettingsSheetOptions(WORD previousListenPort, WORD previousSendPort)
{
    const CUserSettings& user = UserSettings();
    CUsersTable users;
    try {
        users.Open("MAPPINGALL");
        WriteSheetOptions(users, user);
        SavePackedHotkeys(users);
        users.Close();
        if (user.listenPort != previousListenPort || user.sendPort != previousSendPort) {
            CSettingsTable config;
            config.Open("MAPPINGALL");
            if (user.listenPort != previousListenPort)
                WriteNumber(config, 1, "WLISTENPOR", user.listenPort);
            if (user.sendPort != previousSendPort)
                WriteNumber(config, 1, "WSENDPORT", user.sendPort);
            config.Close();
        }
    } catch (const CGenericException& failure) {
        users.Close();
        // A refusal of sealed data files is in error.txt: the user was told why.
        if (!IsSealedRefusal(failure))
            ShowErrorMessage(nullptr, failure.GetErrorText(), "Save options");
    } catch (...) {
        users.Close();
        ShowErrorMessage(nullptr, "Unknown Error", "SaveOptions");
        throw;
    }
    ShareFormatSettings(user);
}

bool SaveUserRunValues()
{
    const CUserSettings& user = UserSettings();
    if (GetFileAttributesA(DataFilePath(DataName::kUsersTable).c_str()) == INVALID_FILE_ATTRIBUTES) {
        ShowMessageBox(nullptr,
                       "The users.qpd file is missing. Have you deleted it by accident ?\r\n"
                       " Quillnet+ cannot run properly without it.",
                       ProgramTitle, kMbOk);
        return false;
    }
    CUsersTable users;
    users.Open("MAPPINGALL");
    WriteNumber(users, user.userId, "WLANGUAGE", user.language);
    WriteNumber(users, user.userId, "WSAVEINT", user.saveInterval);
    WriteNumber(users, user.userId, "BYIPPART1", user.autoBackup ? 1 : 0);
    WriteNumber(users, user.userId, "BYIPPART2", static_cast<long>(user.backupDays));
    WriteNumber(users, user.userId, "DISPLRETRY", static_cast<long>(user.tabWidth));
    users.Close();
    return true;
}

namespace {
// The looks of the user's new notes.
void WriteNoteDefaults(CDbfFile& users, DWORD record, const CUserSettings& user)
{
    WriteColour(users, record, kNoteColourFields, user.note.noteColor);
    WriteColour(users, record, kTextColourFields, user.note.textColor);
    WriteColour(users, record, kTitleColourFields, user.note.titleColor);
    WriteColour(users, record, kTitleTextColourFields, user.note.titleTextColor);
    WriteText(users, record, "SZTITLE", user.title);
    WriteLogical(users, record, "BROLLUP", user.note.rollUp != 0);
    WriteLogical(users, record, "BSHOWDATE", user.note.showDate != 0);
    WriteLogical(users, record, "BSTAYONTOP", user.note.stayOnTop != 0);
    WriteLogical(users, record, "BHASBORDER", user.note.hasBorder != 0);
    WriteFontFields(users, record, FontFieldSet::kBody, user.note.bodyFont);
    WriteFontFields(users, record, FontFieldSet::kTitle, user.note.titleFont);
}
}

void SaveUserNoteDefaults()
{
    const CUserSettings& user = UserSettings();
    CUsersTable users;
    users.Open("MAPPINGALL");
    const DWORD record = user.userId;
    WriteNoteDefaults(users, record, user);
    users.Close();
}

namespace {
void WriteWholeRecord(CDbfFile& users, const CUserSettings& user)
{
    DWORD record = user.userId;
    WriteSheetOptions(users, user);
    WriteNumber(users, record, "WUSERID", static_cast<long>(user.userId));
    WriteText(users, record, "SZUSERNAME", user.userName);
    WriteText(users, record, "SZCOMPUTER", user.computerName);
    WriteNoteDefaults(users, record, user);
    WriteNumber(users, record, "BYNOISE", user.alarmSoundType);
    WriteText(users, record, "SZSOUND", user.alarmSoundPath);
    WriteNumber(users, record, "WREPLAY", user.alarmReplay);
    WriteNumber(users, record, "WLANGUAGE", user.language);
    WriteNumber(users, record, "ITRANSID", static_cast<long>(user.lastTransactionId));
    WriteNumber(users, record, "BYIPPART3", PackThreeDigits(user.threeDigits));
    WriteNumber(users, record, "WNOWIDTH", user.note.newNoteWidth);
    WriteNumber(users, record, "WNOHEIGHT", user.note.newNoteHeight);
    WriteNumber(users, record, "BYRETRY", user.retry.amount);
    WriteNumber(users, record, "BYRETRYTYP", user.retry.unit);
}

// A new user starts from the program's values.
void TakeProgramValues(CUserSettings& user, const CConfigSettings& config, bool noNetwork)
{
    user.note = config.note;
    user.title[0] = '\0';
    user.newNote = config.newNote;
    user.newClipboardNote = config.newClipboardNote;
    user.showAll = config.showAll;
    user.hideAll = config.hideAll;
    user.showLast = config.showLast;
    TakePackedHotkeyDefaults(user, config);
    user.dateFormat = config.dateFormat;
    user.networkOn = noNetwork ? 0 : config.networkOn;
    user.chatOn = noNetwork ? 0 : config.delay.on;
    user.hideReceived = config.hideReceived;
    user.useSavedAddresses = config.useSavedAddresses;
    user.showSenderUser = config.showSenderUser;
    user.showSenderComputer = config.showSenderComputer;
    user.balloonOnReceive = config.notesNearMouse;
    user.shareNotes = config.shareNotes;
    user.datesWithTime = config.sentOption;
    user.confirmDelete = config.receivedOption;
    // The program's record keeps other switches in these fields; a new user
    // has no password yet, so neither password switch can be on.
    user.passwordAtStart = 0;
    user.protectHiddenLocked = 0;
    user.keepMonthlyBackup = config.htmlMail;
    user.deleteSent = config.deleteSent;
    user.displayScroll = 0;
    user.passwordMode = UserRecordInRangeOr(config.w1, 1, 2, 2);
    user.passwordCode[0] = '\0';
    user.alarmSoundType = config.sounds[0].type;
    std::snprintf(user.alarmSoundPath, sizeof user.alarmSoundPath, "%s", config.sounds[0].path);
    user.alarmReplay = config.sounds[0].replay;
    user.tabWidth = 2;
    user.saveInterval = static_cast<WORD>(config.saveInterval == 0 ? 1 : config.saveInterval);
    user.language = config.language;
    user.lastTransactionId = 0;
    user.autoBackup = config.autoBackup;
    user.backupDays = UserRecordInRangeOr(config.autoBackupNumber, 1, 100, 7);
    if (config.autoBackupNumber < 1 || config.autoBackupNumber > 100)
        user.autoBackup = 1;
    std::memset(user.threeDigits, 0, sizeof user.threeDigits);
    std::memset(user.twoDigits, 0, sizeof user.twoDigits);
    user.twoDigits[1] = 1;  // received notes may carry attached files
    user.retry = config.retry;
    // New notes are a little larger on larger screens.
    WORD screenWidth = ScreenWidth();
    if (screenWidth >= 800) {
        WORD growth = screenWidth < 1024 ? 35 : 75;
        user.note.newNoteWidth = static_cast<WORD>(user.note.newNoteWidth + growth);
        user.note.newNoteHeight = static_cast<WORD>(user.note.newNoteHeight + growth);
    }
}
}

void FillNewUserRecord(const char* userName, const char* computerName)
{
    CUserSettings& user = UserSettings();
    const StartupValues& values = GetStartupValues();
    {
        CUsersTable users;
        users.Open("MAPPINGAPPEND");
        users.Close();
    }
    CUsersTable users;
    users.Open("MAPPINGALL");
    user.userId = users.GetRecordCount();
    users.GoTo(user.userId);
    std::snprintf(user.userName, sizeof user.userName, "%s", userName);
    std::snprintf(user.computerName, sizeof user.computerName, "%s", computerName);
    TakeProgramValues(user, ConfigSettings(), values.noNetwork);
    WriteWholeRecord(users, user);
    users.Close();
    ShareFormatSettings(user);
}
