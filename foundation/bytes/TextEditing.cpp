#include "foundation/bytes/TextEditing.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

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

// The high bit of each zero byte among the four at 'at' (and maybe of a one
// byte right above a zero byte: only whether there is any counts).
inline uint32_t ZeroBytesOf(const char* at)
{
    uint32_t word;
    std::memcpy(&word, at, 4);
    return (word - 0x01010101u) & ~word & 0x80808080u;
}

// The length of a text within the first size bytes of its buffer, or size
// when no terminator lies there. Whole words are read, all inside the buffer,
// and tested for a zero byte at once.
size_t BoundedLength(const char* text, size_t size)
{
    size_t at = 0;
    for (; at + 16 <= size; at += 16) {
        const char* words = text + at;
        if (ZeroBytesOf(words) | ZeroBytesOf(words + 4) | ZeroBytesOf(words + 8) | ZeroBytesOf(words + 12))
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
// the text already written. Kept out of line, its loop has the registers it
// needs on x86.
[[gnu::noinline]] void SqueezeRuns(char* text, char c)
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

// A pattern or replacement with its first two characters at hand. Most are
// one or two characters long; these are compared and copied with their length
// fixed (kLength 1 or 2, 0 for any length), and no pattern is read again
// between the writes to the text.
template <size_t kLength>
struct ShortText {
    explicit ShortText(const char* s)
        : text(s), length(kLength ? kLength : std::strlen(s)), first(s[0]), second(s[1])
    {
    }

    bool StartsAt(const char* at) const
    {
        if (kLength == 1)
            return at[0] == first;
        if (kLength == 2)
            return at[0] == first && at[1] == second;
        return at[0] == first && RestMatches(at + 1, text + 1);
    }

    // Copies the text to 'to' without its terminator; returns the end.
    char* CopyTo(char* to) const
    {
        to[0] = first;
        if (kLength == 2)
            to[1] = second;
        if (kLength == 0) {
            char* out = to + 1;
            for (const char* from = text + 1; *from; ++from)
                *out++ = *from;
        }
        return to + length;
    }

    const char* text;
    size_t length;
    char first;
    char second;
};

// Calls run with a text's length as a constant when it is short.
template <class Run>
void WithShortLength(size_t length, Run run)
{
    if (length == 1)
        run(std::integral_constant<size_t, 1>());
    else if (length == 2)
        run(std::integral_constant<size_t, 2>());
    else
        run(std::integral_constant<size_t, 0>());
}

// The number of occurrences of find before 'end', taken left to right
// without overlap.
template <size_t kFind>
size_t CountMatches(const char* at, const char* end, ShortText<kFind> find)
{
    size_t count = 0;
    if (kFind == 1) {
        for (; at < end; ++at)
            count += *at == find.first;
        return count;
    }
    while (at < end) {
        if (find.StartsAt(at)) {
            ++count;
            at += find.length;
        } else {
            ++at;
        }
    }
    return count;
}

// Copies from 'from' to 'end' into 'to', replacing each occurrence of find
// left to right, and terminates. The writes never overtake the reads as long
// as to stays behind from by at least what the replacements still to come add.
// Kept out of line, as ReplaceBackward is, so that its loop keeps its values
// in registers on x86.
template <size_t kFind, size_t kReplacement>
[[gnu::noinline]] void ReplaceForward(char* to, const char* from, const char* end, ShortText<kFind> find,
                                      ShortText<kReplacement> replacement)
{
    while (from < end) {
        if (find.StartsAt(from)) {
            to = replacement.CopyTo(to);
            from += find.length;
        } else {
            *to++ = *from++;
        }
    }
    *to = 0;
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
template <size_t kFind, size_t kReplacement>
[[gnu::noinline]] void ReplaceBackward(char* text, size_t length, size_t newLength, ShortText<kFind> find,
                                       ShortText<kReplacement> replacement)
{
    char* to = text + newLength;
    *to = 0;
    char last = find.text[find.length - 1];
    for (const char* from = text + length; from > text;) {
        char c = *--from;
        size_t read = static_cast<size_t>(from - text) + 1;
        if (c == last && (kFind == 1 || (read >= find.length && find.StartsAt(from + 1 - find.length)))) {
            to -= replacement.length;
            replacement.CopyTo(to);
            from -= find.length - 1;
        } else {
            *--to = c;
        }
    }
}

// Every occurrence replaced, or none when the result would not fit in size.
template <size_t kFind, size_t kReplacement>
bool Replace(char* text, size_t size, ShortText<kFind> find, ShortText<kReplacement> replacement)
{
    size_t length = BoundedLength(text, size);
    bool grows = replacement.length > find.length;
    // A text that lies in its buffer and does not grow still fits: one pass.
    if (!grows && length < size) {
        ReplaceForward(text, text, text + length, find, replacement);
        return true;
    }
    length += std::strlen(text + length);
    size_t count = CountMatches(text, text + length, find);
    if (count == 0)
        return true;
    size_t newLength = length - count * find.length + count * replacement.length;
    if (newLength + 1 > size)
        return false;
    if (!grows) {
        ReplaceForward(text, text, text + length, find, replacement);
    } else if (!CanOverlap(find.text, find.length)) {
        ReplaceBackward(text, length, newLength, find, replacement);
    } else {
        // Overlapping occurrences are taken left to right, so the text first
        // moves to the end of its new room, ahead of the writes.
        size_t growth = newLength - length;
        std::memmove(text + growth, text, length + 1);
        ReplaceForward(text, text + growth, text + newLength, find, replacement);
    }
    return true;
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
    bool done = true;
    WithShortLength(std::strlen(find), [&](auto findLength) {
        WithShortLength(std::strlen(replacement), [&](auto replacementLength) {
            done = Replace(text, size, ShortText<findLength>(find), ShortText<replacementLength>(replacement));
        });
    });
    return done;
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
