#pragma once

// The points of a notes-table save, or of a replacement of data files, where
// a stop (a crash, a power cut) leaves a different set of files behind. Tests
// stop a save at each of them; the program itself watches nothing.
enum class SaveStep {
    kTableCopied,          // notes.QPD read into memory for its working copy
    kBatchHalfWritten,     // half of the notes saved together written into the working copies
    kRecordWritten,        // the records and their texts written, the memo file replaced
    kTableReplaced,        // the working copy took the place of notes.QPD
    kRebuildHalfWritten,   // half of the notes written into the rebuilt pair
    kRebuildBuilt,         // the rebuilt pair complete beside the stored one, not yet marked
    kRebuildCommitted,     // the rebuilt pair complete and marked for installing
    kRebuildMemoReplaced,  // the rebuilt memo file installed, the table not yet
    // A replacement of several data files (a restore, an undo of a restore).
    kReplacementStaged,    // the copies made beside the files to replace, the record says so
    kReplacementRecorded,  // the record of the planned moves written, no file moved yet
    kReplacementMoved,     // one more new version moved into place
    kReplacementReturned,  // one more file given its bytes of before again
    kReplacementSettled,   // the record says the set is whole; the copies are not removed yet
};

using SaveStepObserver = void (*)(SaveStep step);
void SetSaveStepObserver(SaveStepObserver observer);
void PassSaveStep(SaveStep step);
