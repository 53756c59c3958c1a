// The Network page of the settings sheet: the two ports the program listens
// on. The typed ports are checked whenever the page is left or the sheet is
// closed with OK; a refusal keeps the user on the page with the ports edit.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/MessageBoxes.h"
#include "resources/ids/NetworkPageIds.h"
#include "shell/SettingsPageData.h"
#include "shell/SettingsPages.h"
#include "shell/bytes/ListeningPorts.h"

namespace {
const int kPortsTextLimit = 30;

CNetworkPageData* PageData(HWND page)
{
    return reinterpret_cast<CNetworkPageData*>(GetWindowLongPtrA(page, GWLP_USERDATA));
}

// The typed ports into the data object; false, after telling the user, when
// they are refused.
bool TakePorts(HWND page, CNetworkPageData& data)
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
    return true;
}

void InitPage(HWND page, CNetworkPageData* data)
{
    SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    SendDlgItemMessageA(page, IDC_NETWORK_PORTS, EM_LIMITTEXT, kPortsTextLimit, 0);
    SetDlgItemTextA(page, IDC_NETWORK_PORTS, FormatListeningPorts(data->firstPort, data->secondPort).c_str());
}

INT_PTR OnNotify(HWND page, const NMHDR* header)
{
    CNetworkPageData* data = PageData(page);
    if (!data)
        return FALSE;
    switch (header->code) {
    case PSN_KILLACTIVE:
        SetWindowLongPtrA(page, DWLP_MSGRESULT, TakePorts(page, *data) ? FALSE : TRUE);
        return TRUE;
    case PSN_APPLY:
        if (!TakePorts(page, *data)) {
            SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_INVALID_NOCHANGEPAGE);
            return TRUE;
        }
        data->applied = 1;
        SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
    case PSN_RESET:
        data->applied = 0;
        return TRUE;
    default:
        return FALSE;
    }
}
}

INT_PTR CALLBACK NetworkPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        switch (message) {
        case WM_INITDIALOG:
            InitPage(page, reinterpret_cast<CNetworkPageData*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam));
            return TRUE;
        case WM_NOTIFY:
            return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
        default:
            return FALSE;
        }
    });
}
