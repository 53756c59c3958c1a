#pragma once

#include <windows.h>

#include <vector>

#include "xmlfiles/BackupList.h"

class CWindowController;

// Backups of all notes, restores from them and the undo of a restore, as the
// tray menu, the command line, the housekeeping tick and the program's end
// start them.

// What the application object keeps between restores.
struct CRestoreState {
    int method = 1;  // 1 adds the backup's notes to the existing ones, 2 replaces them
    char name[51] = "";
    POINT cascadeOffset{0, 0};  // added to every restored note's place
    // The backups as the Restore submenu lists them; empty until asked for.
    std::vector<BackupListEntry> backupList;
};

// A backup file of every note: interactive (the tray command) tells the user
// how it went; otherwise silent. An empty name gives the dated name in the
// backup folder; a name given is the file's path (a relative one in the data
// folder). True when a file was written.
bool BackupNotesToXml(CWindowController& app, bool interactive, const char* nameText);
// The daily backup when one is due, and the expired backups deleted.
void RunScheduledBackup(CWindowController& app);
// Restores the file of the path, or with an empty path the backup at that
// position of the backup list; silent asks nothing and tells nothing at the
// end. True when notes were restored.
bool RestoreFromBackup(CWindowController& app, int index, bool silent, const char* path);
// "/import" (method 1) and "/replace" (method 2) of a second start, with the
// file that followed the option (or none: the newest backup); explain shows
// what will be done first.
void RestoreFromCommandLine(CWindowController& app, const char* requestText, int method, bool explain);
// The tray command "&Unrestore...": back to the notes of before the restore.
bool UndoRestore(CWindowController& app);
