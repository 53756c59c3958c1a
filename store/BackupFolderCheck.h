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

// What keeps backups from being written when the standard folder is needed
// and cannot be made.
enum class BackupFolderTrouble {
    kNone,
    kFileInTheWay,   // a file named BACKUP stands in the data folder
    kCannotBeMade,   // the folder cannot be created (a read-only or full drive, say)
};
// EnsureBackupFolderQuietly, and why it failed.
BackupFolderTrouble EnsureBackupFolderTrouble();
