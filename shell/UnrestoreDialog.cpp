#include "shell/UnrestoreDialog.h"

#include "foundation/CallbackGuard.h"
#include "foundation/ResourceData.h"
#include "resources/ids/RestoreIds.h"
#include "shell/BackupDialogButtons.h"

namespace {
const DWORD kUnrestoreHelpTopic = 817;

// The dialog's caution, the time of the restore and its picture, set as it opens.
class CUnrestoreDialog {
public:
    CUnrestoreDialog(HWND dialog, const char* restoreTimeText)
    {
        SetDlgItemTextA(dialog, IDC_UNRESTORE_CAUTION, ResourceText(IDS_UNRESTORE_CAUTION).c_str());
        SetDlgItemTextA(dialog, IDC_UNRESTORE_DATE, restoreTimeText ? restoreTimeText : "");
        HICON warning = LoadIconA(nullptr, IDI_WARNING);
        SendDlgItemMessageA(dialog, IDC_UNRESTORE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(warning), 0);
        SetForegroundWindow(dialog);
    }
};

INT_PTR UnrestoreDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        CUnrestoreDialog(dialog, reinterpret_cast<const char*>(lParam));
        return TRUE;
    }
    return OnYesNoHelp(dialog, message, wParam, kUnrestoreHelpTopic) ? TRUE : FALSE;
}

INT_PTR CALLBACK UnrestoreDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return UnrestoreDialogMessage(dialog, message, wParam, lParam); });
}
}

int RunUnrestoreDialog(HWND owner, const char* restoreTimeText)
{
    INT_PTR answer = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_UNRESTORE), owner,
                                     &UnrestoreDialogProc, reinterpret_cast<LPARAM>(restoreTimeText));
    return answer == 1 ? 1 : 0;
}
