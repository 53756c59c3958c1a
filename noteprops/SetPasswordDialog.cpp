#include "noteprops/SetPasswordDialog.h"

#include <cstdio>
#include <cstring>

#include "foundation/CallbackGuard.h"
#include "foundation/EsentaSir.h"
#include "foundation/bytes/MessageBoxes.h"
#include "resources/ids/SetPasswordIds.h"
#include "shell/ProgramGlobals.h"
#include "shell/bytes/StartupPasswordCode.h"

namespace {
const int kTypedLimit = 99;

PasswordDialogBlock* BlockOf(HWND dialog)
{
    return reinterpret_cast<PasswordDialogBlock*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

std::string TypedText(HWND dialog, int id)
{
    char text[kTypedLimit + 1] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void FocusEdit(HWND dialog, int id)
{
    HWND edit = GetDlgItem(dialog, id);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

void InitDialog(HWND dialog, PasswordDialogBlock* block)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(block));
    SetWindowTextA(dialog, block->caption);
    for (int id : {IDC_SET_PASSWORD_OLD, IDC_SET_PASSWORD_NEW, IDC_SET_PASSWORD_CONFIRM})
        SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, kTypedLimit, 0);
    // Without a password there is no old one to type.
    const bool hasPassword = block->digest[0] != '\0';
    EnableWindow(GetDlgItem(dialog, IDC_SET_PASSWORD_OLD), hasPassword);
    EnableWindow(GetDlgItem(dialog, IDC_SET_PASSWORD_OLD_LABEL), hasPassword);
    FocusEdit(dialog, hasPassword ? IDC_SET_PASSWORD_OLD : IDC_SET_PASSWORD_NEW);
}

void OnOk(HWND dialog, PasswordDialogBlock& block)
{
    if (block.digest[0]) {
        std::string old = PasswordDigestText(dialog, TypedText(dialog, IDC_SET_PASSWORD_OLD).c_str());
        if (old.empty())
            return;
        if (lstrcmpiA(old.c_str(), block.digest) != 0) {
            ShowErrorMessage(dialog,
                             "Sorry, the password you have typed does not match the existing password.\r\n\r\n"
                             "Unless you provide the existing password first, you cannot alter it.",
                             ProgramTitle);
            FocusEdit(dialog, IDC_SET_PASSWORD_OLD);
            return;
        }
    }
    const std::string typed = TypedText(dialog, IDC_SET_PASSWORD_NEW);
    if (typed != TypedText(dialog, IDC_SET_PASSWORD_CONFIRM)) {
        ShowErrorMessage(dialog, "The 'new password' does not match the 'confirm new password'.", ProgramTitle);
        FocusEdit(dialog, IDC_SET_PASSWORD_CONFIRM);
        return;
    }
    std::string digest;
    if (!TrimBlanks(typed).empty()) {
        digest = PasswordDigestText(dialog, typed.c_str());
        if (digest.empty())
            return;
    }
    std::snprintf(block.digest, sizeof block.digest, "%s", digest.c_str());
    EndDialog(dialog, 1);
}

INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        InitDialog(dialog, reinterpret_cast<PasswordDialogBlock*>(lParam));
        return FALSE;
    }
    PasswordDialogBlock* block = BlockOf(dialog);
    if (message != WM_COMMAND || !block)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOk(dialog, *block);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}
}

std::string PasswordDigestText(HWND owner, const char* typed)
{
    const std::string text = TrimBlanks(typed ? typed : "");
    CEsentaSir cipher(CALG_MD5, CryptProvider().GetHandle());
    BYTE hash[CEsentaSir::kHashValueBytes];
    if (!cipher.Hash(hash, text.data(), static_cast<DWORD>(text.size()), kPasswordSalt,
                     static_cast<DWORD>(std::strlen(kPasswordSalt)))) {
        ShowErrorMessage(owner, "Information is incorrect ", ProgramTitle);
        return std::string();
    }
    return CodeFromHash(hash, sizeof hash);
}

INT_PTR CALLBACK PasswordDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return OnMessage(dialog, message, wParam, lParam); });
}

INT_PTR RunSetPasswordDialog(HWND owner, PasswordDialogBlock& block)
{
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SET_PASSWORD), owner,
                                     PasswordDlgProc, reinterpret_cast<LPARAM>(&block));
    return result == 1 ? 1 : 0;
}
