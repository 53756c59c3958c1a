#pragma once

// What a run that ended leaves under the passing names of rescue backups,
// and what the end of a run leaves of the data folder's passing files.

// At a start, before the offer of rescue backups is decided: each file under
// a passing name in the folders of rescue backups that no program holds (a
// running program may be writing one now) is read. One cut short when the
// program ended is removed; one written whole takes a dated name from its own
// write, never in the place of another file, with a mark that holds the
// write of the notes table it records, so that it is judged and offered as
// any rescue backup is. error.txt says which.
void TakeInRescuesLeftUnnamed();

// At the end of a run: the folder's ".tmp" files that no program holds are
// deleted, save those under the passing names of rescue backups, which the
// next start takes in or removes, since deleting a file another program
// holds may only take its name away from under its writer.
void DeleteTempFilesNobodyHolds(const char* folder);
