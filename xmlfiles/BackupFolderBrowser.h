#pragma once

#include <windows.h>

// The folder browser for the backup folder: file-system folders only, with an
// edit box; a selection without a file-system path cannot be confirmed.
struct BackupFolderRequest {
    char path[MAX_PATH] = "";  // where the browser starts; the folder chosen
    const char* title = "";    // the browser window's caption
    HWND owner = nullptr;
};

// 1 with the chosen folder in the request's path; 0 when the user cancelled.
int BrowseBackupFolder(BackupFolderRequest& request);
