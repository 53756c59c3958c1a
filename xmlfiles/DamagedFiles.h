#pragma once

#include <string>

// A settings file of the data folder that the program cannot read is never
// written over: it is kept beside itself under the first free name of
// "<file>.bad", "<file>.bad2", "<file>.bad3" ... before anything replaces it,
// so that the user's groups, options or associations in it can still be
// mended by hand. Main thread only.

// Moves the file to its kept name, or copies it there when another program
// holds it so that it cannot be moved. The kept name without its folder;
// empty when it could not be kept, and the file is then guarded: writers
// asking RefuseToOverwriteDamagedFile are refused until it is kept.
std::string KeepDamagedFileAside(const char* path);

// The file that could not be read (problem: the reader's text) kept aside,
// then told once, in a stop box and in error.txt: the reader's text, the
// name it is kept under and what the program goes on with in its place
// (standIn, such as "the standard calendar options and styles").
void ReportDamagedFile(const char* path, const std::string& problem, const char* standIn);

// Called by a writer before it replaces the file: a damaged file that could
// not be kept aside is tried once more, and while it still cannot be kept,
// throws CGenericException, the file left as it is.
void RefuseToOverwriteDamagedFile(const char* path);
