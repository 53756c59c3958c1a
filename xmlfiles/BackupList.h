#pragma once

#include <string>
#include <vector>

#include "xmlfiles/bytes/BackupNames.h"

// The backup files of the current backup folder, as the Restore submenu, the
// restore dialog and the command line show and choose them.

struct BackupListEntry {
    std::string fileName;     // "202603050905.QPK"
    BackupStamp date;
    std::string displayText;  // the date by the user's format, ", ", the time and three blanks
};

// The files folder[\subfolder]\*.extension whose names begin with a backup
// date, whatever their length.
int ListBackupFiles(const char* folder, const char* subfolder, const char* extension);

// The backups of the current backup folder (made sure of first), newest
// first; only names of exactly the dated form are listed.
std::vector<BackupListEntry> BuildBackupList();

// The text a backup is shown by: the date with the weekday and the year, ", ",
// the time and three blanks.
std::string BackupDisplayText(const BackupStamp& date);

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
