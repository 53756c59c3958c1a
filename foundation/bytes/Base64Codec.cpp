#include "foundation/bytes/Base64Codec.h"

#include <cstring>

namespace {
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
const unsigned char kInvalid = 255;
}

CBase64Codec::CBase64Codec()
{
    std::memcpy(m_alphabet, kAlphabet, sizeof kAlphabet);
    std::memset(m_reverse, kInvalid, sizeof m_reverse);
    for (unsigned char value = 0; value < 64; ++value)
        m_reverse[static_cast<unsigned char>(kAlphabet[value])] = value;
}

bool CBase64Codec::Encode(char* out, size_t outCapacity, const unsigned char* in, size_t n) const
{
    if (!out || (!in && n) || outCapacity < EncodedLength(n))
        return false;
    for (size_t i = 0; i < n; i += 3) {
        size_t left = n - i;
        unsigned long group = static_cast<unsigned long>(in[i]) << 16;
        if (left > 1)
            group |= static_cast<unsigned long>(in[i + 1]) << 8;
        if (left > 2)
            group |= in[i + 2];
        *out++ = m_alphabet[(group >> 18) & 63];
        *out++ = m_alphabet[(group >> 12) & 63];
        *out++ = m_alphabet[(group >> 6) & 63];
        *out++ = m_alphabet[group & 63];
    }
    return true;
}

bool CBase64Codec::EncodeString(const unsigned char* in, size_t n, char* out, size_t outCapacity,
                                size_t* outLength) const
{
    size_t length = EncodedLength(n);
    if (!outLength || outCapacity <= length || !Encode(out, outCapacity, in, n))
        return false;
    // A short last group was encoded from zero bytes; its unused characters
    // become padding.
    if (n % 3 == 2)
        out[length - 1] = '=';
    else if (n % 3 == 1)
        out[length - 1] = out[length - 2] = '=';
    out[length] = 0;
    *outLength = length;
    return true;
}

bool CBase64Codec::DecodeString(const char* in, size_t c, unsigned char* out, size_t outCapacity,
                                size_t* outLength) const
{
    if ((!in && c) || !out || !outLength)
        return false;
    size_t characters = c;
    if (characters >= 2 && in[characters - 1] == '=' && in[characters - 2] == '=')
        characters -= 2;
    else if (characters >= 1 && in[characters - 1] == '=')
        characters -= 1;
    size_t length = 6 * characters / 8;
    if (outCapacity <= length)
        return false;

    size_t written = 0;
    for (size_t i = 0; i < characters; i += 4) {
        unsigned long group = 0;
        for (size_t k = 0; k < 4; ++k) {
            unsigned char value = 0;
            if (i + k < characters) {
                value = m_reverse[static_cast<unsigned char>(in[i + k])];
                if (value == kInvalid)
                    return false;
            }
            group = group << 6 | value;
        }
        for (int shift = 16; shift >= 0 && written < length; shift -= 8)
            out[written++] = static_cast<unsigned char>(group >> shift);
    }
    out[length] = 0;
    *outLength = length;
    return true;
}
