#pragma once

#include <string>
#include <vector>

#include "store/BackupFolderCheck.h"
#include "xmlfiles/bytes/BackupNames.h"

// The backup files of the current backup folder, as the Restore submenu, the
// restore dialog and the command line show and choose them, and the rescue
// backups there and in the data folder.

struct BackupListEntry {
    std::string fileName;     // "202603050905.QPK"
    std::string path;         // the file in its folder
    BackupStamp date;
    int second = 0;           // a rescue backup's is kept to the second,
    unsigned copy = 0;        // and by its copy of that second
    bool rescue = false;
    std::string displayText;  // the date by the user's format, ", ", the time and three blanks
};

// The files folder[\subfolder]\*.extension whose names begin with a backup
// date, whatever their length.
int ListBackupFiles(const char* folder, const char* subfolder, const char* extension);

// The backups of the current backup folder (made sure of first), newest
// first; only names of exactly the dated form are listed.
std::vector<BackupListEntry> BuildBackupList();

// What the Restore submenu offers: the backups of the list, and the rescue
// backups of the backup folder and the data folder, each newest first. The
// backup folder is made sure of without a box, which would close the menu:
// trouble says why the backups of the list are missing.
struct RestoreChoices {
    std::vector<BackupListEntry> backups;
    std::vector<BackupListEntry> rescues;
    BackupFolderTrouble trouble = BackupFolderTrouble::kNone;
};
RestoreChoices BuildRestoreChoices();
// The rescue backups of the folder, in the order of the search.
std::vector<BackupListEntry> FindRescueBackups(const std::string& folder);
// The folders where rescue backups are written: the current backup folder,
// and the data folder when it cannot take them; each once.
std::vector<std::string> RescueBackupFolders();
// Something for the Restore submenu to show: a backup file in the backup
// folder, a rescue backup in the data folder, or why the backup folder
// cannot be made.
bool RestoreSubmenuHasEntries();

// The text a backup is shown by: the date with the weekday and the year, ", ",
// the time and three blanks.
std::string BackupDisplayText(const BackupStamp& date);
// A rescue backup's: the date, ", ", the time to the second (to the minute
// when the menu entry would be cut), " (unstored)" and three blanks.
std::string RescueDisplayText(const RescueStamp& stamp);

// A file named on the command line: a full path as it stands, any other in
// the data folder.
std::string PathOfNamedFile(const std::string& name);

// The current backup folder and a file in it.
std::string BackupFolderPath();
std::string BackupFilePath(const std::string& name);

// Deletes the backups of the list (newest first, as built) that are older
// than the retention days, keeping each month's first with monthly keep; a
// file that cannot be deleted stays.
void DeleteExpiredBackups(const BackupStamp& now, int retentionDays, bool monthlyKeep,
                          const std::vector<BackupListEntry>& newestFirst);

// Now, to the minute, by the program's clock.
BackupStamp BackupStampNow();
