#pragma once

#include <string>
#include <vector>

// The record that a replacement of several data files writes into the data
// folder before it moves the first file and removes after the last. A start
// that finds it knows which files were being replaced, whether each had a
// version of before (kept beside it as "<name>.was") and how far the
// replacement had come, and puts the set right before any table is opened.

// What replaced the files: a restore never goes forward after a stop (its new
// set is empty notes), an undo may.
enum class ReplacementKind { kRestore, kUndo };

enum class ReplacementState {
    kPreparing,  // copies are being made beside the files; nothing is moved yet
    kMoving,     // files are being moved: the old set is kept beside them
    kKeptNew,    // the new set is whole and stays; only the copies are left to remove
    kKeptOld,    // the old set is whole again; only the copies are left to remove
};

struct ReplacedFile {
    std::string name;       // one of the data files a replacement may touch
    bool removed = false;   // the replacement deletes it rather than bringing a new version
    bool existed = false;   // it had a version of before, kept as "<name>.was"
};

struct ReplacementRecord {
    ReplacementKind kind = ReplacementKind::kRestore;
    ReplacementState state = ReplacementState::kMoving;
    std::vector<ReplacedFile> files;
};

// The data files a replacement may touch, with the case they are named in.
extern const char* const kReplaceableDataFiles[11];
// The seven of them that every data folder holds (the settings, users, notes,
// sent-to and delivery tables with their memo files): a replacement finds
// each of them there and never removes one.
extern const char* const kWholeSetTables[7];
bool IsWholeSetTable(const std::string& name);

// The name as the program writes it when it is one of the replaceable data
// files (compared without regard to case), else empty.
std::string ReplaceableDataFileName(const std::string& name);

std::string FormatReplacementRecord(const ReplacementRecord& record);
// False for a text that is not a whole record: an unknown line, a file that
// is not a replaceable data file or is named twice, one of the seven tables
// said to be absent or removed, or no closing line. The names read are the
// program's own spelling, never the text's.
bool ParseReplacementRecord(const std::string& text, ReplacementRecord& record);
