#pragma once

#include <windows.h>

#include <vector>

class CDbfFile;
struct NoteRecord;

// Saving notes into the notes table. The table is never written in place: the
// record goes into a working copy, which then replaces notes.QPD in one step;
// the text is appended to the memo file the same way. Every save holds the
// notes-table lock from the copy to the replace. Failures are logged to
// "error.txt" with the operation's name and leave the stored note as it was.

// The note's ordinary save: its own record, or a new one for a note never
// saved. True when the note is stored as it is now (or its text is withheld
// on purpose, and the user was told), which clears its modified mark; false
// when the save failed, and the note keeps its mark for the next save.
bool SaveNote(NoteRecord& note);
// How many of this thread's SaveNote calls have failed so far: an action
// that saves notes one by one tells from it whether one was left unstored.
unsigned FailedNoteSaves();

// The first save of a note without a record (caller holds the notes-table
// lock): takes a free record or appends one, and gives the note that record
// number only when the new record is stored; otherwise the note keeps 9999 and
// the free record stays free. Returns 1 when stored, 0 otherwise.
int SaveABrandNewNote(NoteRecord& note);

// A note about to be sent gets its record first; a stored note is left alone.
// Throws when the save fails for a reason other than a refused text.
void SaveNoteBeforeSend(NoteRecord& note);

// Writes every field of the note and appends its text to the memo file, into
// record n of the open table (opened "MAPPINGALL"). Returns 1, or 0 when the
// text was not stored (a locked note shown on the screen) or a failure was logged.
int SaveToDisk(NoteRecord& note, CDbfFile& table, DWORD record);

// Saves every note of the list, all through one working copy of the table and
// of the memo file. With rebuildMemo the memo file is written afresh, keeping
// only the texts that live records name. Either way the new pair is built
// aside and replaces the old one only when every note is in it, so a failure
// or a stop half-way loses no text; when the notes cannot be saved together
// they are saved one by one. Each note stored loses its modified mark; true
// when every note was stored and, with rebuildMemo, the memo file was rebuilt
// (until it is, it may still hold texts that were replaced, such as the plain
// text of a note locked since). While a rebuilt pair waits to be installed
// nothing is saved.
bool SaveNotes(const std::vector<NoteRecord*>& notes, bool rebuildMemo);
// Every note of the list stored in one step, or none of them: no note is
// saved on its own after a failure, so that a save that cannot be made
// leaves the stored pair exactly as it was. Each note stored loses its
// modified mark.
bool SaveNotesTogether(const std::vector<NoteRecord*>& notes);

// The same for a list of notes of a kind that is a note record.
template <class Note>
bool SaveNotes(const std::vector<Note*>& notes, bool rebuildMemo)
{
    return SaveNotes(std::vector<NoteRecord*>(notes.begin(), notes.end()), rebuildMemo);
}
