#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The names a rescue backup passes through: written whole under a passing
// name ("Unstored being written 3F9A0C1B2D4E.tmp") that no listing of
// backups takes and no other run chooses, then given its dated name with its
// mark beside it.

extern const char kRescueLogPrefix[];

// A new passing path in the folder.
std::string NewRescuePassingPath(const std::string& folder);
// "Unstored being written 3F9A0C1B2D4E.tmp", and nothing else.
bool IsRescuePassingName(const std::string& name);
// The pattern that finds the passing names of the folder, with others.
std::string RescuePassingPattern(const std::string& folder);
// The mark beside the rescue backup; empty for a path that is not one.
std::string RescueMarkPathOf(const std::string& rescuePath);
// Whether the last bytes of a file end as a whole rescue backup ends: its
// root's end tag on a line of its own.
bool EndsAsWholeRescue(const std::string& lastBytes);
// The most bytes EndsAsWholeRescue needs to see.
const DWORD kWholeRescueEndBytes = 64;

// The rescue backup written whole under its passing name takes the first
// dated name of the moment in the folder whose mark's name is free too,
// never in the place of another file. Its mark, holding the write of the
// notes table it was measured against, comes first, then rename gives the
// file the name: once the file has its name, a start tells of it however the
// program ended. A name another file takes meanwhile is passed over, the mark
// going on with the file to the next. With no table time (a rescue that
// records none) no mark is written. The path and the mark's path (empty when
// no mark could be written: error.txt says why); an empty path when no name
// could be taken, with the last name tried and the system's reason.
struct NamedRescue {
    std::string path;
    std::string markPath;
    std::string lastTried;
    DWORD error = ERROR_SUCCESS;
};
NamedRescue NameRescue(const std::string& folder, const SYSTEMTIME& moment, const unsigned long long* tableTime,
                       const std::function<bool(const std::string&)>& rename);

// error.txt hears that the file could not be written or named, and why.
void LogRescueFailure(const std::string& path, DWORD error);
