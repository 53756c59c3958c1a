#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// The protected-content codec as the program meets it: the password texts
// typed passwords become, the digest of a note's rich text, the stored body
// opened with a password text, and attached files that travel enciphered.
// The body's format is noteprops/bytes/ProtectedBody.h.

// The password text of a typed password (blanks around it left out): 8
// letters or digits followed by "#" are the text itself; anything else gives
// the first 8 hexadecimal digits of the MD5 of it and the program's fixed
// text. Empty, after a box with the failure text, when the hash cannot be made.
std::string PasswordText(HWND owner, const char* typed, const char* failureText);

// The MD5 of the bytes as 32 lower-case hexadecimal digits; empty when the
// hash cannot be made.
std::string ContentDigestText(const std::string& bytes);

// 1 when the body opens with the password text: rtf then holds the plain rich
// text, and the attached file (when one is named) is deciphered too. 0 for a
// wrong password, silently, and for a body that cannot be read, after a box.
// The plain text stays in memory: it never goes to a file.
int RPB(std::string& rtf, const char* passwordText, const char* body, size_t length, const char* attachedFile);

// Deciphers the attached file in place when it ends with the mark; 1 when it
// was deciphered, 0 when it was left as it was (no file, no mark, a failure
// after its box). No temporary file stays behind.
int DAF(const char* attachedFile, const char* passwordText);

// The whole file with byte i XORed with byte i mod 8 of the password text's
// key, written over the output file once whole; nonzero on success. The
// cipher is its own inverse.
int XorEncodeFile(const char* outputFile, const char* inputFile, const char* passwordText);
inline int XorDecodeFile(const char* outputFile, const char* inputFile, const char* passwordText)
{
    return XorEncodeFile(outputFile, inputFile, passwordText);
}
