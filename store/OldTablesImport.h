#pragma once

#include <windows.h>

// Tables of versions before 2 (no VERSION in the settings table, older columns
// in the users and notes tables) carried into the present ones: the settings
// table is replaced, every old user becomes a new user record after those the
// new table ships with, and every old note is added with its owner's new id.
// The old sent-to and transaction tables are replaced by empty ones. Each
// replaced table is kept with "Old" added to its name.
void MigrateOldDataFiles();

// The users, appended after the records the new users table already holds;
// returns how many it held (the amount every old user id is raised by).
DWORD UpgradeConfigAndUsers();
