// The Network page of the settings sheet: network and chat switches, what
// received notes may carry and show, automatic resending, the two ports the
// program listens on and the relay server. The typed ports are checked as
// their edit is left: a refusal holds the sheet's OK and keeps the user in
// the edit until the ports are right, and the page cannot be left meanwhile.
// Leaving the page and OK check them again.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/HelpFile.h"
#include "foundation/win/Tooltips.h"
#include "resources/ids/NetworkPageIds.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "shell/SettingsPageData.h"
#include "shell/SettingsPageControls.h"
#include "shell/SettingsPages.h"
#include "shell/bytes/ListeningPorts.h"

namespace {
const int kPortsTextLimit = 30;
const int kRelayPortChars = 5;

CNetworkPageData* SettingsNetworkPageDataOf(HWND page)
{
    return reinterpret_cast<CNetworkPageData*>(GetWindowLongPtrA(page, GWLP_USERDATA));
}

// The check boxes that only mirror a flag.
struct NetworkFlagBox {
    int id;
    DWORD CNetworkPageData::*flag;
};
const NetworkFlagBox kNetworkFlagBoxes[] = {
    {IDC_NETWORK_ON, &CNetworkPageData::network},
    {IDC_NETWORK_CHAT, &CNetworkPageData::chat},
    {IDC_NETWORK_HIDE_INCOMING, &CNetworkPageData::hideIncoming},
    {IDC_NETWORK_BALLOON, &CNetworkPageData::balloon},
    {IDC_NETWORK_ATTACHMENTS, &CNetworkPageData::attachments},
    {IDC_NETWORK_SAVED_ADDRESSES, &CNetworkPageData::savedAddresses},
    {IDC_NETWORK_SHOW_USER, &CNetworkPageData::showUser},
    {IDC_NETWORK_SHOW_COMPUTER, &CNetworkPageData::showComputer},
    {IDC_NETWORK_RESEND, &CNetworkPageData::autoResend},
};

template <size_t N>
void CopyToSettingsNetworkPage(char (&to)[N], const std::string& from)
{
    std::snprintf(to, N, "%s", from.c_str());
}

// The typed ports and relay server into the data object; false, after telling
// the user, when the ports are refused.
bool TakeTypedValues(HWND page, CNetworkPageData& data)
{
    char text[kPortsTextLimit + 1] = "";
    GetDlgItemTextA(page, IDC_NETWORK_PORTS, text, sizeof(text));
    ListeningPortsCheck check = CheckListeningPorts(text);
    if (check.error) {
        ShowMessageBox(page, check.error, "Quillnet+", MB_OK | MB_ICONERROR);
        SetFocus(GetDlgItem(page, IDC_NETWORK_PORTS));
        return false;
    }
    data.firstPort = check.first;
    data.secondPort = check.second;
    CopyToSettingsNetworkPage(data.relayServer, TrimmedItemText(page, IDC_NETWORK_RELAY_SERVER, CNetworkPageData::kRelayServerSize - 1));
    CopyToSettingsNetworkPage(data.relayPort, TrimmedItemText(page, IDC_NETWORK_RELAY_PORT, CNetworkPageData::kRelayPortSize - 1));
    return true;
}

HWND SheetOk(HWND page)
{
    return GetDlgItem(GetParent(page), IDOK);
}

void CheckPortsOnLeaving(HWND edit, HWND)
{
    HWND page = GetParent(edit);
    CNetworkPageData* data = SettingsNetworkPageDataOf(page);
    if (!data)
        return;
    char text[kPortsTextLimit + 1] = "";
    GetWindowTextA(edit, text, sizeof(text));
    ListeningPortsCheck check = CheckListeningPorts(text);
    if (check.error) {
        EnableWindow(SheetOk(page), FALSE);
        ShowMessageBox(page, check.error, "Quillnet+", MB_OK | MB_ICONERROR);
        SetFocus(edit);
        return;
    }
    data->firstPort = check.first;
    data->secondPort = check.second;
    EnableWindow(SheetOk(page), TRUE);
}

// The page is left (for another tab, or by OK) only with the ports accepted.
bool NetworkPageMayLeave(HWND page, CNetworkPageData& data)
{
    if (!IsWindowEnabled(SheetOk(page))) {
        ShowMessageBox(page, "Before leaving the dialog box, please check the values of the two listening ports.",
                       "Quillnet+", MB_OK | MB_ICONERROR);
        SetFocus(GetDlgItem(page, IDC_NETWORK_PORTS));
        return false;
    }
    return TakeTypedValues(page, data);
}

void UpdateNetworkPageStates(HWND page, const CNetworkPageData& data)
{
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    const bool balloons = windows.isWindows2000 || windows.isWindowsXp || windows.isVistaOrLater;
    EnableWindow(GetDlgItem(page, IDC_NETWORK_BALLOON), balloons ? TRUE : FALSE);
    EnableWindow(GetDlgItem(page, IDC_NETWORK_CHAT), data.network ? TRUE : FALSE);
}

void ShowNetworkValues(HWND page, const CNetworkPageData& data)
{
    for (const NetworkFlagBox& box : kNetworkFlagBoxes)
        CheckItem(page, box.id, data.*box.flag);
    SetDlgItemTextA(page, IDC_NETWORK_PORTS, FormatListeningPorts(data.firstPort, data.secondPort).c_str());
    // The port first: a server shown without one takes the second listening port.
    SetDlgItemTextA(page, IDC_NETWORK_RELAY_PORT, data.relayPort);
    SetDlgItemTextA(page, IDC_NETWORK_RELAY_SERVER, data.relayServer);
    UpdateNetworkPageStates(page, data);
}

// This computer's name and its first IPv4 address, for the user to give to
// the people who send notes here.
std::string ProtocolLine()
{
    std::string line = GetStartupValues().computerName;
    char host[256] = "";
    if (gethostname(host, sizeof host) == 0) {
        if (hostent* entry = gethostbyname(host)) {
            if (entry->h_addrtype == AF_INET && entry->h_addr_list && entry->h_addr_list[0]) {
                in_addr address;
                memcpy(&address, entry->h_addr_list[0], sizeof address);
                line += " - ";
                line += inet_ntoa(address);
            }
        }
    }
    return line;
}

void InitNetworkPage(HWND page, CNetworkPageData* data)
{
    SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    SetDlgItemTextA(page, IDC_NETWORK_PROTOCOL, ProtocolLine().c_str());
    SendDlgItemMessageA(page, IDC_NETWORK_PORTS, EM_LIMITTEXT, kPortsTextLimit, 0);
    SubclassPageEdit(GetDlgItem(page, IDC_NETWORK_PORTS), PageEditChars::kDigitsAndComma, &CheckPortsOnLeaving);
    SendDlgItemMessageA(page, IDC_NETWORK_RELAY_SERVER, EM_LIMITTEXT, CNetworkPageData::kRelayServerSize - 1, 0);
    SendDlgItemMessageA(page, IDC_NETWORK_RELAY_PORT, EM_LIMITTEXT, kRelayPortChars, 0);
    ShowNetworkValues(page, *data);
    HWND tooltip = CreateTooltipControl(page);
    AddTooltipSubclass(tooltip, GetStartupValues().computerName, page, GetDlgItem(page, IDC_NETWORK_SHOW_COMPUTER));
    AddTooltipSubclass(tooltip, GetStartupValues().userName, page, GetDlgItem(page, IDC_NETWORK_SHOW_USER));
}

// A relay server without a port is reached on the second listening port.
void CompleteRelayPort(HWND page, CNetworkPageData& data)
{
    if (TrimmedItemText(page, IDC_NETWORK_RELAY_SERVER, CNetworkPageData::kRelayServerSize - 1).empty())
        return;
    const std::string port = TrimmedItemText(page, IDC_NETWORK_RELAY_PORT, kRelayPortChars);
    if (!port.empty() && std::strtoul(port.c_str(), nullptr, 10) != 0)
        return;
    CopyToSettingsNetworkPage(data.relayPort, std::to_string(data.secondPort));
    SetDlgItemTextA(page, IDC_NETWORK_RELAY_PORT, data.relayPort);
}

void ResetNetworkPage(HWND page, CNetworkPageData& data)
{
    const CConfigSettings& config = ConfigSettings();
    const CUserSettings& user = UserSettings();
    data.network = config.networkOn != 0;
    data.chat = config.delay.on != 0;
    data.hideIncoming = config.hideReceived != 0;
    data.balloon = config.notesNearMouse != 0;
    data.attachments = config.attachedFiles != 0;
    data.savedAddresses = config.useSavedAddresses != 0;
    data.showUser = config.showSenderUser != 0;
    data.showComputer = config.showSenderComputer != 0;
    data.autoResend = config.retry.on != 0;
    data.firstPort = user.listenPort;
    data.secondPort = user.sendPort;
    data.relayServer[0] = '\0';
    data.relayPort[0] = '\0';
    ShowNetworkValues(page, data);
    EnableWindow(SheetOk(page), TRUE);
}

INT_PTR OnNetworkPageCommand(HWND page, CNetworkPageData& data, int id, int code)
{
    if ((id == IDC_NETWORK_RELAY_SERVER && (code == EN_CHANGE || code == EN_KILLFOCUS)) ||
        (id == IDC_NETWORK_RELAY_PORT && (code == EN_SETFOCUS || code == EN_KILLFOCUS))) {
        CompleteRelayPort(page, data);
        return TRUE;
    }
    if (code != BN_CLICKED)
        return FALSE;
    if (id == IDC_NETWORK_RESET) {
        ResetNetworkPage(page, data);
        return TRUE;
    }
    for (const NetworkFlagBox& box : kNetworkFlagBoxes) {
        if (box.id != id)
            continue;
        data.*box.flag = ItemChecked(page, id);
        if (id == IDC_NETWORK_ON) {
            // Chat goes with the network.
            data.chat = data.network;
            CheckItem(page, IDC_NETWORK_CHAT, data.chat);
        } else if (id == IDC_NETWORK_RESEND && !data.autoResend) {
            char text[128] = "";
            LoadStringA(GetModuleHandleA(nullptr), IDS_NETWORK_RESEND_CANCELLED, text, sizeof text);
            ShowMessageBox(page, text, "Quillnet...", MB_OK | MB_ICONWARNING);
        }
        UpdateNetworkPageStates(page, data);
        return TRUE;
    }
    return FALSE;
}
}

INT_PTR CALLBACK NetworkPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            InitNetworkPage(page, PageCreationData<CNetworkPageData>(lParam));
            return TRUE;
        }
        CNetworkPageData* data = SettingsNetworkPageDataOf(page);
        if (!data)
            return FALSE;
        switch (message) {
        case WM_COMMAND:
            return OnNetworkPageCommand(page, *data, LOWORD(wParam), HIWORD(wParam));
        case WM_NOTIFY:
            return AnswerPageNotify(page, reinterpret_cast<const NMHDR*>(lParam)->code, data->applied,
                                    IDH_NETWORK_PAGE, [&] { return NetworkPageMayLeave(page, *data); });
        case WM_HELP:
            ShowHelpTopic(page, IDH_NETWORK_PAGE);
            return TRUE;
        default:
            return FALSE;
        }
    });
}
