#pragma once

#include <string>

#include "support/ProgramDriver.h"

// Backup files as the program writes them, for the tests of its rescue
// backups: those an earlier run left, with the marks that tell the next
// start of them.

// A backup file of one note whose title and text are the text.
void WriteOneNoteBackup(const std::string& path, const std::string& text);
// The same as a rescue backup, as the program writes one: measured against
// the install's notes table as it is now.
void WriteOneNoteRescue(const ProgramInstall& install, const std::string& rescuePath, const std::string& text);
// The same with its mark, as the run that wrote it leaves them: no save has
// stored its changes since.
void WriteMarkedOneNoteRescue(const ProgramInstall& install, const std::string& rescuePath, const std::string& text);
// The marks in the folder ("Unstored *.txt").
std::vector<std::string> RescueMarksIn(const std::string& folder);
// The program started on the install: the rescue of that name, offered at its
// start, taken with Yes, the restore in place of the notes (as proposed)
// confirmed, and the program closed once it says the restore is done.
void TakeTheRescueOfferedAtStart(ProgramInstall& install, const std::string& rescue);
