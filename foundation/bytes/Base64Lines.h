#pragma once

#include <cstddef>

// Base64 in lines of 76 characters, as packed note contents and e-mail parts
// travel, and a tolerant decoder for such texts.

enum Base64Flags : unsigned {
    kBase64NoPadding = 1,    // no '=' after a short last group
    kBase64NoLineBreaks = 2, // one unbroken line
};

// A buffer size that always holds Base64Encode's text of n bytes.
size_t Base64EncodedLength(size_t n, unsigned flags);

// Writes the n bytes as Base64: lines of 76 characters, each full line followed
// by CR LF (unless kBase64NoLineBreaks), the last 1 or 2 bytes as 2 or 3
// characters and '=' up to 4 (unless kBase64NoPadding). No terminator.
// length: in, the buffer's size, which must be at least Base64EncodedLength;
// out, the characters written. False on a missing pointer or a short buffer.
bool Base64Encode(const unsigned char* in, size_t n, char* out, size_t* length, unsigned flags);

// Decodes the characters of the alphabet, 4 at a time, skipping every other
// character (line breaks, '=', blanks). With out null it only counts.
// length: in, the output's size; out, the bytes the text holds, counted on even
// when they no longer fit. False when they did not fit or a pointer is missing.
bool Base64Decode(const char* in, size_t inLength, unsigned char* out, size_t* length);
