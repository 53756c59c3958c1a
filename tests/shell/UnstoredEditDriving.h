#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"

// An edit typed into the real program that cannot be stored (another program
// holds the notes' files), and where the program then keeps it: the notes
// table, the rescue backups of the backup folder, error.txt.

// The data files of an installation, whose notes table holds one note of
// this text.
extern const char kStoredText[];
void InstallWithOneNote(ProgramInstall& install);
// One more note of the text stored in the install's notes table.
void AddStoredNote(const ProgramInstall& install, const std::string& text);
// The same with as many notes in all, the others numbered ("Note 2", ...).
void InstallWithNotes(ProgramInstall& install, int count);

// The program's main window once the start has put its first note in front
// and the edit, typed before the note's stored text, shows in the note; null
// when one of them did not come.
HWND StartAndEdit(RunningProgram& program, const std::string& edit);

// One timed save: the housekeeping ticks (15 seconds each) of the interval,
// sent as the timer sends them; false when one was not answered in time. An
// interval of five minutes is one the program's own timer does not reach
// while a test runs, so that the save comes at the last tick sent.
const long kUnreachedSaveIntervalMinutes = 5;
bool SendTimedSaveTicks(HWND main, long intervalMinutes = kUnreachedSaveIntervalMinutes);

// Whether a note of the data folder's notes table holds the text, also while
// the program runs.
bool StoredNoteHas(const std::string& folder, const std::string& text);

// The path that ends the question about changes not stored.
std::string BackupNamedIn(const std::string& question);

// The names of the rescue backups ("Unstored *.QPK") in the install's backup
// folder, in the order of their names.
std::vector<std::string> RescueBackupNames(const ProgramInstall& install);

// The marks beside them ("Unstored *.txt"), which tell the next start of
// changes not stored.
std::vector<std::string> RescueMarkNames(const ProgramInstall& install);

// The rescue backups error.txt names as holding the notes, in its order.
std::vector<std::string> RescueBackupsLogged(const ProgramInstall& install);
