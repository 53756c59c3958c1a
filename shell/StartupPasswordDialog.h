#pragma once

#include <windows.h>

#include <string>

#include "shell/HashRecord.h"

// The dialog that asks for the start-up password, with three tries. The record
// holds the stored code (8 characters) and the user's record number.

// 1 when the right password was typed; 0 after Cancel or the third wrong try.
int RunStartupPasswordDialog(HINSTANCE instance, const CHashRecord& stored);
INT_PTR CALLBACK StartupPasswordDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The code of a typed password: the stored code typed with "#" after it, or
// the hash of the text without its surrounding blanks. Empty, after a box,
// when the hash cannot be made.
std::string StartupPasswordCode(HWND owner, const char* typed);
// 1 when the dialog's edit holds the password of the stored code; the code
// then joins the "Hashes" list.
int VerifyStartupPassword(HWND dialog, const CHashRecord& stored);
// Adds the code with the next free id, unless the list has it already (any case).
void AddToHashesList(const CHashRecord& record);
void OpenPasswordRecoveryPage(HWND owner);
