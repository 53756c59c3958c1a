#pragma once

#include <windows.h>

// The start-up password of this run's user, asked before any note is loaded.
// True when the start may go on: no users table, no record of the user, the
// password off, a stored code that is not 8 characters long, or the right
// password typed. False after Cancel or three wrong tries.
bool AskStartupPassword(HINSTANCE instance);

// The record of this run's user in the data folder's users table and its
// start-up password: found, whether the password is on and the stored code.
struct StartupPasswordRecord {
    DWORD userId = 0;
    bool passwordOn = false;
    char code[51] = "";
};
// False without a table, without a matching record or for an id of 0.
bool FindStartupPasswordRecord(StartupPasswordRecord& record);

// A 32-character code left by an older version in the settings table's
// record 3 becomes the user's 8-character code: written into SZ1 of the
// user's record first, and the old field emptied only once that write stood.
// False when there was nothing to move.
bool MoveOldPasswordCode(StartupPasswordRecord& record);
