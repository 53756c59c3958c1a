#include "foundation/bytes/WordCounts.h"

#include <cstring>

namespace {
char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsAsciiLetter(char c)
{
    c = LowerAscii(c);
    return c >= 'a' && c <= 'z';
}

bool IsVowel(char c)
{
    c = LowerAscii(c);
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

bool IsVowelPair(char previous, char c)
{
    static const char* const kPairs[] = {"ea", "au", "ai", "oo", "ie", "io", "ee", "ou"};
    for (const char* pair : kPairs)
        if (LowerAscii(previous) == pair[0] && LowerAscii(c) == pair[1])
            return true;
    return false;
}
}

int CountVowelGroups(const char* word)
{
    if (!word)
        return 0;
    int count = 0;
    size_t length = std::strlen(word);
    for (size_t i = 0; i < length; ++i) {
        char c = word[i];
        if (i > 0 && IsVowelPair(word[i - 1], c))
            continue;
        if (i > 0 && LowerAscii(c) == 'y' && IsAsciiLetter(word[i - 1]) && !IsVowel(word[i - 1])) {
            ++count;
            continue;
        }
        if (i + 1 == length)
            continue;
        if (IsVowel(c))
            ++count;
    }
    return count;
}

int CountConsonants(const char* text)
{
    int count = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); p && *p; ++p)
        if (*p >= 128 || (IsAsciiLetter(static_cast<char>(*p)) && !IsVowel(static_cast<char>(*p))))
            ++count;
    return count;
}
