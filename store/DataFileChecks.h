#pragma once

#include <string>

// Start-up checks of the data files: free of other programs, present,
// readable, and the notes table repaired when one of its two files went
// missing.

// Where a checked file lies, which the messages name.
enum DataFileKind {
    kDataFileForInstall = 1,        // the "UPGRADE" set
    kDataFileOfProgramFolder = 2,
    kDataFileOfTemplateFolder = 3,  // "QlData"
    kDataFileOfUserFolder = 4,      // a "/u=" user's folder
};

// The first of the data files read at start that another program holds so
// that the program could not open it as it does (a table or the settings
// memo file for reading and writing, alone; the notes memo file for reading
// and writing, sharing both; a settings file for reading and for putting a
// new version in its place), after a wait of a few seconds for them all
// together, so that a virus scanner's or a synchronising tool's glance only
// delays the start; its path, or empty when none is held. A missing file is
// not held (the start makes or repairs it). A wait is noted in error.txt, once.
// Later in the start, each open of a held file waits the same way
// (foundation/HeldFileWait.h).
std::string FindHeldDataFile();
// The text naming a data file that another program holds: close that
// program and start Quillnet+ again.
std::string HeldDataFileText(const std::string& path);

// True when the file exists; else shows which file is missing and where.
bool RequireDataFile(const char* path, int kind);

// Opens the file shared and closes it again; false, after telling the user
// that the account lacks the rights, when that fails. A file that another
// program holds is no matter of rights: its failure is thrown on.
bool CheckDataFileAccess(const char* path, int kind);

// A rebuilt notes pair left waiting is installed first; when it cannot be,
// the user is told and the start stops with every file left as it is. A notes
// table or memo file that went missing: its working copy takes its place when
// there is one; otherwise the file that survived is kept under
// another name and both are made anew, empty, from the program's resources.
// False when that cannot be done.
bool RepairNotesTable();
