#pragma once

#include <string>

#include "support/ProgramDriver.h"

// Backup files as the program writes them, for the tests of its rescue
// backups: those an earlier run left, with the marks that tell the next
// start of them.

// A backup file of one note whose title and text are the text.
void WriteOneNoteBackup(const std::string& path, const std::string& text);
// The mark beside a rescue backup, as the run that wrote it writes it: no
// save has stored its changes since, as the install's notes table says.
void MarkAsUnstored(const ProgramInstall& install, const std::string& rescuePath);
// The marks in the folder ("Unstored *.txt").
std::vector<std::string> RescueMarksIn(const std::string& folder);
