#pragma once

#include <windows.h>

// The dialog that sets, changes or clears the user's password, which opens
// the start-up and protects locked notes. A password that is set must be
// typed first before the new one can be; the new one is typed twice alike.

struct PasswordDialogBlock {
    char digest[101];   // the current password text (empty for none); the new one after OK
    char caption[100];  // the dialog's caption
};

// Non-zero after OK with the new password text in the block (empty when the
// new password was left empty, which removes the password); 0 after Cancel.
INT_PTR RunSetPasswordDialog(HWND owner, PasswordDialogBlock& block);
INT_PTR CALLBACK PasswordDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
