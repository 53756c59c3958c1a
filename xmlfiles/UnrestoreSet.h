#pragma once

#include <string>
#include <vector>

#include "xmlfiles/bytes/BackupNames.h"

// The undo copy of a restore: the data tables as they were before it, in the
// folder "UNRESTORE" of the backup folder, with a marker file named by the
// time of the restore. It is kept for 30 minutes, or until a backup by hand.

// The seven tables without which the copy cannot be put back.
extern const char* const kUnrestoreTables[7];

std::string UnrestoreFolderPath();
// Every one of the seven tables is in the undo folder.
bool HasCompleteUnrestoreSet();

// Copies the tables of the data folder into the undo folder and writes the
// marker last. False when a table could not be copied: the copy is then not
// complete, and a restore must not go on.
bool CopyDataFilesToUnrestore(const BackupStamp& now);

// The marker's date and its display text ("<date>, <time>,"); false, and an
// empty text, when there is none.
bool FindUnrestoreMarker(std::string& text, BackupStamp& date);

// Deletes the undo copy when forced, or when its marker is more than 30
// minutes old (or missing).
void ExpireUnrestoreSet(bool force, const BackupStamp& now);

// The tables copied back into the data folder (the seven, then the optional
// ones; one the copy lacks did not exist before and is deleted); the names of
// those that could not be put back.
std::vector<std::string> CopyUnrestoreSetBack();

bool DeleteUnrestoreSet();
