#pragma once

#include <windows.h>

// The avatar picker: a modal dialog that shows the pictures of the data
// folder's CHAT folder and lets the user choose one as the chat avatar.
//
// Opens the picker over the owner with the current avatar's file name; true
// with the chosen name (a file of CHAT, or "  NoImage") after OK, false when
// nothing was picked. This version has no picker yet and picks nothing.
bool RunAvatarPicker(HWND owner, const char* currentName, char* chosen, int chosenSize);
