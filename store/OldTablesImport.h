#pragma once

#include <windows.h>

// Tables of versions before 2 (no VERSION in the settings table, older columns
// in the users and notes tables) carried into the present ones: the settings
// table is replaced, every old user becomes a new user record after those the
// new table ships with, and every old note is added with its owner's new id.
// The old sent-to and transaction tables are replaced by empty ones. Each
// replaced table is kept with "Old" added to its name. The new settings table
// carries a mark while the import runs and the current version only at its
// end: a start after a stop half-way puts the kept users and notes back and
// imports them again. A file step that fails throws CGenericException.
void MigrateOldDataFiles();

// The users, appended after the records the new users table already holds;
// returns how many it held (the amount every old user id is raised by).
DWORD UpgradeConfigAndUsers();
