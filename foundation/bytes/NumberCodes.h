#pragma once

#include <cstddef>
#include <cstdint>

// Number parsing, codes and hashes over bytes. Values are 32-bit, as in the
// program's tables and on its wire, whatever the width of long on the build.

// strtol in the given base (leading blanks and a sign allowed, stops at the first
// invalid character); beyond the 32-bit range the nearest limit.
std::int32_t ParseNumber(const char* text, int base);
// The smallest number has no positive twin: it gives the largest.
std::int32_t AbsValue(std::int32_t n);

// Value of a hexadecimal text (no suffix); an empty text gives 0. Any other
// character shows "Invalid hex number", counts as 0 and reading goes on.
std::uint32_t HexTextToNumber(const char* text);
// Value of a binary text read with weights 1, 2, 4, ... from its last digit; its
// digits are read by the hexadecimal table, with the same message.
std::uint32_t BinaryTextToNumber(const char* text);

// Appends each byte as two lower-case hex digits while the text plus 2 stays below
// size; the rest is dropped.
void BytesToHexText(char* target, size_t size, const void* bytes, size_t count);

// The ELF (PJW) hash; each byte is taken as a signed 8-bit value, so bytes of 128
// and above add a negative value (stored texture ids depend on it).
std::uint32_t ElfHash(const void* bytes, size_t length);

// The 32-bit sum of the first 255 bytes of the block (fewer when it is shorter).
std::uint32_t Checksum255(const void* block, size_t size);
