#include "foundation/bytes/TextEditing.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

// The length of a text within the first size bytes of its buffer, or size
// when no terminator lies there. Whole words are read, all inside the buffer,
// and tested for a zero byte at once.
size_t BoundedLength(const char* text, size_t size)
{
    const uint32_t kOnes = 0x01010101u;
    const uint32_t kHighs = 0x80808080u;
    size_t at = 0;
    for (; at + 8 <= size; at += 8) {
        uint32_t low;
        uint32_t high;
        std::memcpy(&low, text + at, 4);
        std::memcpy(&high, text + at + 4, 4);
        if ((((low - kOnes) & ~low) | ((high - kOnes) & ~high)) & kHighs)
            break;
    }
    for (; at < size; ++at)
        if (!text[at])
            return at;
    return size;
}

// Whether the characters at 'at' begin with the rest of a pattern; a text
// that ends first does not, and nothing past its terminator is read.
inline bool RestMatches(const char* at, const char* rest)
{
    for (; *rest; ++rest, ++at)
        if (*at != *rest)
            return false;
    return true;
}

// Runs of c shrink to one character. This is what deleting either character
// of two equal ones gives, while they occur, and it needs no look back into
// the text already written.
void SqueezeRuns(char* text, char c)
{
    char* to = text;
    const char* from = text;
    for (char x; (x = *from++) != 0;) {
        *to++ = x;
        if (x == c)
            while (*from == c)
                ++from;
    }
    *to = 0;
}

// Deletes, while the pattern occurs, count characters at 'offset' within its
// first occurrence, in one pass. The text in work is text[0, out) followed by
// text[in, ...): characters move from in to out one at a time, and a match is
// looked for only where it ends at out. The kept part holds none, so the first
// match found is the first occurrence. A deletion can only make a match that
// reaches over its place and ends after it: the rest of the match goes back to
// be read again, and what comes before it is already known to hold none.
void DeleteWithinMatches(char* text, const char* s, size_t offset, size_t count)
{
    size_t patternLength = std::strlen(s);
    char last = s[patternLength - 1];
    size_t out = 0;
    size_t in = 0;
    for (char c; (c = text[in]) != 0;) {
        ++in;
        text[out++] = c;
        if (c != last || out < patternLength || !RestMatches(text + out - patternLength, s))
            continue;
        size_t at = out - patternLength + offset;
        size_t after = out - (at + count);
        in -= after;
        std::memmove(text + in, text + at + count, after);
        out = at;
    }
    text[out] = 0;
}

// Copies from 'from' to 'end' into 'to', replacing each occurrence of find
// left to right, and terminates. The writes never overtake the reads as long
// as to stays behind from by at least what the replacements still to come add.
void ReplaceForward(char* to, const char* from, const char* end, const char* find, size_t findLength,
                    const char* replacement)
{
    char first = find[0];
    while (from < end) {
        char c = *from;
        if (c == first && RestMatches(from + 1, find + 1)) {
            for (const char* r = replacement; *r; ++r)
                *to++ = *r;
            from += findLength;
        } else {
            *to++ = c;
            ++from;
        }
    }
    *to = 0;
}

// The same for the most common edits, a pattern of one or two characters
// replaced by no more characters, with the lengths fixed so that the
// comparisons and copies are unrolled.
template <size_t kFindLength, size_t kReplacementLength>
void ReplaceShort(char* to, const char* from, const char* end, const char* find, const char* replacement)
{
    static_assert(kReplacementLength <= kFindLength && kFindLength <= 2, "a short edit that does not grow");
    char first = find[0];
    char second = find[kFindLength - 1];
    char replacementFirst = replacement[0];
    char replacementSecond = replacement[kReplacementLength - 1];
    while (from < end) {
        char c = *from;
        if (c == first && (kFindLength == 1 || from[1] == second)) {
            *to++ = replacementFirst;
            if (kReplacementLength == 2)
                *to++ = replacementSecond;
            from += kFindLength;
        } else {
            *to++ = c;
            ++from;
        }
    }
    *to = 0;
}

// Replaces in place where the text does not grow.
void ReplaceShrinking(char* text, size_t length, const char* find, size_t findLength, const char* replacement,
                      size_t replacementLength)
{
    char* end = text + length;
    if (findLength == 1)
        ReplaceShort<1, 1>(text, text, end, find, replacement);
    else if (findLength == 2 && replacementLength == 1)
        ReplaceShort<2, 1>(text, text, end, find, replacement);
    else if (findLength == 2)
        ReplaceShort<2, 2>(text, text, end, find, replacement);
    else
        ReplaceForward(text, text, end, find, findLength, replacement);
}

// The number of occurrences of find taken left to right without overlap.
size_t CountMatches(const char* text, const char* find, size_t findLength)
{
    size_t count = 0;
    char first = find[0];
    for (const char* at = text; *at;) {
        if (*at == first && RestMatches(at + 1, find + 1)) {
            ++count;
            at += findLength;
        } else {
            ++at;
        }
    }
    return count;
}

// Whether a proper beginning of the pattern is also its ending, so that two
// occurrences can overlap and which of them count depends on the direction.
bool CanOverlap(const char* s, size_t length)
{
    for (size_t k = 1; k < length; ++k)
        if (std::memcmp(s, s + length - k, k) == 0)
            return true;
    return false;
}

// Replaces from the end, writing the grown text in its final place: with
// occurrences that cannot overlap, every one is replaced whichever the
// direction, and the writes stay at or after the characters still to be read.
void ReplaceBackward(char* text, size_t length, size_t newLength, const char* find, size_t findLength,
                     const char* replacement, size_t replacementLength)
{
    char last = find[findLength - 1];
    char* to = text + newLength;
    *to = 0;
    for (const char* from = text + length; from > text;) {
        char c = from[-1];
        if (c == last && static_cast<size_t>(from - text) >= findLength &&
            std::memcmp(from - findLength, find, findLength - 1) == 0) {
            to -= replacementLength;
            std::memcpy(to, replacement, replacementLength);
            from -= findLength;
        } else {
            *--to = c;
            --from;
        }
    }
}

// A line break with the blanks and breaks right after it, taken together in
// a note's clean-up: blanks after a break go, and more than two breaks in a
// row become two.
struct BreakGroup {
    const char* end;
    int breaks;
};

BreakGroup ReadBreakGroup(const char* at)
{
    BreakGroup group{at, 0};
    for (; *group.end == '\r' || *group.end == ' '; ++group.end)
        group.breaks += *group.end == '\r';
    return group;
}

// A single break inside a paragraph, with text before it and at least two
// characters after it, becomes a blank and joins the blanks around it.
bool Joins(const char* text, const char* at, const BreakGroup& group)
{
    return group.breaks == 1 && at != text && group.end[0] && group.end[1];
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
    if (!text || IsEmpty(s))
        return;
    if (s[1] == 0)
        RemoveAllChars(text, s[0]);
    else
        DeleteWithinMatches(text, s, 0, std::strlen(s));
}

void RemoveFirstCharOfMatches(char* text, const char* s)
{
    if (!text || IsEmpty(s))
        return;
    if (s[1] == 0)
        RemoveAllChars(text, s[0]);
    else if (s[1] == s[0] && s[2] == 0)
        SqueezeRuns(text, s[0]);
    else
        DeleteWithinMatches(text, s, 0, 1);
}

void RemoveSecondCharOfMatches(char* text, const char* s)
{
    if (!text || IsEmpty(s) || s[1] == 0)
        return;
    if (s[1] == s[0] && s[2] == 0)
        SqueezeRuns(text, s[0]);
    else
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
    size_t length = BoundedLength(text, size);
    // A text that lies in its buffer and does not grow still fits: one pass.
    if (replacementLength <= findLength && length < size) {
        ReplaceShrinking(text, length, find, findLength, replacement, replacementLength);
        return true;
    }
    length += std::strlen(text + length);
    size_t count = CountMatches(text, find, findLength);
    if (count == 0)
        return true;
    size_t newLength = length - count * findLength + count * replacementLength;
    if (newLength + 1 > size)
        return false;
    if (newLength <= length)
        ReplaceShrinking(text, length, find, findLength, replacement, replacementLength);
    else if (!CanOverlap(find, findLength))
        ReplaceBackward(text, length, newLength, find, findLength, replacement, replacementLength);
    else {
        // Overlapping occurrences are taken left to right, so the text first
        // moves to the end of its new room, ahead of the writes.
        size_t growth = newLength - length;
        std::memmove(text + growth, text, length + 1);
        ReplaceForward(text, text + growth, text + newLength, find, findLength, replacement);
    }
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
    char* to = text;
    const char* from = text;
    for (char c; (c = *from) != 0;) {
        if (c == '\r') {
            BreakGroup group = ReadBreakGroup(from);
            if (!Joins(text, from, group)) {
                *to++ = '\r';
                if (group.breaks > 1)
                    *to++ = '\r';
                from = group.end;
                continue;
            }
        } else if (c != ' ' && c != '\t') {
            *to++ = c;
            ++from;
            continue;
        }
        // A run of blanks, tabs and joining breaks becomes one character: a
        // blank, or the tab that ends both the run and the text.
        char last = ' ';
        for (;; c = *from) {
            if (c == ' ' || c == '\t') {
                last = c;
                ++from;
                continue;
            }
            if (c != '\r')
                break;
            BreakGroup group = ReadBreakGroup(from);
            if (!Joins(text, from, group))
                break;
            last = ' ';
            from = group.end;
        }
        *to++ = (c == 0 && last == '\t') ? '\t' : ' ';
    }
    *to = 0;
}
