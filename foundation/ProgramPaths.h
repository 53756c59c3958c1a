#pragma once

// The folders that start-up finds once and the rest of the program reads: the
// folder of the program file and the current backup folder. Both are empty until
// set, and code that would build a path from an empty folder refuses instead (a
// path such as "\UPGRADE" would name the root of the drive).

// False, and the folder left as it was, for a folder of 260 characters or more.
bool SetProgramFolder(const char* folder);
const char* GetProgramFolder();
bool IsProgramFolderKnown();

bool SetBackupFolder(const char* folder);
const char* GetBackupFolder();
