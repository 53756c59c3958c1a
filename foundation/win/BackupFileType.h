#pragma once

// Registers the backup files (".QPK") as a file type that opens in Notepad,
// unless the keys are there already. False when a key could not be written.
bool RegisterBackupFileType();
