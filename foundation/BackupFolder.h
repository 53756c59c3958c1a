#pragma once

// The current backup folder: the settings loader sets it from the settings
// table, and the Settings sheet when the user picks another. Empty until then.

// False, and the folder left as it was, for a path of 260 characters or more.
bool SetCurrentBackupFolder(const char* folder);
const char* GetCurrentBackupFolder();
