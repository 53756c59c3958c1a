#pragma once

#include <string>
#include <vector>

#include "xmlfiles/bytes/BackupNames.h"

// The undo copy of a restore: the data tables as they were before it, in the
// folder "UNRESTORE" of the backup folder, with a marker file named by the
// time of the restore. It is kept for 30 minutes, or until a backup by hand.

// The seven tables without which the copy cannot be put back.
extern const char* const kUnrestoreTables[7];

class CFileSetReplacement;

std::string UnrestoreFolderPath();
// The undo folder lists what it holds, and holds all of it, the seven tables
// among them.
bool HasCompleteUnrestoreSet();

// Copies the tables of the data folder into the undo folder, then the list
// of what it holds and of the optional files the data folder lacked, and
// the marker last. False when a file could not be copied or written (their
// names in failed, each with its cause kept for ListedWithCauses and written
// to error.txt): the copy made is then removed, and a restore must not go on.
bool CopyDataFilesToUnrestore(const BackupStamp& now, std::vector<std::string>& failed);

// What the data was like once the last restore had stored it (a print that
// tells one set of notes from another, made by the caller, and the print of
// the other files below), kept beside the copy: while the data is still that,
// a further restore is one of a row and keeps the copy. Empty when none is
// kept (a copy made before the print was kept, or a restore that did not
// finish).
bool WriteRestoredPrint(const std::string& print);
std::string ReadRestoredPrint();
// A print of every file of the data folder that putting the copy back puts
// back or removes, but the notes' own table and memo file (their notes are
// judged by what they are, which a rebuild of the pair keeps): it changes as
// soon as one of them is stored with other bytes (a setting, a group's name
// or hotkey, a sent-to record) or comes or goes.
std::string UndoneFilesPrint();

// The marker's date and its display text ("<date>, <time>,"); false, and an
// empty text, when there is none.
bool FindUnrestoreMarker(std::string& text, BackupStamp& date);

// Deletes the undo copy when forced, or when its marker is more than 30
// minutes old (or missing).
void ExpireUnrestoreSet(bool force, const BackupStamp& now);

// What putting the copy back does to the data folder: every file it holds
// replaces its namesake, and the optional files the data folder lacked
// before the restore are removed again. False when the copy has no list.
bool PlanUnrestoreSetBack(CFileSetReplacement& replacement);

bool DeleteUnrestoreSet();
