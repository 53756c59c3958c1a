#pragma once

#include <windows.h>

// The "Select chat icon" dialog: the pictures of the data folder's CHAT folder
// as thumbnails, from which the user chooses a chat avatar; another picture
// file can be copied into the folder and a picture deleted.

struct CAvatarPickerParams {
    char fileName[MAX_PATH] = "";  // in: the current avatar; out: the chosen one ("  NoImage" for none)
    DWORD fileDeleted = 0;         // set when the user deleted a picture file
};

INT_PTR CALLBACK AvatarDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally: 1 after OK with the chosen name in the parameters,
// 0 after Cancel, -1 when the dialog could not be shown.
INT_PTR RunAvatarPicker(HWND owner, CAvatarPickerParams& params);
