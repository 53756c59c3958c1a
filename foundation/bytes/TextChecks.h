#pragma once

#include <cstddef>

// Tests and number formats over zero-terminated ANSI texts.

bool IsBlankText(const char* text);          // null, empty or blanks only
bool IsDigitsOnly(const char* text);         // not blank, '0' to '9' only
bool IsHexNumberText(const char* text);      // hex digits followed by a final 'h' or 'H'
bool IsBinaryNumberText(const char* text);   // '0' and '1' followed by a final 'b' or 'B'

// 0-15 for a hex digit, -1 for any other character.
int HexDigitOrNone(char c);
// 0-15 for a hex digit; any other character shows "Invalid hex number" and gives 0.
int HexDigitValue(char c);

// 1: a dotted IP address; 0: not an address (a computer name); -2: malformed.
int CheckIpAddressText(const char* text);
// 1: an e-mail address (also behind "mailto:"); 0: not one; -2: malformed.
int CheckEmailAddressText(const char* text);

// printf with the format, then trailing zeros of a decimal part and a final '.' dropped.
void FormatDoubleTrimmed(char* buffer, size_t size, double value, const char* format);

// Puts ',' between groups of three digits before the first '.'; false (and the
// text unchanged) when the buffer cannot hold the longer text.
bool InsertThousandsSeparators(char* text, size_t bufferSize);
