#pragma once

#include <windows.h>

#include "globals/HashRecord.h"

// The dialog that asks for the start-up password, with three tries. The record
// holds the stored code (8 characters) and the user's record number.

// 1 when the right password was typed; 0 after Cancel or the third wrong try.
int RunStartupPasswordDialog(HINSTANCE instance, const CHashRecord& stored);
INT_PTR CALLBACK StartupPasswordDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// 1 when the dialog's edit holds the password of the stored code; the code
// then joins the "Hashes" list.
int VerifyStartupPassword(HWND dialog, const CHashRecord& stored);
void OpenPasswordRecoveryPage(HWND owner);
