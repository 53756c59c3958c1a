#pragma once

#include <vector>

struct NoteRecord;

// Saves many notes through one working copy of the notes table and one of its
// memo file (caller holds the notes-table lock, and no rebuilt pair waits):
// each is copied once, every note goes into the copies, then the memo file
// takes its place and last the table, so that a stop at any point leaves all
// the notes as they were or all as they are now. A note whose text may not be
// stored keeps its record and text as they were; a new note gets its record
// number only once the table is in place. Otherwise the stored pair is as it
// was: kFailed, and the caller saves the notes one by one; or kFileHeld, when
// another program holds one of the files and the save under way has given
// its step up, which every single save would need too.
enum class BatchSave { kSaved, kFailed, kFileHeld };
BatchSave SaveNotesInOneWorkingCopy(const std::vector<NoteRecord*>& notes);
