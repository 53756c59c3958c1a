// The Email sending page of the settings sheet: the SMTP server and port, the
// sender's address with an optional friendly name, HTML mail, and the
// account for AUTH LOGIN. Its values are checked whenever the page is left
// or the sheet is closed with OK; a refusal keeps the user on the page.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/HelpFile.h"
#include "resources/ids/EmailPageIds.h"
#include "shell/SettingsPageData.h"
#include "shell/SettingsPageControls.h"
#include "shell/SettingsPages.h"
#include "net/bytes/SenderAddress.h"

namespace {
const int kPortChars = 5;
const int kAddressChars = 90;

CEmailPageData* SettingsEmailPageDataOf(HWND page)
{
    return reinterpret_cast<CEmailPageData*>(GetWindowLongPtrA(page, GWLP_USERDATA));
}

void RefuseEmailValue(HWND page, int id, const char* text)
{
    ShowMessageBox(page, text, "Quillnet+", MB_OK | MB_ICONERROR);
    SetFocus(GetDlgItem(page, id));
}

void UpdateEmailPageStates(HWND page, const CEmailPageData& data)
{
    for (int id : {IDC_EMAIL_ACCOUNT, IDC_EMAIL_PASSWORD, IDC_EMAIL_ACCOUNT_HELP, IDC_EMAIL_PASSWORD_HELP,
                   IDC_EMAIL_ACCOUNT_LABEL, IDC_EMAIL_PASSWORD_LABEL})
        EnableWindow(GetDlgItem(page, id), data.authentication ? TRUE : FALSE);
}

template <size_t N>
void CopyToSettingsEmailPage(char (&to)[N], const std::string& from)
{
    std::snprintf(to, N, "%s", from.c_str());
}

// The edits into the data object; false, after telling the user, when the
// port or the address is refused (the object keeps its earlier values).
bool TakeValues(HWND page, CEmailPageData& data)
{
    const std::string port = TrimmedItemText(page, IDC_EMAIL_PORT, kPortChars);
    const unsigned long portNumber = port.empty() ? 0 : std::strtoul(port.c_str(), nullptr, 10);
    if (portNumber == 0) {
        RefuseEmailValue(page, IDC_EMAIL_PORT, "Please enter a value greater than zero");
        return false;
    }
    if (portNumber > 65535) {
        RefuseEmailValue(page, IDC_EMAIL_PORT, "The port number must not be greater than 65535.");
        return false;
    }
    const SenderAddressParse sender = ParseSenderAddress(TrimmedItemText(page, IDC_EMAIL_ADDRESS, kSenderTextMax));
    if (!sender.accepted) {
        if (!sender.reason.empty())
            ShowMessageBox(page, sender.reason.c_str(), "Quillnet+", MB_OK | MB_ICONERROR);
        RefuseEmailValue(page, IDC_EMAIL_ADDRESS, "Incorrect email address");
        return false;
    }
    CopyToSettingsEmailPage(data.smtpServer, TrimmedItemText(page, IDC_EMAIL_SERVER, CEmailPageData::kServerSize - 1));
    data.smtpPort = portNumber;
    CopyToSettingsEmailPage(data.senderAddress, sender.address);
    CopyToSettingsEmailPage(data.friendlyName, sender.friendlyName);
    CopyToSettingsEmailPage(data.accountName, TrimmedItemText(page, IDC_EMAIL_ACCOUNT, CEmailPageData::kShortSize - 1));
    CopyToSettingsEmailPage(data.password, TrimmedItemText(page, IDC_EMAIL_PASSWORD, CEmailPageData::kShortSize - 1));
    return true;
}

void InitEmailPage(HWND page, CEmailPageData* data)
{
    SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    const struct {
        int id;
        int limit;
        PageEditChars allowed;
    } edits[] = {
        {IDC_EMAIL_SERVER, CEmailPageData::kServerSize - 1, PageEditChars::kAny},
        {IDC_EMAIL_ADDRESS, kAddressChars, PageEditChars::kAny},
        {IDC_EMAIL_PORT, kPortChars, PageEditChars::kDigits},
        {IDC_EMAIL_ACCOUNT, CEmailPageData::kShortSize - 1, PageEditChars::kAny},
        {IDC_EMAIL_PASSWORD, CEmailPageData::kShortSize - 1, PageEditChars::kAny},
    };
    for (const auto& edit : edits) {
        SendDlgItemMessageA(page, edit.id, EM_LIMITTEXT, edit.limit, 0);
        if (edit.id != IDC_EMAIL_ACCOUNT && edit.id != IDC_EMAIL_PASSWORD)
            SubclassPageEdit(GetDlgItem(page, edit.id), edit.allowed);
    }
    SetDlgItemTextA(page, IDC_EMAIL_SERVER, data->smtpServer);
    SetDlgItemTextA(page, IDC_EMAIL_ADDRESS, FormatSenderAddress(data->senderAddress, data->friendlyName).c_str());
    SetDlgItemTextA(page, IDC_EMAIL_PORT, std::to_string(data->smtpPort).c_str());
    SetDlgItemTextA(page, IDC_EMAIL_ACCOUNT, data->accountName);
    SetDlgItemTextA(page, IDC_EMAIL_PASSWORD, data->password);
    CheckItem(page, IDC_EMAIL_HTML, data->html);
    CheckItem(page, IDC_EMAIL_AUTHENTICATION, data->authentication);
    UpdateEmailPageStates(page, *data);
}

INT_PTR OnEmailPageCommand(HWND page, CEmailPageData& data, WPARAM wParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_EMAIL_AUTHENTICATION:
        data.authentication = ItemChecked(page, IDC_EMAIL_AUTHENTICATION);
        UpdateEmailPageStates(page, data);
        return TRUE;
    case IDC_EMAIL_HTML:
        data.html = ItemChecked(page, IDC_EMAIL_HTML);
        return TRUE;
    default:
        return FALSE;
    }
}
}

INT_PTR CALLBACK EmailPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            InitEmailPage(page, PageCreationData<CEmailPageData>(lParam));
            return TRUE;
        }
        CEmailPageData* data = SettingsEmailPageDataOf(page);
        if (!data)
            return FALSE;
        switch (message) {
        case WM_NOTIFY:
            return AnswerPageNotify(page, reinterpret_cast<const NMHDR*>(lParam)->code, data->applied, IDH_EMAIL_PAGE,
                                    [&] { return TakeValues(page, *data); });
        case WM_COMMAND:
            return OnEmailPageCommand(page, *data, wParam);
        case WM_HELP:
            ShowHelpTopic(page, IDH_EMAIL_PAGE);
            return TRUE;
        default:
            return FALSE;
        }
    });
}
