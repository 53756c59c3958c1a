#include "foundation/bytes/NumberCodes.h"

#include <cstdlib>
#include <cstring>

#include "foundation/bytes/TextChecks.h"

namespace {
// Sums the digits from the last one with weights 1, base, base^2, ... (modulo 2^32).
std::uint32_t SumDigitsFromTheEnd(const char* text, std::uint32_t base)
{
    if (!text)
        return 0;
    std::uint32_t value = 0;
    std::uint32_t weight = 1;
    for (size_t i = std::strlen(text); i > 0; --i) {
        value += static_cast<std::uint32_t>(HexDigitValue(text[i - 1])) * weight;
        weight *= base;
    }
    return value;
}
}

std::int32_t ParseNumber(const char* text, int base)
{
    if (!text)
        return 0;
    long long value = std::strtoll(text, nullptr, base);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

std::int32_t AbsValue(std::int32_t n)
{
    if (n == INT32_MIN)
        return INT32_MAX;
    return n < 0 ? -n : n;
}

std::uint32_t HexTextToNumber(const char* text)
{
    return SumDigitsFromTheEnd(text, 16);
}

std::uint32_t BinaryTextToNumber(const char* text)
{
    return SumDigitsFromTheEnd(text, 2);
}

void BytesToHexText(char* target, size_t size, const void* bytes, size_t count)
{
    if (!target || !bytes || size == 0)
        return;
    const char* end = static_cast<const char*>(std::memchr(target, 0, size));
    if (!end)
        return;
    static const char kDigits[] = "0123456789abcdef";
    size_t length = static_cast<size_t>(end - target);
    const unsigned char* from = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < count && length + 2 < size; ++i) {
        target[length++] = kDigits[from[i] >> 4];
        target[length++] = kDigits[from[i] & 0x0F];
    }
    target[length] = 0;
}

std::uint32_t ElfHash(const void* bytes, size_t length)
{
    const signed char* from = static_cast<const signed char*>(bytes);
    std::uint32_t h = 0;
    for (size_t i = 0; from && i < length; ++i) {
        h = (h << 4) + static_cast<std::uint32_t>(static_cast<std::int32_t>(from[i]));
        std::uint32_t g = h & 0xF0000000u;
        if (g)
            h ^= g >> 24;
        h &= ~g;
    }
    return h;
}

std::uint32_t Checksum255(const void* block, size_t size)
{
    const unsigned char* from = static_cast<const unsigned char*>(block);
    std::uint32_t sum = 0;
    for (size_t i = 0; from && i < size && i < 255; ++i)
        sum += from[i];
    return sum;
}
