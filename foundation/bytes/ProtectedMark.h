#pragma once

#include <cstddef>

// The end of a protected note's stored body (see noteprops/bytes/ProtectedBody.h):
// the MD5 of its plain rich text as 32 hexadecimal digits, then the mark
// 0xAD 0x05 0xFE. The notes table, the network and the backups all tell a
// protected body by it.

extern const unsigned char kProtectedBodyMark[3];
const size_t kProtectedDigestDigits = 32;
const size_t kProtectedTailBytes = kProtectedDigestDigits + 3;
// The tail and at least one Base64 character.
const size_t kMinProtectedBodyBytes = kProtectedTailBytes + 1;

// The bytes end with the mark: a protected body (or an enciphered attachment).
bool HasProtectedMark(const char* bytes, size_t length);
