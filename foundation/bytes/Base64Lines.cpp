#include "foundation/bytes/Base64Lines.h"

namespace {
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const size_t kLineCharacters = 76;
const size_t kGroupsPerLine = kLineCharacters / 4;

int AlphabetValue(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

// Writes one group of up to 3 bytes as 2 to 4 characters (4 when padded).
char* PutGroup(char* out, const unsigned char* in, size_t count, bool pad)
{
    unsigned long group = static_cast<unsigned long>(in[0]) << 16;
    if (count > 1)
        group |= static_cast<unsigned long>(in[1]) << 8;
    if (count > 2)
        group |= in[2];
    size_t characters = count + 1;
    for (size_t k = 0; k < 4; ++k) {
        if (k < characters)
            *out++ = kAlphabet[(group >> (18 - 6 * k)) & 63];
        else if (pad)
            *out++ = '=';
    }
    return out;
}
}

size_t Base64EncodedLength(size_t n, unsigned flags)
{
    size_t length = n / 3 * 4 + (n % 3) * 4 / 3;
    if (!(flags & kBase64NoPadding))
        length += n % 3;
    size_t fullLines = length / kLineCharacters;
    size_t rest = length % kLineCharacters;
    length = fullLines * kLineCharacters + (rest + 3) / 4 * 4;
    if (!(flags & kBase64NoLineBreaks))
        length += 2 * fullLines + 2;
    return length;
}

bool Base64Encode(const unsigned char* in, size_t n, char* out, size_t* length, unsigned flags)
{
    if ((!in && n) || !out || !length || *length < Base64EncodedLength(n, flags))
        return false;
    bool breakLines = !(flags & kBase64NoLineBreaks);
    char* start = out;
    size_t groups = n / 3;
    for (size_t g = 0; g < groups; ++g) {
        out = PutGroup(out, in + 3 * g, 3, false);
        if (breakLines && (g + 1) % kGroupsPerLine == 0) {
            *out++ = '\r';
            *out++ = '\n';
        }
    }
    if (n % 3)
        out = PutGroup(out, in + 3 * groups, n % 3, !(flags & kBase64NoPadding));
    *length = static_cast<size_t>(out - start);
    return true;
}

bool Base64Decode(const char* in, size_t inLength, unsigned char* out, size_t* length)
{
    if ((!in && inLength) || !length)
        return false;
    size_t capacity = out ? *length : 0;
    size_t total = 0;
    bool fits = true;
    unsigned long group = 0;
    size_t inGroup = 0;
    auto flush = [&] {
        size_t bytes = 6 * inGroup / 8;
        group <<= 6 * (4 - inGroup);
        for (size_t k = 0; k < bytes; ++k, ++total) {
            if (!out)
                continue;
            if (total < capacity)
                out[total] = static_cast<unsigned char>(group >> (16 - 8 * k));
            else
                fits = false;
        }
        group = 0;
        inGroup = 0;
    };
    for (size_t i = 0; i < inLength; ++i) {
        int value = AlphabetValue(in[i]);
        if (value < 0)
            continue;
        group = group << 6 | static_cast<unsigned long>(value);
        if (++inGroup == 4)
            flush();
    }
    if (inGroup)
        flush();
    *length = total;
    return fits;
}
