#pragma once

#include <cstddef>
#include <string>

// How a typed start-up password becomes the 8-character code kept in the
// users table.

// The text without the blanks before and after it.
std::string TrimBlanks(const std::string& text);
// The stored code typed directly: 8 letters or digits followed by "#". The
// code is then those 8 characters.
bool IsTypedStoredCode(const std::string& trimmed);
// The first 8 characters of the hash in lower-case hexadecimal.
std::string CodeFromHash(const unsigned char* hash, size_t length);
// The text hashed after the password.
extern const char kPasswordSalt[];
