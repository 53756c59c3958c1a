#pragma once

#include <string>

// The attached file of a protected note travels enciphered: the file's bytes
// XORed with the 8-byte key of the user's password text (byte i with key byte
// i mod 8), written as Base64 and followed by the three bytes 0xAD 0x05 0xFE,
// which tell the receiver to decipher it with the same key.

extern const unsigned char kEncipheredAttachmentMark[3];

// The key: the first 8 characters of a password text; false when it is shorter.
bool AttachmentKeyOf(const std::string& passwordText, unsigned char key[8]);

void XorWithKey(std::string& bytes, const unsigned char key[8]);

std::string EncipherAttachment(const std::string& plain, const unsigned char key[8]);
// True when the bytes carry the mark (and are then deciphered in place);
// false leaves them as they were: a file without the mark, or Base64 that
// does not decode.
bool DecipherAttachment(std::string& bytes, const unsigned char key[8]);
