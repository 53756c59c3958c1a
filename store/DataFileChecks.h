#pragma once

// Start-up checks of the data files: present, readable, and the notes table
// repaired when one of its two files went missing.

// Where a checked file lies, which the messages name.
enum DataFileKind {
    kDataFileForInstall = 1,        // the "UPGRADE" set
    kDataFileOfProgramFolder = 2,
    kDataFileOfTemplateFolder = 3,  // "QlData"
    kDataFileOfUserFolder = 4,      // a "/u=" user's folder
};

// True when the file exists; else shows which file is missing and where.
bool RequireDataFile(const char* path, int kind);

// Opens the file shared and closes it again; false, after telling the user
// that the account lacks the rights, when that fails.
bool CheckDataFileAccess(const char* path, int kind);

// A rebuilt notes pair left waiting is installed first; when it cannot be,
// the user is told and the start stops with every file left as it is. A notes
// table or memo file that went missing: its working copy takes its place when
// there is one; otherwise the file that survived is kept under
// another name and both are made anew, empty, from the program's resources.
// False when that cannot be done.
bool RepairNotesTable();
