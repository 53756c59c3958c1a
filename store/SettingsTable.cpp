#include "store/SettingsTable.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "globals/CalendarStyle.h"
#include "foundation/BackupFolder.h"
#include "foundation/DataFolder.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/bytes/NoteColors.h"
#include "foundation/win/ShellPaths.h"
#include "globals/NoteManagerOptions.h"
#include "globals/ProgramGlobals.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "store/BackupFolderCheck.h"
#include "store/SettingsRows.h"
#include "store/StyleStorage.h"
#include "store/UserSz1.h"

namespace {
// What every settings operation starts with: the table bound, enciphered.
// A named note colour is drawn in its pale tint (bodies, texts) or its strong
// tint (title bars); any other colour as it is.
COLORREF PaleTintOf(COLORREF colour)
{
    char name[16];
    ColorToName(colour, name, sizeof name);
    COLORREF pale = ColorNameToPaleColor(name);
    return pale ? pale : colour;
}

void ReadProgramRow(CDbfFile& table, CConfigSettings& config, CUserSettings& user)
{
    CNoteDefaults& note = config.note;
    note.noteColor = PaleTintOf(ReadColour(table, kNoteColourFields));
    note.textColor = PaleTintOf(ReadColour(table, kTextColourFields));
    note.titleColor = ColorToStrongColor(ReadColour(table, kTitleColourFields));
    note.titleTextColor = ColorToStrongColor(ReadColour(table, kTitleTextColourFields));
    note.rollUp = ReadFlag(table, "BROLLUP");
    note.showDate = ReadFlag(table, "BSHOWDATE");
    note.stayOnTop = ReadFlag(table, "BSTAYONTOP");
    note.hasBorder = ReadFlag(table, "BHASBORDER");
    config.dateFormat = static_cast<BYTE>(ReadNumber(table, "DATEFORMAT"));
    config.menuStyle = static_cast<DWORD>(ReadNumber(table, "DISPLRETRY"));
    user.listenPort = static_cast<WORD>(ReadNumber(table, "WLISTENPOR"));
    user.sendPort = static_cast<WORD>(ReadNumber(table, "WSENDPORT"));
    config.networkOn = ReadFlag(table, "BNETWORK");
    config.attachedFiles = ReadFlag(table, "BATTACHED");
    config.hideReceived = ReadFlag(table, "BHIDERECV");
    config.deleteSent = ReadFlag(table, "BDELSENT");
    config.useSavedAddresses = ReadFlag(table, "BUSEMYTAB");
    config.showSenderUser = ReadFlag(table, "BSHOWSUSER");
    config.showSenderComputer = ReadFlag(table, "BSHOWSCOMP");
    config.sounds[0].type = static_cast<BYTE>(ReadNumber(table, "BYNOISE"));
    config.sounds[0].replay = static_cast<WORD>(ReadNumber(table, "WREPLAY"));
    ReadTrimmedText(table, "SZSOUND", config.sounds[0].path, sizeof config.sounds[0].path);
    config.shareNotes = ReadFlag(table, "BSHARENOTE");
    config.stylesInRotation = ReadFlag(table, "BINCTIME");
    config.confirmDelete = ReadFlag(table, "BCONFDEL");
    ReadHotkey(table, "BNEWCTRL", "BNEWALT", "BNEWSHIFT", "INEWKEY", config.newNote);
    ReadHotkey(table, "BNEWCCTRL", "BNEWCALT", "BNEWCSHIFT", "INEWCKEY", config.newClipboardNote);
    ReadHotkey(table, "BSHOWACTRL", "BSHOWAALT", "BSHOWASHIF", "ISHOWAKEY", config.showAll);
    ReadHotkey(table, "BHIDEACTRL", "BHIDEAALT", "BHIDEASHIF", "IHIDEAKEY", config.hideAll);
    ReadHotkey(table, "BSHOWLCTRL", "BSHOWLALT", "BSHOWLSHIF", "ISHOWLKEY", config.showLast);
    ReadHotkey(table, "BDESKCTRL", "BDESKALT", "BDESKSHIFT", "IDESKKEY", config.showDesktop);
    note.bodyFont = ReadFontFields(table, FontFieldSet::kBody);
    note.titleFont = ReadFontFields(table, FontFieldSet::kTitle);
    config.saveInterval = static_cast<WORD>(ReadNumber(table, "WSAVEINT"));
    config.initDiv = static_cast<WORD>(ReadNumber(table, "WINITDIV"));
    config.language = static_cast<WORD>(ReadNumber(table, "WLANGUAGE"));
    config.dTimes = table.GetDoubleValue("DTIMES");
    note.newNoteWidth = static_cast<WORD>(ReadNumber(table, "WNOWIDTH"));
    note.newNoteHeight = static_cast<WORD>(ReadNumber(table, "WNOHEIGHT"));
    std::snprintf(config.smtpServer, sizeof config.smtpServer, "%s", ReadText(table, "SZSMTP", 30).c_str());
    std::snprintf(config.senderAddress, sizeof config.senderAddress, "%s", ReadText(table, "SZSENDER", 30).c_str());
    ReadTrimmedText(table, "SZFRIENDLY", config.senderName, sizeof config.senderName);
    ReadTrimmedText(table, "SZTITLE", config.relayServer, sizeof config.relayServer);
    ReadTrimmedText(table, "SZ1", config.relayPort, sizeof config.relayPort);
    config.titleButtonOnHover = ReadFlag(table, "BHSCROLL");
    config.quickLaunch = ReadFlag(table, "BRECEIVED1");
    config.notesNearMouse = ReadFlag(table, "BSENT1");
    config.htmlMail = ReadFlag(table, "BVSCROLL");
    config.sentOption = ReadFlag(table, "BSENT");
    config.receivedOption = ReadFlag(table, "BRECEIVED");
    long w2 = ReadNumber(table, "W2") & 0xFF;
    config.w2 = static_cast<BYTE>(w2 >= 1 && w2 <= 4 ? 0 : w2);
    config.w1 = static_cast<WORD>(ReadNumber(table, "W1"));
    long smtpPort = ReadNumber(table, "ISMTPPORT");
    config.smtpPort = smtpPort <= 0 ? 25 : static_cast<int>(smtpPort);
    config.delay.on = ReadFlag(table, "BDELAY");
    config.delay.amount = static_cast<BYTE>(ReadNumber(table, "BYDELAY"));
    config.delay.unit = static_cast<BYTE>(ReadNumber(table, "BYDELAYTYP"));
    config.retry.on = ReadFlag(table, "BRETRY");
    config.retry.amount = static_cast<BYTE>(ReadNumber(table, "BYRETRY"));
    config.retry.unit = static_cast<BYTE>(ReadNumber(table, "BYRETRYTYP"));
    config.autoBackup = ReadFlag(table, "BAUTOBACK");
    config.autoBackupNumber = static_cast<int>(ReadNumber(table, "IAUTOBACK"));
}

// The sounds' files lie in the program folder; a path too long for a slot is
// reported and the bare name kept, the slot then silent.
void SetStandardSound(CSoundSlot& slot, BYTE kind, const char* name, const char* tooLongText)
{
    char bareName[CSoundSlot::kPathSize];
    std::snprintf(bareName, sizeof bareName, "%s", name);
    slot.id = kind;
    std::string path = ProgramFilePath(bareName);
    if (path.size() > CSoundSlot::kPathSize - 1) {
        std::string text = std::string(tooLongText) + path;
        ShowMessageBox(nullptr, text.c_str(), ProgramTitle, kMbOk);
        std::snprintf(slot.path, sizeof slot.path, "%s", bareName);
        slot.type = kSoundNone;
    } else {
        std::snprintf(slot.path, sizeof slot.path, "%s", path.c_str());
    }
    slot.enabled = slot.type != kSoundNone ? 1 : 0;
}

void SetStandardSounds(CConfigSettings& config)
{
    struct Standard {
        BYTE kind;
        const char* file;
        const char* tooLong;
    };
    const Standard standards[4] = {
        {kSoundAlarm, nullptr, "The standard alarm sound file name is too long??\r\n"},
        {kSoundIncomingNote, "incoming.wav", "The standard incoming note sound file name is too long??\r\n"},
        {kSoundChatStarted, "startchat.wav", "The standard chat initiated sound file name is too long??\r\n"},
        {kSoundChatLine, "chatline.wav", "The standard chat line received sound file name is too long??\r\n"},
    };
    for (int i = 0; i < 4; ++i) {
        CSoundSlot& slot = config.sounds[i];
        if (i > 0) {
            slot.type = kSoundStandardFile;
            slot.replay = 0;
        }
        char name[CSoundSlot::kPathSize];
        std::snprintf(name, sizeof name, "%s", standards[i].file ? standards[i].file : slot.path);
        SetStandardSound(slot, standards[i].kind, name, standards[i].tooLong);
    }
}

void SetDefaultHotkeys(CConfigSettings& config)
{
    config.parkDesktop = MakeHotkey(0, 1, 1, 'P');
    config.findText = MakeHotkey(0, 1, 1, 'F');
    config.newAlarmNote = MakeHotkey(0, 1, 1, 'A');
    config.noteManager = MakeHotkey(0, 1, 1, 'M');
    config.favourites = MakeHotkey(1, 0, 1, VK_F6);
}

// The data folder's "BACKUP", or the data folder itself when that is too long.
std::string StandardBackupFolder(const char* tooLongText)
{
    std::string folder = DataFilePath(DataName::kBackupFolder);
    if (folder.size() >= CConfigSettings::kBackupFolderSize) {
        ShowMessageBox(nullptr, tooLongText, ProgramTitle, kMbOk);
        folder = GetDataFolder();
    }
    return folder.substr(0, CConfigSettings::kBackupFolderSize - 1);
}

// A standard folder that cannot be made is told once a start has read the
// folder of the settings (told: true), not also for the standard one taken
// before.
void UseBackupFolder(const std::string& folder, bool told)
{
    CConfigSettings& config = ConfigSettings();
    std::snprintf(config.backupFolder, sizeof config.backupFolder, "%s", folder.c_str());
    SetCurrentBackupFolder(config.backupFolder);
    if (told)
        EnsureBackupFolder(nullptr);
    else
        EnsureBackupFolderQuietly();
    // The check may have fallen back to the standard folder.
    std::snprintf(config.backupFolder, sizeof config.backupFolder, "%s", GetCurrentBackupFolder());
}

void AppendText(char* buffer, size_t size, const std::string& more)
{
    size_t length = std::strlen(buffer);
    if (length + 1 < size)
        std::snprintf(buffer + length, size - length, "%s", more.c_str());
}
}

void LoadSettings()
{
    CConfigSettings& config = ConfigSettings();
    CUserSettings& user = UserSettings();
    {
        CSettingsTable table;
        table.Open("READ");
        table.GoTop();
        ReadProgramRow(table, config, user);
        table.Close();
    }
    SetStandardSounds(config);
    SetDefaultHotkeys(config);
    UseBackupFolder(StandardBackupFolder(
                        "The standard backup folder path is too long ?? (maximum 100 characters are allowed)"),
                    false);
    LoadMailAndBackupSettings();
    SetNoteManagerDefaults(NoteManagerOptions());
    BuildDefaultCalendarStyles(user.userId);
}

void LoadMailAndBackupSettings()
{
    CConfigSettings& config = ConfigSettings();
    std::string passPhrase;
    std::string backupFolder;
    {
        CSettingsTable table;
        table.Open("READ");
        table.GoTo(kOptionsRow);
        long initDiv = ReadNumber(table, "WINITDIV");
        config.optionsInitDiv = static_cast<WORD>(initDiv == 0 ? 1 : initDiv);
        ReadTrimmedText(table, "SZSMTP", config.smtpAccount, sizeof config.smtpAccount);
        ReadTrimmedText(table, "SZSENDER", config.smtpPassword, sizeof config.smtpPassword);
        config.smtpAuthentication = ReadFlag(table, "BCONFDEL");
        AppendText(config.senderAddress, sizeof config.senderAddress, ReadText(table, "SZFRIENDLY", 31));

        table.GoTo(kContinuationRow);
        passPhrase = ReadText(table, "SZSOUND", 100);
        AppendText(config.smtpServer, sizeof config.smtpServer, ReadText(table, "SZSMTP", 30));

        table.GoTo(kBackupRow);
        backupFolder = ReadText(table, "SZSOUND", CConfigSettings::kBackupFolderSize - 1);
        table.Close();
    }
    // An older version kept the user's pass phrase here; it moves to the user's
    // record as a password code.
    if (passPhrase.size() == 32) {
        std::string code = MakePasswordCode(passPhrase.c_str());
        std::snprintf(UserSettings().passwordCode, sizeof UserSettings().passwordCode, "%s", code.c_str());
        CSettingsTable table;
        table.Open("MAPPINGALL");
        WriteText(table, kContinuationRow, "SZSOUND", "");
        table.Close();
        SaveCurrentUserSz1(code.c_str());
    }
    if (backupFolder.find(":\\") == std::string::npos && !IsNetworkPath(backupFolder.c_str()))
        backupFolder = StandardBackupFolder(
            "The standard backup folder path is too long [maximum 100 characters are allowed)");
    UseBackupFolder(backupFolder, true);
}
