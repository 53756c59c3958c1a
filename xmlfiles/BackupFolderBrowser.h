#pragma once

#include <windows.h>

// The folder browser for the backup folder: file-system folders only, with an
// edit box; a selection without a file-system path cannot be confirmed. Its
// status line, at its foot, shows the folder chosen or why it cannot be.
// The shell's newer browser would hide that line, so the classic one is used
// on every system.
struct BackupFolderRequest {
    char path[MAX_PATH] = "";  // where the browser starts; the folder chosen
    const char* title = "";    // the browser window's caption
    HWND owner = nullptr;
};

// 1 with the chosen folder in the request's path; 0 when the user cancelled.
int BrowseBackupFolder(BackupFolderRequest& request);
