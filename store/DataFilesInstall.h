#pragma once

// The data files at start-up: a first installation from the program's
// "UPGRADE" folder, the check that every table is there, and the upgrade of
// tables of older versions, after which "UPGRADE" is removed. Each table an
// upgrade replaces is first kept under its name with "Old" added.

// The current data version, times 100.
enum { kCurrentDataVersion = 500 };

// 1 when the program may go on, 0 when it must stop (after a message naming
// the missing table). Table failures of an upgrade throw CGenericException.
int InstallDataFiles();

// Writes 5.00 into the settings table's VERSION unless it holds it already.
void SetConfigVersion();
// Tables of version 4: the sent-to and transaction tables rebuilt in the
// present layout with every row of every user.
void UpgradeSentToTransact();
// Tables of versions 2 and 3: a new settings and sounds table as well.
void UpgradeConfig();

// The file steps of an upgrade. They report nothing: a table still missing
// afterwards is caught by the check that follows.
void CopyFromUpgrade(const char* name);
void KeepOldCopy(const char* name, const char* oldName);
