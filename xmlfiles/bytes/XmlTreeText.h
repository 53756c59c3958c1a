#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

// Small text helpers of the tree's look-ups.

// Copies text into a caller's buffer of size bytes, cut to size - 1 characters;
// does nothing without a buffer.
void CopyToCallerBuffer(char* target, int size, const char* text);

// Sets a caller's error buffer to the pieces joined.
void SetLookupError(char* err, int errSize, std::initializer_list<const char*> pieces);

// Tags of a path between double quotes, joined by single blanks.
std::string QuotedPath(const char* const* tags, size_t count);
std::string QuotedPath(std::initializer_list<const char*> tags);
