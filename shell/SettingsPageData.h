#pragma once

#include <windows.h>

#include <string>

#include "shell/HotkeyActionTable.h"
#include "globals/SoundSlot.h"

// What the settings sheet's pages edit: each page gets its own object, built
// from the current settings before the sheet opens; nothing reaches the
// settings until the sheet has closed with OK (applied set by the page).

struct CNetworkPageData {
    enum { kRelayServerSize = 26, kRelayPortSize = 15 };
    DWORD applied = 0;
    DWORD network = 0;
    DWORD attachments = 0;
    DWORD hideIncoming = 0;
    DWORD balloon = 0;
    DWORD chat = 0;
    DWORD savedAddresses = 0;
    DWORD autoResend = 0;
    BYTE resendAmount = 0;  // kept as they are; the page does not edit them
    BYTE resendUnit = 0;
    WORD firstPort = 0;
    WORD secondPort = 0;
    DWORD showUser = 0;
    DWORD showComputer = 0;
    char relayServer[kRelayServerSize] = "";
    char relayPort[kRelayPortSize] = "";
};

struct CEmailPageData {
    enum { kServerSize = 61, kAddressSize = 61, kShortSize = 31 };
    DWORD applied = 0;
    char smtpServer[kServerSize] = "";
    char senderAddress[kAddressSize] = "";
    char friendlyName[kShortSize] = "";
    DWORD authentication = 0;
    char accountName[kShortSize] = "";
    char password[kShortSize] = "";
    DWORD smtpPort = 25;
    DWORD html = 0;
};

// The Note page: automatic saves, dates, the Tab key and the notes' looks.
struct CNotePageData {
    WORD saveInterval = 1;  // minutes, sliderMinimum to sliderMaximum
    WORD sliderMinimum = 1;
    WORD sliderMaximum = 15;
    DWORD includeTime = 0;
    DWORD tabWidth = 2;  // spaces, 1 to 9
    DWORD notesNearMouse = 0;
    BYTE dateFormat = 1;  // 1 the program's own, 2 short, 3 long
    DWORD menuStyle = 1;  // 1 classic, 2 the XP look
    DWORD quickLaunch = 0;
    DWORD titleButton = 0;
    DWORD applied = 0;
};

// The Security page: deleting, sharing, backups and the user's password.
struct CSecurityPageData {
    enum { kPasswordSize = 51, kFolderSize = 101, kMaximumDays = 100 };
    DWORD applied = 0;
    DWORD shareNotes = 0;
    DWORD shareForEveryUser = 0;  // "Share my notes" clicked with Ctrl held
    DWORD confirmDelete = 0;
    DWORD dailyBackups = 0;
    DWORD backupDays = 7;  // 1 to kMaximumDays
    DWORD keepMonthlyBackup = 0;
    DWORD passwordMode = 2;  // 1 once per session, 2 every time
    DWORD passwordAtStart = 0;
    DWORD protectHiddenLocked = 0;
    char password[kPasswordSize] = "";  // the password's code; empty for none
    char backupFolder[kFolderSize] = "";
    DWORD maskProtectedNotes = 0;  // the session's passwords were forgotten
};

// The Sounds page: the user's four sounds, in kind order.
struct CSoundPageData {
    CSoundSlot slots[4];
    DWORD applied = 0;
};

// The current settings into each page's object, and an accepted object back
// into the settings in memory (saving is the sheet's, after it has closed).
void BuildNetworkPageData(CNetworkPageData& data);
void TakeNetworkPageData(const CNetworkPageData& data);
void BuildEmailPageData(CEmailPageData& data);
void TakeEmailPageData(const CEmailPageData& data);
// The action and style hotkeys of the table into the user's settings and the
// calendar's options; the groups are taken by ApplyGroupHotkeyChanges.
void TakeHotkeyActionTable(const HotkeyActionTable& table);

// Every page's object of one run of the sheet.
struct SettingsSheetPages {
    HotkeyActionTable hotkeys;
    CNetworkPageData network;
    CEmailPageData email;
    CNotePageData note;
    CSecurityPageData security;
    CSoundPageData sounds;
};

// What the Note and Security pages changed that the running program follows.
struct UserPagesChanges {
    bool saveInterval = false;
    bool menuStyle = false;
    bool quickLaunch = false;
    bool maskProtectedNotes = false;  // asked for, or the password mode became "every time"
};

void BuildNotePageData(CNotePageData& data);
void BuildSecurityPageData(CSecurityPageData& data);
// The user's sounds; a file named without a folder is found in the program
// folder (a path too long for a slot is reported and the slot made silent).
void BuildSoundPageData(CSoundPageData& data);
// What the user is told of a sound file whose path does not fit in a slot.
std::string SoundPathTooLongText(int kind, const char* path);
// The standard values the pages' reset buttons go back to.
void TakeStandardNoteValues(CNotePageData& data);
void TakeStandardSecurityValues(CSecurityPageData& data);
// The Note and Security objects into the settings in memory; the backup
// folder is checked and, when it cannot be used, replaced by the standard one.
UserPagesChanges TakeUserPages(const SettingsSheetPages& pages);
// The standard backup folder: the data folder's "BACKUP".
std::string StandardBackupFolderPath();
