#pragma once

// The data files at start-up: a first installation from the program's
// "UPGRADE" folder, the check that every table is there, and the upgrade of
// tables of older versions, after which "UPGRADE" is removed. Each table an
// upgrade replaces is first kept under its name with "Old" added.

// The current data version, times 100; and the version the settings table
// carries while the import of tables without a version is under way, so that
// a start after a stop half-way runs the import again.
enum { kCurrentDataVersion = 500, kImportUnfinishedVersion = 1 };

// 1 when the program may go on, 0 when it must stop (after a message naming
// the missing table, or the step of the upgrade that failed). "UPGRADE" is
// removed only when every table is installed and current, the version
// written last.
int InstallDataFiles();

// Writes 5.00 into the settings table's VERSION unless it holds it already.
void SetConfigVersion();
// Tables of version 4: the sent-to and transaction tables rebuilt in the
// present layout with every row of every user.
void UpgradeSentToTransact();
// Tables of versions 2 and 3: a new settings and sounds table as well, the
// settings table last.
void UpgradeConfig();
