#pragma once

// The notes table, its memo file and their working copies.

// Puts back what a save that stopped half-way left: a rebuilt pair marked for
// installing replaces notes.QPD and notes.qps; a half-written one is removed.
// Runs before the notes are read and before each save (notes-table lock held).
void FinishInterruptedRebuild();

// Replaces notes.QPD by its working copy in one step (up to 50 tries, each
// failure logged with the prefix). On failure the working copy is removed, so
// notes.QPD stays as it was and no half-saved copy is left to be taken for it.
bool ReplaceNotesTableByWorkingCopy(const char* logPrefix);

// Copies notes.QPD to its working copy (up to 50 tries); throws
// "Error copying notes.qpd" when every try fails.
void CopyNotesTableToWorkingCopy(const char* logPrefix);
