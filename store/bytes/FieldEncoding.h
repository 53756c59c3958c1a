#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Every field of a table holds text; these turn values into exactly field-width
// bytes and back. The code that uses a field decides its kind.

// WLEFT and WTOP (compared with case) keep window coordinates below -999 as
// three hexadecimal digits and "H", since the decimal form does not fit.
bool IsCoordinateField(const char* fieldName);

// Blanks, an optional sign, then digits up to the first other byte; blank reads 0.
std::int32_t ReadIntegerField(const unsigned char* field, std::size_t width);
// The coordinate form first ("3e8H" reads -1000), else as an integer.
std::int32_t ReadCoordinateField(const unsigned char* field, std::size_t width);
// "F" or a blank in the first byte is false, anything else true.
bool ReadLogicalField(const unsigned char* field, std::size_t width);
double ReadDoubleField(const unsigned char* field, std::size_t width);

// Decimal, right-aligned and blank-padded; with the coordinate form for values
// of -1000 and below (magnitudes above 4000 are kept as 1000), left-aligned
// and NUL-filled. False when the text does not fit: overflowText then holds it
// and the field is left alone.
bool WriteIntegerField(std::int32_t value, bool coordinate, unsigned char* field, std::size_t width,
                       std::string& overflowText);

// The number with as many significant digits as fit the width (at most the
// width), right-aligned and blank-padded, always reading back as a finite
// number. False when not even one significant digit fits, and for NaN and the
// infinities, which no field can hold.
bool WriteDoubleField(double value, unsigned char* field, std::size_t width, std::string& overflowText);

// The text left-aligned, cut to the width, blank-padded.
void WriteTextField(const char* text, unsigned char* field, std::size_t width);
