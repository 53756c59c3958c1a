#include "shell/StartupPasswordDialog.h"

#include <cstdio>
#include <memory>

#include "foundation/CallbackGuard.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/WebAddresses.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/HelpFile.h"
#include "foundation/win/Launching.h"
#include "foundation/win/LinkStatic.h"
#include "foundation/win/SystemProbes.h"
#include "noteprops/ProtectedContent.h"
#include "resources/ids/StartupPasswordIds.h"
#include "globals/ProgramGlobals.h"

namespace {
const char kRecoveryPage[] = QN_PASSWORD_RECOVERY_PAGE;
const int kStartupPasswordTries = 3;

// What the dialog keeps while it is open.
struct PasswordDialogState {
    PasswordDialogState(HWND dialog, const CHashRecord& record) : link(dialog, IDC_PASSWORD_RECOVERY_LINK), stored(record)
    {
    }
    CLinkStatic link;
    CGdiFont font;
    CHashRecord stored;
    int tries = 0;
};

PasswordDialogState* StartupPasswordDialogStateOf(HWND dialog)
{
    return reinterpret_cast<PasswordDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void InitStartupPasswordDialog(HWND dialog, const CHashRecord& stored)
{
    auto* state = new PasswordDialogState(dialog, stored);
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    SetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, "");
    SendDlgItemMessageA(dialog, IDC_PASSWORD_EDIT, EM_LIMITTEXT, 99, 0);
    SetDlgItemTextA(dialog, IDC_PASSWORD_RECOVERY_LINK, "Password Recovery Service");
    int scheme = GetXpColorScheme();
    if (scheme == 1 || scheme == 2)
        state->link.SetBackgroundColor(RGB(236, 233, 216));
    else
        state->link.SetBackgroundColor(GetSysColor(COLOR_BTNFACE));
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    if ((windows.isWindowsXp || windows.isVistaOrLater) && windows.commonControlsMajor >= 6) {
        state->font.ChangeLogFont(LOGFONTA{-11, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"});
        SendDlgItemMessageA(dialog, IDC_PASSWORD_EDIT, WM_SETFONT, reinterpret_cast<WPARAM>(state->font.GetHFONT()),
                            TRUE);
    }
    SendDlgItemMessageA(dialog, IDC_PASSWORD_PROGRAM_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_APPLICATION)), 0);
    SendDlgItemMessageA(dialog, IDC_PASSWORD_CAPS_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_EXCLAMATION)), 0);
    SetForegroundWindow(dialog);
    SetFocus(GetDlgItem(dialog, IDC_PASSWORD_EDIT));
}

void OnStartupPasswordOk(HWND dialog, PasswordDialogState& state)
{
    ++state.tries;
    if (VerifyStartupPassword(dialog, state.stored)) {
        EndDialog(dialog, 1);
        return;
    }
    if (state.tries >= kStartupPasswordTries) {
        EndDialog(dialog, 0);
        return;
    }
    ShowErrorMessage(dialog,
                     state.tries == 1 ? "The password is incorrect, please try again (two tries remaining)"
                                      : "The password is incorrect, please try again (last try)",
                     ProgramTitle);
    HWND edit = GetDlgItem(dialog, IDC_PASSWORD_EDIT);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

INT_PTR StartupPasswordDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    PasswordDialogState* state = StartupPasswordDialogStateOf(dialog);
    switch (message) {
    case WM_INITDIALOG:
        InitStartupPasswordDialog(dialog, *reinterpret_cast<const CHashRecord*>(lParam));
        return FALSE;
    case WM_COMMAND:
        if (!state)
            return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_PASSWORD_OK:
            OnStartupPasswordOk(dialog, *state);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_PASSWORD_HELP:
            ShowHelpTopic(dialog, IDH_STARTUP_PASSWORD);
            return TRUE;
        case IDC_PASSWORD_RECOVERY_LINK:
            OpenPasswordRecoveryPage(dialog);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_HELP:
        ShowHelpTopic(dialog, IDH_STARTUP_PASSWORD);
        return TRUE;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (!state || item->CtlType == ODT_MENU || item->CtlID != IDC_PASSWORD_RECOVERY_LINK)
            return FALSE;
        state->link.DrawOwnerDrawListItem(*item);
        return TRUE;
    }
    case WM_MOUSEMOVE:
        if (state)
            state->link.EndHover();
        return FALSE;
    case WM_DESTROY:
        delete state;
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        return FALSE;
    default:
        return FALSE;
    }
}
}

INT_PTR CALLBACK StartupPasswordDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return StartupPasswordDialogMessage(dialog, message, wParam, lParam); });
}

int RunStartupPasswordDialog(HINSTANCE instance, const CHashRecord& stored)
{
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_STARTUP_PASSWORD), GetDesktopWindow(),
                                     StartupPasswordDlgProc, reinterpret_cast<LPARAM>(&stored));
    return result == 1 ? 1 : 0;
}

int VerifyStartupPassword(HWND dialog, const CHashRecord& stored)
{
    char typed[100] = "";
    GetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, typed, sizeof typed);
    std::string code = PasswordText(dialog, typed, "The password failed to be created");
    if (code.empty() || lstrcmpiA(code.c_str(), stored.name) != 0)
        return 0;
    CHashRecord typedRecord{};
    std::snprintf(typedRecord.name, sizeof typedRecord.name, "%s", code.c_str());
    AddToHashesList(typedRecord);
    return 1;
}

void OpenPasswordRecoveryPage(HWND owner)
{
    ShellOpen(owner, kRecoveryPage);
}
