#pragma once

#include <memory>
#include <string>
#include <vector>

#include "note/NoteController.h"

// The notes a data folder's notes table holds, of every user, read as the
// program reads them at start.
using StoredNoteList = std::vector<std::unique_ptr<CNoteController>>;
StoredNoteList LoadEveryNote(const std::string& folder);
// The same for the data folder of a running program, without keeping it from
// saving: its notes table and memo file are copied aside between two of its
// saves (the table first: a save puts the memo file in place first, and an
// older table reads its texts in a newer memo file), and the copies are read.
StoredNoteList LoadRunningProgramNotes(const std::string& folder);

// A note of user 1 as the program's tests store it: the text as its title and
// its rich text, 240 by 150 pixels at (left, top), yellow with a blue title.
void FillTestNote(CNoteController& note, const char* text, LONG left, LONG top);
// The stored note of that title; null when there is none.
const CNoteController* StoredNoteTitled(const StoredNoteList& notes, const char* title);
// The first stored note whose rich text holds the part; null when none does.
const CNoteController* StoredNoteHaving(const StoredNoteList& notes, const std::string& part);

// The interval of the timed save, in minutes, in the data folder's config table.
void SetAutoSaveInterval(const std::string& folder, long minutes);
