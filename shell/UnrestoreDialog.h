#pragma once

#include <windows.h>

// "Unrestore notes...": asks whether to go back to the notes of before the
// last restore, made at the time the text tells. 1 for Yes, 0 for No.
int RunUnrestoreDialog(HWND owner, const char* restoreTimeText);
