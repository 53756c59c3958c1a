#include "foundation/bytes/TextChecks.h"

#include <cstdio>
#include <cstring>

#include "foundation/bytes/MessageBoxes.h"

bool IsBlankText(const char* text)
{
    if (!text)
        return true;
    for (; *text; ++text)
        if (*text != ' ')
            return false;
    return true;
}

bool IsDigitsOnly(const char* text)
{
    if (IsBlankText(text))
        return false;
    for (; *text; ++text)
        if (*text < '0' || *text > '9')
            return false;
    return true;
}

namespace {
bool IsHexDigit(char c)
{
    return HexDigitOrNone(c) >= 0;
}

// A literal: digits accepted by the test, then the suffix letter (either case).
bool IsSuffixedLiteral(const char* text, char suffix, bool (*isDigit)(char))
{
    if (!text)
        return false;
    size_t length = std::strlen(text);
    if (length == 0)
        return false;
    char last = text[length - 1];
    if (last != suffix && last != suffix - 'a' + 'A')
        return false;
    for (size_t i = 0; i + 1 < length; ++i)
        if (!isDigit(text[i]))
            return false;
    return true;
}

bool IsBinaryDigit(char c)
{
    return c == '0' || c == '1';
}

size_t CountOf(const char* text, char c)
{
    size_t n = 0;
    for (; *text; ++text)
        if (*text == c)
            ++n;
    return n;
}
}

bool IsHexNumberText(const char* text)
{
    return IsSuffixedLiteral(text, 'h', IsHexDigit);
}

bool IsBinaryNumberText(const char* text)
{
    return IsSuffixedLiteral(text, 'b', IsBinaryDigit);
}

int HexDigitOrNone(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int HexDigitValue(char c)
{
    int value = HexDigitOrNone(c);
    if (value >= 0)
        return value;
    ShowErrorMessage(nullptr, "Invalid hex number", ProgramTitle);
    return 0;
}

int CheckIpAddressText(const char* text)
{
    if (!text)
        return 0;
    size_t length = std::strlen(text);
    if (length > 15 && text[length - 1] != '#')
        return -2;
    const char* firstDot = std::strchr(text, '.');
    if (!firstDot)
        return 0;
    const char* lastDot = std::strrchr(text, '.');
    if (CountOf(text, '.') != 3 || text[0] == '.' || text[length - 1] == '.' || firstDot[1] == '.' ||
        (lastDot > text && lastDot[-1] == '.'))
        return -2;
    for (const char* p = text; *p; ++p)
        if (!((*p >= '0' && *p <= '9') || *p == '.'))
            return 0;
    return 1;
}

int CheckEmailAddressText(const char* text)
{
    if (!text || !std::strchr(text, '@'))
        return 0;
    if (CountOf(text, '@') > 1)
        return -2;
    if (!std::strchr(text, '.'))
        return 0;
    size_t length = std::strlen(text);
    char first = text[0];
    char last = text[length - 1];
    if ((std::strchr(text, ':') && std::strncmp(text, "mailto:", 7) != 0) || std::strchr(text, '\\') ||
        std::strchr(text, '/') || first == '@' || first == '.' || last == '@' || last == '.')
        return -2;
    return 1;
}

void FormatDoubleTrimmed(char* buffer, size_t size, double value, const char* format)
{
    if (!buffer || size == 0)
        return;
    std::snprintf(buffer, size, format, value);
    // Only the decimal part of the mantissa is trimmed; an exponent keeps its
    // zeros ("1.500e+10" becomes "1.5e+10").
    const char* dot = std::strchr(buffer, '.');
    if (!dot)
        return;
    const char* exponent = std::strpbrk(dot, "eE");
    size_t end = exponent ? static_cast<size_t>(exponent - buffer) : std::strlen(buffer);
    size_t kept = end;
    while (kept > 0 && buffer[kept - 1] == '0')
        --kept;
    if (kept > 0 && buffer[kept - 1] == '.')
        --kept;
    std::memmove(buffer + kept, buffer + end, std::strlen(buffer + end) + 1);
}

bool InsertThousandsSeparators(char* text, size_t bufferSize)
{
    if (!text)
        return false;
    size_t length = std::strlen(text);
    const char* dot = std::strchr(text, '.');
    size_t whole = dot ? static_cast<size_t>(dot - text) : length;
    size_t digitsStart = (whole > 0 && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    size_t digits = whole - digitsStart;
    if (digits < 4)
        return true;
    size_t separators = (digits - 1) / 3;
    if (length + separators + 1 > bufferSize)
        return false;
    // Move the tail (decimal part and terminator) first, then the digits from the right.
    std::memmove(text + whole + separators, text + whole, length - whole + 1);
    size_t to = whole + separators;
    size_t inGroup = 0;
    for (size_t from = whole; from > digitsStart; --from) {
        if (inGroup == 3) {
            text[--to] = ',';
            inGroup = 0;
        }
        text[--to] = text[from - 1];
        ++inGroup;
    }
    return true;
}
