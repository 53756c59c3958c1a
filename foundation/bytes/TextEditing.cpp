#include "foundation/bytes/TextEditing.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {
bool IsWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsAsciiLetterOrDigit(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (LowerAscii(*a) != LowerAscii(*b))
            return false;
    return *a == *b;
}

bool IsEmpty(const char* text)
{
    return !text || !*text;
}

// Deletes count characters at the position of a text of the given length.
void DeleteChars(char* text, size_t length, size_t position, size_t count)
{
    std::memmove(text + position, text + position + count, length - position - count + 1);
}

template <class Drop>
void RemoveIf(char* text, Drop drop)
{
    char* to = text;
    for (const char* from = text; *from; ++from)
        if (!drop(*from))
            *to++ = *from;
    *to = 0;
}

template <class IsTrimmed>
void TrimRightRun(char* text, IsTrimmed isTrimmed)
{
    size_t length = std::strlen(text);
    while (length > 0 && isTrimmed(text[length - 1]))
        --length;
    text[length] = 0;
}

template <class IsTrimmed>
void TrimLeftRun(char* text, IsTrimmed isTrimmed)
{
    size_t start = 0;
    while (text[start] && isTrimmed(text[start]))
        ++start;
    if (start > 0)
        std::memmove(text, text + start, std::strlen(text + start) + 1);
}

// Deletes, while the pattern occurs, count characters at 'offset' within its
// first occurrence, in one pass. The text in work is text[0, out) followed by
// text[in, length): characters move from in to out one at a time, and a match
// is looked for only where it ends at out. The kept part holds none, so the
// first match found is the first occurrence. A deletion can only make a match
// that reaches over its place: the rest of the match, and up to a pattern's
// length before the place, go back to be read again.
void DeleteWithinMatches(char* text, const char* s, size_t offset, size_t count)
{
    size_t patternLength = std::strlen(s);
    size_t length = std::strlen(text);
    size_t out = 0;
    size_t in = 0;
    while (in < length) {
        text[out++] = text[in++];
        if (out < patternLength || std::memcmp(text + out - patternLength, s, patternLength) != 0)
            continue;
        size_t at = out - patternLength + offset;
        size_t after = out - (at + count);
        size_t before = std::min(at, patternLength - 1);
        in -= after;
        std::memmove(text + in, text + at + count, after);
        in -= before;
        std::memmove(text + in, text + at - before, before);
        out = at - before;
    }
    text[out] = 0;
}
}

int CountChar(const char* text, char c)
{
    int count = 0;
    if (text && c)
        for (; *text; ++text)
            if (*text == c)
                ++count;
    return count;
}

void TrimRightChar(char* text, char c)
{
    if (!text || !c || std::strlen(text) < 2 || !std::strchr(text, c))
        return;
    TrimRightRun(text, [c](char x) { return x == c; });
}

void TrimLeftChar(char* text, char c)
{
    if (!text || !c)
        return;
    TrimLeftRun(text, [c](char x) { return x == c; });
}

void TrimRightWhitespace(char* text)
{
    if (text)
        TrimRightRun(text, IsWhitespace);
}

void TrimLeftWhitespace(char* text)
{
    if (text)
        TrimLeftRun(text, IsWhitespace);
}

void CopyLeft(char* target, size_t targetSize, const char* source, int n)
{
    if (!target || targetSize == 0)
        return;
    size_t count = (!source || n < 1) ? 0 : std::min({std::strlen(source), static_cast<size_t>(n), targetSize - 1});
    std::memmove(target, source ? source : "", count);
    target[count] = 0;
}

bool ShiftTextRight(int n, char* text, size_t size)
{
    if (!text || n < 0)
        return false;
    size_t length = std::strlen(text);
    if (length + 1 + static_cast<size_t>(n) > size)
        return false;
    std::memmove(text + n, text, length + 1);
    return true;
}

void RemoveAllChars(char* text, char c)
{
    if (text && c)
        RemoveIf(text, [c](char x) { return x == c; });
}

void RemoveAllSubstrings(char* text, const char* s)
{
    if (text && !IsEmpty(s))
        DeleteWithinMatches(text, s, 0, std::strlen(s));
}

void RemoveFirstCharOfMatches(char* text, const char* s)
{
    if (text && !IsEmpty(s))
        DeleteWithinMatches(text, s, 0, 1);
}

void RemoveSecondCharOfMatches(char* text, const char* s)
{
    if (text && s && std::strlen(s) >= 2)
        DeleteWithinMatches(text, s, 1, 1);
}

void DeleteLastCharOfMatch(char* text, const char* s)
{
    if (!text || IsEmpty(s))
        return;
    if (const char* match = std::strstr(text, s))
        DeleteChars(text, std::strlen(text), static_cast<size_t>(match - text) + std::strlen(s) - 1, 1);
}

void ReplaceChar(char* text, char from, char to)
{
    if (!text || !from)
        return;
    for (; *text; ++text)
        if (*text == from)
            *text = to;
}

bool ReplaceAllSubstrings(char* text, size_t size, const char* find, const char* replacement)
{
    if (!text || IsEmpty(find) || IsEmpty(replacement))
        return true;
    size_t findLength = std::strlen(find);
    size_t replacementLength = std::strlen(replacement);
    size_t length = std::strlen(text);
    // Searched with the lengths known, so no pass rereads the rest of the text.
    std::string_view pattern(find, findLength);
    size_t count = 0;
    for (size_t at = std::string_view(text, length).find(pattern); at != std::string_view::npos;
         at = std::string_view(text, length).find(pattern, at + findLength))
        ++count;
    if (count == 0)
        return true;
    size_t newLength = length - count * findLength + count * replacementLength;
    if (newLength + 1 > size)
        return false;
    // When the text grows it is first moved to the end of its new room; the writes
    // then never overtake the characters still to be read.
    size_t growth = newLength > length ? newLength - length : 0;
    std::memmove(text + growth, text, length + 1);
    std::string_view rest(text + growth, length);
    char* to = text;
    for (size_t from = 0; from < length;) {
        size_t match = rest.find(pattern, from);
        size_t kept = (match == std::string_view::npos ? length : match) - from;
        std::memmove(to, rest.data() + from, kept);
        to += kept;
        from += kept;
        if (match == std::string_view::npos)
            break;
        std::memcpy(to, replacement, replacementLength);
        to += replacementLength;
        from += findLength;
    }
    *to = 0;
    return true;
}

void ReverseText(char* text)
{
    if (text)
        std::reverse(text, text + std::strlen(text));
}

bool StartsWith(const char* text, const char* prefix)
{
    if (IsEmpty(text) || IsEmpty(prefix))
        return false;
    size_t prefixLength = std::strlen(prefix);
    return std::strlen(text) >= prefixLength && std::strncmp(text, prefix, prefixLength) == 0;
}

bool MatchTailNoCase(const char* text, const char* pattern)
{
    if (IsEmpty(text) || IsEmpty(pattern) || std::strlen(text) < std::strlen(pattern))
        return false;
    const char* last = std::strrchr(text, pattern[0]);
    return last && EqualNoCase(last, pattern);
}

bool ContainsInMiddle(const char* text, const char* pattern)
{
    if (IsEmpty(text) || IsEmpty(pattern))
        return false;
    return std::strstr(text, pattern) && !StartsWith(text, pattern) && !MatchTailNoCase(text, pattern);
}

bool CheckDotPlacement(const char* text)
{
    if (!text)
        return false;
    const char* first = std::strchr(text, '.');
    if (!first)
        return true;
    const char* last = std::strrchr(text, '.');
    return first != text && last[1] != 0 && first[1] != '.' && last[-1] != '.';
}

bool IsHashTerminatedCode(const char* text)
{
    if (!text || std::strlen(text) != 9 || text[8] != '#')
        return false;
    for (int i = 0; i < 8; ++i)
        if (!IsAsciiLetterOrDigit(text[i]))
            return false;
    return true;
}

void SqueezeWhitespace(char* text)
{
    if (!text)
        return;
    // 1. Blanks that follow a line break.
    char* to = text;
    for (const char* from = text; *from; ++from)
        if (!(*from == ' ' && to > text && to[-1] == '\r'))
            *to++ = *from;
    *to = 0;
    // 2. Runs of three or more CRs become two.
    to = text;
    for (const char* from = text; *from; ++from)
        if (!(*from == '\r' && to - text >= 2 && to[-1] == '\r' && to[-2] == '\r'))
            *to++ = *from;
    *to = 0;

    // 3. Pairs (c, n), rescanned after each change. The text in work is
    // text[0, out) followed by text[in, length); the character under the scan is
    // text[in]. A change can only make the pair just before it applicable, so the
    // scan steps back one character instead of starting again.
    size_t length = std::strlen(text);
    size_t out = 0;
    size_t in = 0;
    while (in < length) {
        if (in + 1 >= length) {
            text[out++] = text[in++];
            break;
        }
        char c = text[in];
        char n = text[in + 1];
        size_t position = out;
        size_t currentLength = out + (length - in);
        char previous = out > 0 ? text[out - 1] : 0;
        bool remove = false;
        bool blank = false;
        if (c == ' ')
            remove = n == ' ' || n == '\t';
        else if (c == '\t' && (n == ' ' || n == '\t'))
            remove = true;
        else if (c == '\t')
            blank = true;
        else if (c == '\r')
            blank = position > 0 && position + 2 < currentLength && previous != '\r' && n != '\r' && n != ' ';
        if (!remove && !blank) {
            text[out++] = text[in++];
            continue;
        }
        if (remove)
            ++in;
        else
            text[in] = ' ';
        if (out > 0)
            text[--in] = text[--out];
    }
    text[out] = 0;
}
