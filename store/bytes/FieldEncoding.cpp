#include "store/bytes/FieldEncoding.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "foundation/bytes/TextChecks.h"

namespace {
const std::int32_t kCoordinateLimit = -1000;
const std::int32_t kLargestCoordinateMagnitude = 4000;
const int kMaxDoubleDigits = 17; // enough for any double to read back exactly

// The value in the exponent form of "%g" with at most the given significant
// digits, cut rather than rounded, so its magnitude never grows.
void CutToDigits(double value, int digits, char* text, std::size_t size)
{
    char exact[64];
    std::snprintf(exact, sizeof exact, "%.*e", kMaxDoubleDigits - 1, value);
    const char* exponent = std::strchr(exact, 'e');
    const char* mantissa = exact[0] == '-' ? exact + 1 : exact;
    std::string cut(static_cast<const char*>(exact), mantissa);
    cut += mantissa[0];
    std::string fraction(mantissa + 2, exponent);
    fraction.resize(static_cast<std::size_t>(digits - 1));
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (!fraction.empty())
        cut += "." + fraction;
    cut += exponent;
    std::snprintf(text, size, "%s", cut.c_str());
}

bool Place(const char* text, std::size_t length, bool rightAligned, unsigned char fill, unsigned char* field,
           std::size_t width)
{
    if (length > width)
        return false;
    std::memset(field, fill, width);
    std::memcpy(field + (rightAligned ? width - length : 0), text, length);
    return true;
}

bool Place(const char* text, bool rightAligned, unsigned char fill, unsigned char* field, std::size_t width)
{
    return Place(text, std::strlen(text), rightAligned, fill, field, width);
}

// The decimal digits of the value with its sign, written backwards from the
// end of the buffer (12 bytes hold any 32-bit value); returns where they start.
char* DecimalBackwards(std::int32_t value, char* end)
{
    std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    char* at = end;
    do {
        *--at = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--at = '-';
    return at;
}
}

bool IsCoordinateField(const char* fieldName)
{
    // Asked for every number read or written: most names differ at once.
    return fieldName[0] == 'W' &&
           (std::strcmp(fieldName + 1, "LEFT") == 0 || std::strcmp(fieldName + 1, "TOP") == 0);
}

std::int32_t ReadIntegerField(const unsigned char* field, std::size_t width)
{
    std::size_t i = 0;
    while (i < width && field[i] == ' ')
        ++i;
    bool negative = false;
    if (i < width && (field[i] == '-' || field[i] == '+')) {
        negative = field[i] == '-';
        ++i;
    }
    std::int64_t magnitude = 0;
    const std::int64_t cap = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    for (; i < width && field[i] >= '0' && field[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (field[i] - '0');
        if (magnitude > cap)
            magnitude = cap;
    }
    std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        value = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

std::int32_t ReadCoordinateField(const unsigned char* field, std::size_t width)
{
    std::size_t length = 0;
    while (length < width && field[length] != 0)
        ++length;
    if (length == 4 && field[3] == 'H') {
        std::int32_t magnitude = 0;
        for (int i = 0; i < 3; ++i) {
            int digit = HexDigitOrNone(field[i]);
            if (digit < 0)
                break;
            magnitude = magnitude * 16 + digit;
        }
        return -magnitude;
    }
    return ReadIntegerField(field, width);
}

bool ReadLogicalField(const unsigned char* field, std::size_t width)
{
    return width > 0 && field[0] != 'F' && field[0] != ' ';
}

double ReadDoubleField(const unsigned char* field, std::size_t width)
{
    std::string text(reinterpret_cast<const char*>(field), width);
    return std::strtod(text.c_str(), nullptr);
}

bool WriteIntegerField(std::int32_t value, bool coordinate, unsigned char* field, std::size_t width,
                       std::string& overflowText)
{
    char text[16];
    bool hexForm = coordinate && value <= kCoordinateLimit;
    if (hexForm) {
        std::int32_t magnitude = value < -kLargestCoordinateMagnitude ? -kCoordinateLimit : -value;
        std::snprintf(text, sizeof text, "%xH", static_cast<unsigned>(magnitude));
        if (Place(text, false, 0, field, width))
            return true;
        overflowText = text;
        return false;
    }
    char* end = text + sizeof text;
    char* start = DecimalBackwards(value, end);
    const std::size_t length = static_cast<std::size_t>(end - start);
    if (Place(start, length, true, ' ', field, width))
        return true;
    overflowText.assign(start, length);
    return false;
}

bool WriteDoubleField(double value, unsigned char* field, std::size_t width, std::string& overflowText)
{
    if (!std::isfinite(value)) {
        overflowText = std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf";
        return false;
    }
    char text[64];
    int digits = width < kMaxDoubleDigits ? static_cast<int>(width) : kMaxDoubleDigits;
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    overflowText = text;
    for (; digits >= 1; --digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        // Rounding up can pass the largest double ("2e+308"), which reads back
        // as infinity: near it the digits are cut instead.
        if (!std::isfinite(std::strtod(text, nullptr)))
            CutToDigits(value, digits, text, sizeof text);
        if (Place(text, true, ' ', field, width))
            return true;
    }
    return false;
}

void WriteTextField(const char* text, unsigned char* field, std::size_t width)
{
    std::size_t length = 0;
    while (length < width && text[length] != 0)
        ++length;
    std::memset(field, ' ', width);
    std::memcpy(field, text, length);
}
