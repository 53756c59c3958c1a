#pragma once

#include <windows.h>

#include <cstddef>

// Start-up: makes the program's folder (in its long form) the current folder
// and keeps it in the start-up values. Failures are shown in boxes.
bool ChangeWorkingDirectory(HMODULE module);

// The long form of a path given with short (8.3) names. The result always
// names the same file: the system's long name when it exists, else the path
// as given. 0 for a path without a drive (":\") or a buffer too small.
int GetLongDisplayPath(char* out, size_t size, const char* path);

// A special folder (CSIDL_...) into the buffer; false when it is unknown.
bool GetSpecialFolderPath(char* buffer, size_t size, int csidl);

// A UNC path (\\server\share...) or a path on a network drive.
bool IsNetworkPath(const char* path);
