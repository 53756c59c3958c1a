#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/TextEditing.h"

namespace {
// Runs an in-place edit on a copy held in a buffer of the given size.
template <class Edit>
std::string Edited(const std::string& text, Edit edit, size_t size = 256)
{
    std::string buffer(size, '\x7F');
    std::memcpy(&buffer[0], text.c_str(), text.size() + 1);
    edit(&buffer[0]);
    return buffer.c_str();
}

// The clean-up rules written out literally, starting the scan again from the
// start after every change; the program's version must agree with it.
std::string ReferenceSqueeze(std::string t)
{
    for (size_t i; (i = t.find("\r ")) != std::string::npos;)
        t.erase(i + 1, 1);
    for (size_t i; (i = t.find("\r\r\r")) != std::string::npos;)
        t.erase(i, 1);
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t i = 0; i + 1 < t.size() && !changed; ++i) {
            char c = t[i];
            char n = t[i + 1];
            changed = true;
            if ((c == ' ' || c == '\t') && (n == ' ' || n == '\t'))
                t.erase(i, 1);
            else if (c == '\t')
                t[i] = ' ';
            else if (c == '\r' && i > 0 && i + 2 < t.size() && t[i - 1] != '\r' && n != '\r' && n != ' ')
                t[i] = ' ';
            else
                changed = false;
        }
    }
    return t;
}

// "While s occurs, delete the character at 'offset' of its first occurrence."
std::string ReferenceDeleteWithin(std::string t, const std::string& s, size_t offset, size_t count)
{
    for (size_t i; (i = t.find(s)) != std::string::npos;)
        t.erase(i + offset, count);
    return t;
}

// Every occurrence replaced left to right, the result refused when it and its
// terminator would not fit in size.
bool ReferenceReplace(std::string& t, size_t size, const std::string& find, const std::string& replacement)
{
    if (find.empty() || replacement.empty())
        return true;
    std::string result;
    size_t count = 0;
    for (size_t i = 0; i < t.size();) {
        if (t.compare(i, find.size(), find) == 0) {
            result += replacement;
            i += find.size();
            ++count;
        } else {
            result += t[i++];
        }
    }
    if (count == 0)
        return true;
    if (result.size() + 1 > size)
        return false;
    t = result;
    return true;
}

// Every text of up to maxLength characters of the alphabet, each given to check.
template <class Check>
void ForEveryText(const std::string& alphabet, size_t maxLength, Check check)
{
    std::string text;
    for (size_t length = 0; length <= maxLength; ++length) {
        std::vector<size_t> digits(length, 0);
        for (bool more = true; more;) {
            text.resize(length);
            for (size_t i = 0; i < length; ++i)
                text[i] = alphabet[digits[i]];
            check(text);
            more = false;
            for (size_t i = 0; i < length && !more; ++i) {
                more = ++digits[i] < alphabet.size();
                if (!more)
                    digits[i] = 0;
            }
        }
    }
}

std::string RandomText(std::mt19937& random, const char* alphabet, size_t maxLength)
{
    size_t letters = std::strlen(alphabet);
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text)
        c = alphabet[random() % letters];
    return text;
}
}

TEST(TextEditing, TrimmingKeepsItsSmallRules)
{
    EXPECT_EQ(Edited("x", [](char* t) { TrimRightChar(t, 'x'); }), "x");
    EXPECT_EQ(Edited("xx", [](char* t) { TrimRightChar(t, 'x'); }), "");
    EXPECT_EQ(Edited("ab  ", [](char* t) { TrimRightChar(t, ' '); }), "ab");
    EXPECT_EQ(Edited("ab", [](char* t) { TrimRightChar(t, ' '); }), "ab");
    EXPECT_EQ(Edited("--a-", [](char* t) { TrimLeftChar(t, '-'); }), "a-");
    EXPECT_EQ(Edited("---", [](char* t) { TrimLeftChar(t, '-'); }), "");
    EXPECT_EQ(Edited("\r\n\t ", [](char* t) { TrimRightWhitespace(t); }), "");
    EXPECT_EQ(Edited(" \t\r\nnote \r\n", [](char* t) { TrimLeftWhitespace(t); }), "note \r\n");
    EXPECT_EQ(Edited(" \t\r\nnote \r\n", [](char* t) { TrimRightWhitespace(t); }), " \t\r\nnote");
    TrimRightChar(nullptr, 'x');
    TrimLeftWhitespace(nullptr);
}

TEST(TextEditing, CopyingAndShiftingStayInsideTheBuffer)
{
    char target[6];
    CopyLeft(target, sizeof target, "abcdefgh", 3);
    EXPECT_STREQ(target, "abc");
    CopyLeft(target, sizeof target, "abcdefgh", 100);
    EXPECT_STREQ(target, "abcde");
    CopyLeft(target, sizeof target, "ab", 0);
    EXPECT_STREQ(target, "");

    char text[8] = "note";
    ASSERT_TRUE(ShiftTextRight(3, text, sizeof text));
    std::memcpy(text, "My ", 3);
    EXPECT_STREQ(text, "My note");
    EXPECT_FALSE(ShiftTextRight(1, text, sizeof text));
    EXPECT_STREQ(text, "My note");
}

TEST(TextEditing, RemovalsRefuseEmptyPatternsInsteadOfLoopingForever)
{
    EXPECT_EQ(Edited("a,b,,c", [](char* t) { RemoveAllChars(t, ','); }), "abc");
    EXPECT_EQ(Edited("a;;b;;c", [](char* t) { DeleteLastCharOfMatch(t, ";;"); }), "a;b;;c");
    EXPECT_EQ(CountChar("abc", 0), 0);
    EXPECT_EQ(Edited("abc", [](char* t) { RemoveAllSubstrings(t, ""); }), "abc");
    EXPECT_EQ(Edited("abc", [](char* t) { RemoveFirstCharOfMatches(t, ""); }), "abc");
    EXPECT_EQ(Edited("abc", [](char* t) { RemoveSecondCharOfMatches(t, "c"); }), "abc");
    EXPECT_EQ(Edited("abc", [](char* t) { DeleteLastCharOfMatch(t, ""); }), "abc");
    EXPECT_EQ(Edited("abc", [](char* t) { ReplaceAllSubstrings(t, 256, "", "x"); }), "abc");
}

// Deleting a match can join a new one ("aabbab" less "ab" is empty): it goes too.
TEST(TextEditing, DeletionsAgreeWithRestartingTheSearch)
{
    std::mt19937 random(7);
    const char* patterns[] = {"ab", "aa", "aba", "  ", "bab"};
    for (int round = 0; round < 3000; ++round) {
        std::string text = RandomText(random, "ab ", 14);
        std::string s = patterns[round % 5];
        EXPECT_EQ(Edited(text, [&](char* t) { RemoveAllSubstrings(t, s.c_str()); }),
                  ReferenceDeleteWithin(text, s, 0, s.size()))
            << "[" << text << "] - [" << s << "]";
        EXPECT_EQ(Edited(text, [&](char* t) { RemoveFirstCharOfMatches(t, s.c_str()); }),
                  ReferenceDeleteWithin(text, s, 0, 1));
        EXPECT_EQ(Edited(text, [&](char* t) { RemoveSecondCharOfMatches(t, s.c_str()); }),
                  ReferenceDeleteWithin(text, s, 1, 1));
    }
}

// A note of a megabyte, nearly all blanks: every edit runs in one pass.
TEST(TextEditing, AMegabyteOfBlanksIsEditedWhole)
{
    const size_t kSize = 1 << 20;
    std::string blanks(kSize, ' ');
    blanks.replace(kSize / 2, 4, "word");
    blanks.replace(kSize - 3, 3, "end");
    std::vector<char> text;
    auto load = [&](const std::string& from) {
        text.assign(from.begin(), from.end());
        text.resize(from.size() + 1, 0);
    };
    load(blanks);
    RemoveSecondCharOfMatches(text.data(), "  ");
    EXPECT_STREQ(text.data(), " word end");
    load(blanks);
    RemoveFirstCharOfMatches(text.data(), "  ");
    EXPECT_STREQ(text.data(), " word end");
    load(blanks);
    RemoveAllSubstrings(text.data(), "  ");
    EXPECT_STREQ(text.data(), "word end") << "the runs are of even length";
    load(blanks);
    RemoveAllSubstrings(text.data(), " ");
    EXPECT_STREQ(text.data(), "wordend");
    load(blanks);
    ASSERT_TRUE(ReplaceAllSubstrings(text.data(), text.size(), "  ", " "));
    // Runs of 524,288 and 524,281 blanks become 262,144 and 262,141.
    EXPECT_EQ(std::strlen(text.data()), 262144u + 4 + 262141 + 3);
    EXPECT_EQ(std::string(text.data() + 262140, 12), "    word    ");
    load(blanks);
    SqueezeWhitespace(text.data());
    EXPECT_STREQ(text.data(), " word end");
}

TEST(TextEditing, ReplacingGrowsOnlyIntoRoomThatExists)
{
    // A replacement holding the pattern is not replaced again.
    EXPECT_EQ(Edited("a-b-c", [](char* t) { ReplaceAllSubstrings(t, 256, "-", "--"); }), "a--b--c");
    EXPECT_EQ(Edited("a--b--", [](char* t) { ReplaceAllSubstrings(t, 256, "--", "+"); }), "a+b+");
    EXPECT_EQ(Edited("aaa", [](char* t) { ReplaceAllSubstrings(t, 256, "aa", "b"); }), "ba");
    EXPECT_EQ(Edited("x%sy%s", [](char* t) { ReplaceAllSubstrings(t, 256, "%s", "<name>"); }), "x<name>y<name>");

    char exact[12] = "a.b.c";  // 5 + 2 * 3 = 11 characters and the terminator
    EXPECT_TRUE(ReplaceAllSubstrings(exact, sizeof exact, ".", "...."));
    EXPECT_STREQ(exact, "a....b....c");
    char tight[11] = "a.b.c";
    EXPECT_FALSE(ReplaceAllSubstrings(tight, sizeof tight, ".", "...."));
    EXPECT_STREQ(tight, "a.b.c");
    char kept[8] = "a.b";
    EXPECT_TRUE(ReplaceAllSubstrings(kept, sizeof kept, ".", ""));
    EXPECT_STREQ(kept, "a.b");
}

TEST(TextEditing, PrefixesEndingsAndCodes)
{
    EXPECT_TRUE(StartsWith("http://x", "http:"));
    EXPECT_FALSE(StartsWith("http", "http:"));
    EXPECT_FALSE(StartsWith("", ""));
    EXPECT_TRUE(MatchTailNoCase("C:\\Desktop\\Mail.LNK", ".lnk"));
    EXPECT_FALSE(MatchTailNoCase("a.lnk.txt", ".lnk"));
    EXPECT_FALSE(MatchTailNoCase("k", ".lnk"));
    EXPECT_TRUE(ContainsInMiddle("see www.x.com now", " www."));
    EXPECT_FALSE(ContainsInMiddle(" www.x.com", " www."));
    EXPECT_FALSE(ContainsInMiddle("abc", ""));
    EXPECT_TRUE(CheckDotPlacement("10.0.0.1"));
    EXPECT_TRUE(CheckDotPlacement("host"));
    for (const char* misplaced : {".10.0.1", "10.0.1.", "10..0.1", "10.0..1"})
        EXPECT_FALSE(CheckDotPlacement(misplaced)) << misplaced;
    EXPECT_TRUE(IsHashTerminatedCode("A1b2C3d4#"));
    for (const char* other : {"A1b2C3d#", "A1b2-3d4#", "A1b2C3d4x"})
        EXPECT_FALSE(IsHashTerminatedCode(other)) << other;
}

TEST(TextEditing, SqueezeWhitespaceJoinsLinesAndShrinksRuns)
{
    struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"one\rtwo\r\rthree", "one two\r\rthree"},
        {"a  \t b", "a b"},
        {"line\r   next", "line next"},
        {"\r\r\r\rx", "\r\rx"},
        {"a\r \r \r b", "a\r\rb"},
        {"a\r\tbc", "a bc"},
        {"ab\rc", "ab\rc"},  // a CR among the last two characters stays
        {"\rab", "\rab"},    // and so does one at the start
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Edited(c.in, [](char* t) { SqueezeWhitespace(t); }), c.out) << c.in;

    std::string wide = "a" + std::string(200000, ' ') + "\t\tb";
    EXPECT_EQ(Edited(wide, [](char* t) { SqueezeWhitespace(t); }, wide.size() + 1), "a b");
}

TEST(TextEditing, SqueezeWhitespaceAgreesWithTheRulesTakenLiterally)
{
    std::mt19937 random(11);
    for (int round = 0; round < 5000; ++round) {
        std::string text = RandomText(random, " \t\rab", 12);
        EXPECT_EQ(Edited(text, [](char* t) { SqueezeWhitespace(t); }), ReferenceSqueeze(text)) << round;
    }
}

// Short patterns and runs take their own quicker ways: every way gives what
// deleting the first occurrence again and again gives, on every short text.
TEST(TextEditing, DeletionsOfShortAndLongPatternsAgreeOnEveryShortText)
{
    const char* patterns[] = {"a", " ", "aa", "ab", "ba", "aaa", "aab", "abb", "abab", "abaa", "  ", " a "};
    ForEveryText("ab ", 8, [&](const std::string& text) {
        for (const char* p : patterns) {
            std::string s = p;
            ASSERT_EQ(Edited(text, [&](char* t) { RemoveAllSubstrings(t, p); }),
                      ReferenceDeleteWithin(text, s, 0, s.size()))
                << "[" << text << "] - [" << s << "]";
            ASSERT_EQ(Edited(text, [&](char* t) { RemoveFirstCharOfMatches(t, p); }),
                      ReferenceDeleteWithin(text, s, 0, 1))
                << "[" << text << "] - [" << s << "]";
            if (s.size() >= 2) {
                ASSERT_EQ(Edited(text, [&](char* t) { RemoveSecondCharOfMatches(t, p); }),
                          ReferenceDeleteWithin(text, s, 1, 1))
                    << "[" << text << "] - [" << s << "]";
            }
        }
    });
}

// Replacing in place, shrinking, keeping the length or growing, from the front
// or from the back, into buffers of every size around the result's: the text
// is replaced whole or left exactly as it was, and nothing past the buffer (or
// past the text, where a caller gives less room than the text holds) changes.
TEST(TextEditing, ReplacingAgreesWithTheReferenceInEveryBufferSize)
{
    const char* finds[] = {"a", " ", "aa", "ab", "ba", "aba", "abc", "  a"};
    const char* replacements[] = {"x", "-", "xy", "aa", "xyz", "abab", "c a "};
    ForEveryText("abc ", 5, [&](const std::string& text) {
        for (const char* find : finds)
            for (const char* replacement : replacements) {
                std::string expected = text;
                size_t most = text.size() * 4 + 2;
                for (size_t size = 0; size <= most; size += (size < text.size() + 4 ? 1 : 5)) {
                    // Starting at each of a few places in the buffer, so that words are read unaligned.
                    size_t shift = size % 5;
                    std::string buffer(shift + std::max(size, text.size() + 1) + 8, '\x7F');
                    std::memcpy(&buffer[shift], text.c_str(), text.size() + 1);
                    std::string result = text;
                    bool fits = ReferenceReplace(result, size, find, replacement);
                    std::string before = buffer;
                    ASSERT_EQ(ReplaceAllSubstrings(&buffer[shift], size, find, replacement), fits)
                        << "[" << text << "] " << find << " > " << replacement << " in " << size;
                    ASSERT_EQ(std::string(buffer.c_str() + shift), result)
                        << "[" << text << "] " << find << " > " << replacement << " in " << size;
                    if (!fits) {
                        ASSERT_EQ(buffer, before);
                    }
                    size_t room = shift + std::max(size, text.size() + 1);
                    ASSERT_EQ(buffer.substr(room), before.substr(room));
                }
            }
    });

    // Long texts, where whole words are read at once, with matches at both ends
    // and accented letters, whose bytes have their high bit set.
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        std::string text = RandomText(random, "a  b\xE9", 90);
        const char* find = finds[round % 8];
        const char* replacement = replacements[round % 7];
        std::string result = text;
        size_t size = text.size() * 4 + 1;
        ASSERT_TRUE(ReferenceReplace(result, size, find, replacement));
        EXPECT_EQ(Edited(text, [&](char* t) { ReplaceAllSubstrings(t, size, find, replacement); }, size), result);
    }
}

// Every short text of blanks, tabs, breaks, newlines and letters is cleaned up
// as the rules taken literally clean it.
TEST(TextEditing, SqueezeWhitespaceAgreesOnEveryShortText)
{
    ForEveryText(" \t\r\na", 7, [](const std::string& text) {
        ASSERT_EQ(Edited(text, [](char* t) { SqueezeWhitespace(t); }), ReferenceSqueeze(text)) << text;
    });
}
