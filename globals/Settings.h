#pragma once

#include <windows.h>

#include "globals/NoteStyle.h"
#include "globals/SoundSlot.h"
#include "store/bytes/PackedValues.h"

// The program's settings in memory: CConfigSettings holds the program-wide values
// of the settings table ("config.QPD"), CUserSettings those of the current user
// (the user's record of "users.QPD", read on top of the program values). Both
// are program-wide objects (ProgramGlobals.h); the loaders and savers of the
// store fill and write them, everything else reads them.

// The twelve switches that say whether each action hotkey is registered at all.
enum HotkeyEnableIndex {
    kEnableNewNote,
    kEnableNewClipboardNote,
    kEnableShowAll,
    kEnableHideAll,
    kEnableShowLast,
    kEnableShowDesktop,
    kEnableParkDesktop,
    kEnableFindText,
    kEnableNewAlarmNote,
    kEnableNoteManager,
    kEnableFavourites,
    kEnableStyles,
    kHotkeyEnableCount
};

// What new notes look like by default.
struct CNoteDefaults {
    COLORREF noteColor = 0;
    COLORREF textColor = 0;
    COLORREF titleColor = 0;
    COLORREF titleTextColor = 0;
    DWORD rollUp = 0;
    DWORD showDate = 0;
    DWORD stayOnTop = 0;
    DWORD hasBorder = 0;
    LOGFONTA bodyFont = {};
    LOGFONTA titleFont = {};
    WORD newNoteWidth = 0;
    WORD newNoteHeight = 0;
    // Taken from a note with "Use these settings for new notes" for the rest
    // of the run: the users table has no fields for them, so every start
    // begins with none.
    DWORD horizontalLines = 0;
    DWORD plainText = 0;
    DWORD leftMarginKind = 0;  // 0 to 4, as a note style's
    DWORD backgroundKind = 0;  // 0 to 5, as a note style's
    WORD textureId = 0;
    BYTE textureStretch = 0;
    BYTE transparency = 0;     // percent
};

// Delayed sending and automatic resending of notes: on, amount and unit.
struct CRepeatSetting {
    DWORD on = 0;
    BYTE amount = 0;
    BYTE unit = 0;
};

class CConfigSettings {
public:
    enum {
        kSmtpServerSize = 61,     // 30 characters in row 1, 30 in row 3
        kSenderAddressSize = 62,  // 30 characters in row 1, the rest in row 2
        kShortTextSize = 31,
        kRelayServerSize = 26,
        kRelayPortSize = 15,
        kBackupFolderSize = 101,
    };

    // Program row (row 1).
    CNoteDefaults note;
    BYTE dateFormat = 0;
    DWORD menuStyle = 1;  // 1 classic menus, 2 the XP look
    DWORD networkOn = 0;
    DWORD attachedFiles = 0;
    DWORD hideReceived = 0;
    DWORD deleteSent = 0;
    DWORD useSavedAddresses = 0;
    DWORD showSenderUser = 0;
    DWORD showSenderComputer = 0;
    DWORD shareNotes = 0;
    DWORD stylesInRotation = 0;  // BINCTIME
    DWORD confirmDelete = 0;     // BCONFDEL of row 1
    CHotkeySetting newNote, newClipboardNote, showAll, hideAll, showLast, showDesktop;
    WORD saveInterval = 0;  // WSAVEINT
    WORD initDiv = 0;       // WINITDIV of row 1
    WORD language = 0;      // WLANGUAGE
    double dTimes = 0;
    char smtpServer[kSmtpServerSize] = "";
    char senderAddress[kSenderAddressSize] = "";
    char senderName[kShortTextSize] = "";
    char relayServer[kRelayServerSize] = "";
    char relayPort[kRelayPortSize] = "";
    DWORD titleButtonOnHover = 0;  // BHSCROLL
    DWORD quickLaunch = 0;         // BRECEIVED1
    DWORD notesNearMouse = 0;      // BSENT1
    DWORD htmlMail = 0;            // BVSCROLL
    DWORD sentOption = 0;          // BSENT
    DWORD receivedOption = 0;      // BRECEIVED
    BYTE w2 = 0;
    WORD w1 = 0;
    DWORD firstRunSwitch = 0;  // goes back to 1 with w1 and w2 on an old options row
    int smtpPort = 25;
    CRepeatSetting delay;
    CRepeatSetting retry;
    DWORD autoBackup = 0;
    int autoBackupNumber = 0;  // IAUTOBACK

    // Options row (row 2) and its continuation (row 3).
    WORD optionsInitDiv = 1;  // WINITDIV of row 2, never 0
    char smtpAccount[kShortTextSize] = "";
    char smtpPassword[kShortTextSize] = "";
    DWORD smtpAuthentication = 0;

    // The hotkeys the table does not hold.
    CHotkeySetting parkDesktop, findText, newAlarmNote, noteManager, favourites;

    // The standard sounds, by kind 1 to 4 (index kind - 1).
    CSoundSlot sounds[4];
    char backupFolder[kBackupFolderSize] = "";
    // The nine standard note styles.
    CNoteStyle styles[9];
};

class CUserSettings {
public:
    enum {
        kNameSize = 26,
        kTitleSize = 41,
        kPasswordCodeSize = 9,  // 8 lower-case hex characters
        kSoundPathSize = 101,
    };

    DWORD userId = 0;  // the user's record number in the users table
    char userName[kNameSize] = "";
    char computerName[kNameSize] = "";
    CNoteDefaults note;
    char title[kTitleSize] = "";  // default title of new notes
    CHotkeySetting newNote, newClipboardNote, showAll, hideAll, showLast;
    // Packed into the users table: show-desktop, park, find-text and alarm-note
    // in SZINITTEXT, the Note Manager in BYDELAY, favourites in WLISTENPOR.
    CHotkeySetting showDesktop, parkDesktop, findText, newAlarmNote, noteManager, favourites;
    DWORD hotkeyEnabled[kHotkeyEnableCount] = {};
    BYTE dateFormat = 0;
    DWORD networkOn = 0;
    DWORD chatOn = 0;  // BDELAY: chat requests are accepted
    DWORD hideReceived = 0;
    DWORD useSavedAddresses = 0;
    DWORD showSenderUser = 0;
    DWORD showSenderComputer = 0;
    DWORD balloonOnReceive = 0;     // BSENT1
    DWORD shareNotes = 0;
    DWORD datesWithTime = 0;        // BSENT
    DWORD confirmDelete = 0;        // BRECEIVED
    DWORD passwordAtStart = 0;      // BRECEIVED1
    DWORD protectHiddenLocked = 0;  // BHSCROLL
    DWORD keepMonthlyBackup = 0;    // BVSCROLL
    DWORD deleteSent = 0;           // BDELSENT
    DWORD displayScroll = 0;        // BDISPSCROL
    WORD passwordMode = 2;          // W1: 1 once per run, 2 each time
    char passwordCode[kPasswordCodeSize] = "";
    BYTE alarmSoundType = 0;  // BYNOISE
    char alarmSoundPath[kSoundPathSize] = "";
    WORD alarmReplay = 0;  // WREPLAY
    DWORD tabWidth = 2;    // DISPLRETRY of the users table, 1 to 9
    WORD saveInterval = 1;
    WORD language = 0;
    DWORD lastTransactionId = 0;
    DWORD autoBackup = 0;   // BYIPPART1 above 0
    DWORD backupDays = 7;   // BYIPPART2, 1 to 100
    BYTE threeDigits[3] = {};  // packed in BYIPPART3
    BYTE twoDigits[2] = {};    // packed in BYIPPART4
    CRepeatSetting retry;
    WORD listenPort = 0;
    WORD sendPort = 0;
    // The user's nine note styles.
    CNoteStyle styles[9];
};
