#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "foundation/bytes/ProtectedMark.h"

// The stored body of a protected note, as the notes table, the network and
// the backups carry it. For a body of N bytes:
//   [0, N-35)    Base64 (one line, '=' padded) of the enciphered payload;
//   [N-35, N-3)  the MD5 of the plain rich text, 32 hexadecimal digits;
//   [N-3, N)     the mark 0xAD 0x05 0xFE.
// The payload is the rich text, or above 262,144 bytes a zip in memory that
// holds it as its one entry "fullscreen.rtf"; it is enciphered by XORing byte
// i with byte i mod 8 of the key, the first 8 characters of a password text.
// The digest is always taken over the plain rich text.

// The one entry of a packed rich text.
extern const char kPackedRtfEntryName[];
// Rich texts longer than this travel packed.
const size_t kProtectedPackAbove = 262144;
// No note's rich text is larger: a packed payload claiming more is refused
// before anything is allocated for it.
const size_t kMaxProtectedRtfBytes = 64 * 1024 * 1024;

// The digest of the bytes as 32 hexadecimal digits (either case); empty when it
// cannot be made.
using ContentDigest = std::function<std::string(const std::string& bytes)>;

// The cipher, both ways: out[i] = in[i] ^ key[i % 8]. False, writing nothing,
// when out cannot hold the length.
bool DecodeBuffer(unsigned char* out, size_t capacity, const unsigned char* in, size_t length,
                  const unsigned char key[8]);

enum class ProtectedBodyResult {
    kOpened,         // rtf holds the plain rich text
    kWrongPassword,  // deciphered, but its digest is not the stored one
    kNotDecodable,   // too short, no mark, or Base64 that does not decode
    kNotDeciphered,  // no room for the deciphered payload
    kZipNotOpened,   // a packed payload that is no zip
    kNoUnzipRoom,    // no room for the packed text, or larger than any note
    kNotUnzipped,    // a packed payload whose text does not unpack
    kNoDigest,       // the digest could not be made
};
// The message a failure is reported with; empty for kOpened and a wrong password.
const char* ProtectedBodyFailureText(ProtectedBodyResult result);

// Deciphers the body with the password text and checks its digest. Reads
// nothing outside [body, body + length).
ProtectedBodyResult OpenProtectedBody(const char* body, size_t length, const std::string& passwordText,
                                      const ContentDigest& digest, std::string& rtf);

// The body of the rich text, enciphered with the password text (at least 8
// characters). False with the failure's message when it cannot be made.
bool MakeProtectedBody(const std::string& rtf, const std::string& passwordText, const ContentDigest& digest,
                       std::string& body, std::string& failure);
