#pragma once

#include <windows.h>

#include "shell/HotkeyActionTable.h"

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
};
