#pragma once

#include <windows.h>

class CWindowController;

// Backups of all notes and restores from them, as the tray menu, the command
// line and the housekeeping tick start them. This version writes no backup
// files and restores none: every operation answers false, and the callers tell
// the user when the user asked for it.

// A backup file of all notes; manual is true from the tray command.
bool BackupNotesToXml(CWindowController& app, bool manual, const char* nameText);
// A backup when one is due, and the expired ones deleted; false when none was written.
bool RunScheduledBackup(CWindowController& app);
// The backup at that position of the Restore submenu.
bool RestoreFromBackup(CWindowController& app, int index, int reserved, const char* text);
// "/import" (mode 1) and "/replace" (mode 2) forwarded by a second start.
bool RestoreFromCommandLine(CWindowController& app, const COPYDATASTRUCT* request, int mode, WPARAM senderFlag);
// The tray command "Unrestore...".
bool UndoRestore(CWindowController& app);
