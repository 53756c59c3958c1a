#pragma once

#include <windows.h>

#include <string>

#include "support/ProgramDriver.h"

// The program as the tests of its rescue backups drive it: one kept note,
// timed saves sent by the test, an edit that a held notes table keeps from
// being stored.

// The user's record made by a first run, no daily backup among the entries,
// timed saves only when the test sends their ticks, and one note stored.
void InstallWithKeptNote(ProgramInstall& install);
// One timed save: the housekeeping ticks (15 seconds each) of its interval,
// sent as the timer sends them.
bool TimedSave(HWND main);
// The program started on that install, its first timed save made, and
// "Edited " typed into the note; the main window, or null when a step did
// not come.
HWND StartAndEditKeptNote(const ProgramInstall& install, const RunningProgram& program);
// The offer at the start answered Yes and the restore it proposes
// confirmed; true once the program says the restore is done.
bool RestoreTheOffered(const ShownMessageBox& offer, DWORD process);
// Whether the bytes end as a whole rescue backup does: its root's end tag on
// the last line.
bool EndsAsWholeRescueBackup(const std::string& bytes);
