#pragma once

#include <string>
#include <utility>
#include <vector>

// What kept a file step of a replacement of data files from being made, kept
// by the name that a box shows for the file, so that the box gives the cause
// the system gave: a full disk is not another program holding the file.

// Whether the system's error says that another program holds the file (a
// sharing or lock violation), rather than that it is missing or may not be
// written at all.
bool IsHeldFileError(unsigned long error);

// The cause in words for a system error, to follow a file's name and a colon:
// "another program is using it", "the disk is full", "it is missing", or the
// system's own description.
std::string FileErrorCause(unsigned long error);

// Kept for the name until the next step on it, whose outcome replaces it.
void NoteFileFailure(const std::string& name, const std::string& cause);
void NoteFileError(const std::string& name, unsigned long error);
void ForgetFileFailure(const std::string& name);

// The names one to a line, indented, each followed by its kept cause.
std::string ListedWithCauses(const std::vector<std::string>& names);
// Whether another program holding a file is among the kept causes of these names.
bool AnyHeldAmong(const std::vector<std::string>& names);

// Whether the error may be another program holding the file: a sharing or
// lock violation, or the denied access that a rename onto a file another
// program holds open meets (as a read-only file does).
bool MayBeHeldFileError(unsigned long error);

// Files that could not be written, each with its error, in words to follow a
// semicolon: "another program is using notes.QPD and notes.qps.", or for
// another cause "notes.QPD may not be written (...).".
std::string UnwritableFilesText(const std::vector<std::pair<std::string, unsigned long>>& files);
