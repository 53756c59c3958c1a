#pragma once

#include <windows.h>

// Makes sure backups can be written: a current backup folder that is missing or
// refuses a test file is replaced by the standard one (the data folder's
// "BACKUP"), which is created when missing; a standard folder that cannot be
// created is reported. Non-zero when the standard folder exists afterwards.
int EnsureBackupFolder(HWND owner);
// The same without a box: for a moment when none may be shown. True when the
// standard folder exists afterwards.
bool EnsureBackupFolderQuietly();
