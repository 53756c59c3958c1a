#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// Bytes as two lowercase hexadecimal digits each, the separator between them.
inline std::string HexText(const unsigned char* bytes, std::size_t count, const char* separator = "")
{
    std::string text;
    char digits[3];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
        text += (i ? separator : "") + std::string(digits);
    }
    return text;
}

template <class Bytes>
std::string HexText(const Bytes& bytes, const char* separator = "")
{
    return HexText(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), separator);
}
