#pragma once

#include <string>

// A note made from a file takes at most its first 32,768 bytes.
enum { kNoteFileTextLimit = 32768 };

// The first bytes of a file that exists and is no folder; false for anything
// else. A file that cannot be read throws CGenericException.
bool ReadFileStart(const char* path, std::string& text);
