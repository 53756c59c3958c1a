#pragma once

#include <string>
#include <vector>

// What a save of everything left undone, and how the user is told of it when
// the program is asked to end.

struct SaveAllOutcome {
    // Every file was written: the user's values, every note, the ties of
    // restored notes, the destinations and the delivery records.
    bool everythingWritten = false;
    // A change lives only in memory: a note not stored, or the groups and
    // programs of a restored note still waiting for their files.
    bool notesUnstored = false;
    bool tiesUnstored = false;
    // The files that could not be written, as the user knows them, each once.
    std::vector<std::string> unwrittenFiles;

    bool ChangesUnstored() const { return notesUnstored || tiesUnstored; }
    void AddUnwritten(const std::string& name);
};

// The files of the notes that cannot be written at the moment (another
// program holds them, the table or its memo file is missing, ...); when none
// is found so (a full disk, say), the notes table and its memo file.
std::vector<std::string> UnwritableNotesFiles();

// The sentence that names the rescue backup holding the notes as they are.
std::string KeptInRescueText(const std::string& rescueBackup);

// The question asked when changes would be lost by ending now: which files
// could not be written, each with its cause as the system gives it now, what
// the user can do about them, that the program goes on running, and the rescue
// backup that holds the notes as they are (empty: none could be written, and
// ending anyway would first try again).
std::string UnstoredAtEndQuestion(const SaveAllOutcome& saved, const std::string& rescueBackup);
