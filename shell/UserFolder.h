#pragma once

// "/u=" user folders: each user of a shared installation keeps a data folder
// of their own beside the program, filled from the template folder "QlData",
// with a lock file that warns when the same folder is in use from another
// computer.

// Checks the command line of a first start; false (after its message) stops.
// Keeps the accepted name as the user folder name.
bool CheckUserArgumentAtStart();

// Another computer's lock file in the user folder asks whether to go on; false
// stops the start (the answer No leaves every lock file as it was).
bool CheckLockFiles(const char* userFolder);
// Appends the lock text to this computer's lock file in the current folder.
void WriteOwnLockFile();
void DeleteOwnLockFile();

// Creates and fills the user's folder when needed; true when the start may go
// on (also without a user folder). The current folder is the program folder
// before and after.
bool CreateUserSubdirectory();
// False when the program folder holds "QlData"; else shows why a user folder
// cannot be filled and answers true.
bool CheckDataFolder(const char* targetFolder);
