#pragma once

class CDbfFile;

// The notes table, its memo file and their working copies.

// Puts back what a save that stopped half-way left: a rebuilt pair marked for
// installing replaces notes.qps, then notes.QPD (each step up to 50 tries,
// each failure logged); a half-written one is removed. False while a marked
// pair is still waiting: its memo file may already be in place while the
// table is still the old one, so the stored pair may then be neither read nor
// written until the pair is installed. Caller holds the notes-table lock.
bool FinishInterruptedRebuild();

// What the user and the error log are told when the notes cannot be read or
// written because a rebuilt pair is still waiting.
extern const char kRebuildWaitingText[];

// Replaces notes.QPD by its working copy in one step (up to 50 tries, each
// failure logged with the prefix). On failure the working copy is removed, so
// notes.QPD stays as it was and no half-saved copy is left to be taken for it.
bool ReplaceNotesTableByWorkingCopy(const char* logPrefix);

// Opens the table as a copy of notes.QPD held in memory, bound to its working
// copy "notesTemp.QPD", which WriteHeldCopy writes (up to 50 tries to read
// notes.QPD, each failure logged with the prefix); throws "Error copying
// notes.qpd" when every try fails.
void OpenNotesTableCopy(CDbfFile& table, const char* logPrefix);
