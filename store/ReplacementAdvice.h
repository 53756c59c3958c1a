#pragma once

#include <string>
#include <vector>

#include "store/bytes/ReplacementRecord.h"

// The words of the start's boxes about a replacement of data files that did
// not finish: what it was, what the data folder holds of its files, and what
// the user can do by hand when the program cannot make a set whole.

// "the restore" or "the undo".
std::string ShortOperation(const ReplacementRecord& record);
// "A restore did not finish; it was replacing these data files:".
std::string DidNotFinish(const ReplacementRecord& record);
// The names one to a line, indented.
std::string ListedNames(const std::vector<std::string>& names);
std::string ListedNames(const ReplacementRecord& record);

// Each file of the record, present or missing, and what each of its copies holds.
std::string WhatEachFileHolds(const ReplacementRecord& record);
// Each file of the record, present or missing.
std::string WhatIsPresent(const ReplacementRecord& record);
// How to get back by hand as much of the files of before as their copies
// hold: which ".was" to put in place, what to move out of the data folder,
// and which files stay as they are. A table and its memo file are put back
// together or not at all: a table's texts lie in its own memo file.
std::string WayBackByHand(const ReplacementRecord& record);

// The system's error that keeps the file from being written or replaced
// now; 0 when nothing does any more.
unsigned long WriteBlockingError(const std::string& path);
// Why the file could not be written, for a box: from the error the system
// gives now.
std::string WhyNotWritable(const std::string& path);
// When to start again after that error: "the other program has let go of
// <name>", or "that is put right".
std::string OnceFreed(const std::string& path);
