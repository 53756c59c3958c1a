#pragma once

#include <cstddef>

// Base64 with the standard alphabet and '=' padding, as one unbroken line.
// Used for protected note contents, XML backups and attached files.
//
// Every output buffer comes with its capacity: a call whose result would not fit
// writes nothing and answers false.
class CBase64Codec {
public:
    CBase64Codec();

    // Characters of the padded encoding of n bytes: 4 for every started group of 3.
    static size_t EncodedLength(size_t n) { return (n + 2) / 3 * 4; }

    // Encodes the complete groups of 3 bytes, a short last group filled with zero
    // bytes; writes no '=' and no terminator. False when the text does not fit.
    bool Encode(char* out, size_t outCapacity, const unsigned char* in, size_t n) const;

    // Encodes all n bytes (zero bytes included) with '=' padding and a terminator.
    // outLength receives the number of characters, 4 * ceil(n / 3); the capacity
    // must hold them and the terminator.
    bool EncodeString(const unsigned char* in, size_t n, char* out, size_t outCapacity, size_t* outLength) const;

    // Decodes c characters ending in no, one or two '='. outLength receives the
    // number of bytes, 6 * (data characters) / 8; a zero follows them, so the
    // capacity must be at least that number + 1. False on any character outside
    // the alphabet (a '=' inside the text included) or when the bytes do not fit.
    bool DecodeString(const char* in, size_t c, unsigned char* out, size_t outCapacity, size_t* outLength) const;

    // The decoded size of a text of c characters, '=' included: an upper bound
    // for DecodeString's outLength.
    static size_t DecodedLengthBound(size_t c) { return c / 4 * 3 + 3; }

    // Whole files, in pieces of 3,000 bytes (4,000 characters). The destination
    // (which may be the source) is replaced only once the new file is whole.
    // Both show their failures in a box and answer false; the Windows build
    // alone has them.
    bool EncodeFileToBase64(const char* destinationPath, const char* sourcePath);
    bool DecodeFileFromBase64(const char* destinationPath, const char* sourcePath);

    enum { kFilePieceBytes = 3000, kFilePieceCharacters = 4000 };

private:
    bool EncodeFilePieces(const char* destinationPath, const char* sourcePath);
    bool DecodeFilePieces(const char* destinationPath, const char* sourcePath);

    char m_alphabet[66];
    unsigned char m_reverse[256];
};
