#pragma once

#include <windows.h>

#include <string>

// The dialog that sets, changes or clears the user's password, which opens
// the start-up and protects hidden locked notes. A password that is set must
// be typed first before it can be changed; the new one is typed twice.

struct PasswordDialogBlock {
    char digest[101];   // the current password's code (empty for none); the new one after OK
    char caption[100];  // the dialog's caption
};

// Non-zero after OK with the new code in the block (empty when the new
// password was left empty, which removes the password); 0 after Cancel.
INT_PTR RunSetPasswordDialog(HWND owner, PasswordDialogBlock& block);
INT_PTR CALLBACK PasswordDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The code kept for a typed password: its hash, with the blanks around it
// left out, as 8 lower-case hexadecimal characters; empty, after a box, when
// the hash cannot be made.
std::string PasswordDigestText(HWND owner, const char* typed);
