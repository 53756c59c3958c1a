#include <cstdint>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "foundation/bytes/NumberCodes.h"
#include "foundation/bytes/UrlEncoding.h"
#include "foundation/bytes/WordCounts.h"
#include "support/bytes/MessageBoxRecorder.h"

TEST(NumberCodes, ParsingStaysWithinThirtyTwoBits)
{
    EXPECT_EQ(ParseNumber("  -42x", 10), -42);
    EXPECT_EQ(ParseNumber("ff", 16), 255);
    EXPECT_EQ(ParseNumber("99999999999", 10), INT32_MAX);
    EXPECT_EQ(ParseNumber("-99999999999", 10), INT32_MIN);
    EXPECT_EQ(ParseNumber(nullptr, 10), 0);
    EXPECT_EQ(AbsValue(-5), 5);
    EXPECT_EQ(AbsValue(INT32_MIN), INT32_MAX);
}

TEST(NumberCodes, HexAndBinaryTexts)
{
    MessageBoxRecorder boxes;
    EXPECT_EQ(HexTextToNumber(""), 0u);
    EXPECT_EQ(HexTextToNumber("A"), 10u);
    EXPECT_EQ(HexTextToNumber("1f"), 31u);
    EXPECT_EQ(HexTextToNumber("FFFF"), 65535u);
    EXPECT_EQ(HexTextToNumber("12345678"), 0x12345678u);
    EXPECT_EQ(BinaryTextToNumber("1011"), 11u);
    EXPECT_EQ(boxes.Count(), 0u);

    // An invalid digit counts as 0, is reported, and the rest is still read.
    EXPECT_EQ(HexTextToNumber("1G"), 16u);
    EXPECT_EQ(HexTextToNumber("G1A"), 0x01Au);
    ASSERT_EQ(boxes.Count(), 2u);
    RecordedBox box = boxes.Boxes()[0];
    EXPECT_EQ(box.text, "Invalid hex number");
    EXPECT_EQ(box.caption, "Quillnet+");
    EXPECT_EQ(box.flags, static_cast<unsigned>(kMbIconHand));
    EXPECT_EQ(box.owner, nullptr);
    // Digits beyond 1 are read by the hexadecimal table: "12" is 1 x 2 + 2.
    EXPECT_EQ(BinaryTextToNumber("12"), 4u);
}

TEST(NumberCodes, HexTextOfBytesStopsAtTheBufferSize)
{
    const unsigned char bytes[] = {0x0A, 0xFF, 0x10};
    char text[7] = "x:";
    BytesToHexText(text, sizeof text, bytes, sizeof bytes);
    EXPECT_STREQ(text, "x:0aff");
    char roomy[16] = "";
    BytesToHexText(roomy, sizeof roomy, bytes, sizeof bytes);
    EXPECT_STREQ(roomy, "0aff10");
    char unterminated[4] = {'a', 'b', 'c', 'd'};
    BytesToHexText(unterminated, sizeof unterminated, bytes, sizeof bytes);
    EXPECT_EQ(std::memcmp(unterminated, "abcd", 4), 0);
}

TEST(NumberCodes, ElfHashTakesBytesAsSigned)
{
    EXPECT_EQ(ElfHash("", 0), 0u);
    EXPECT_EQ(ElfHash("abc", 3), 26499u);
    EXPECT_EQ(ElfHash("hello", 5), 7258927u);
    // 0xE9 adds -23, not 233: texture ids of accented file names depend on it.
    EXPECT_EQ(ElfHash("\xE9", 1), 0x0FFFFF19u);
    EXPECT_EQ(ElfHash("caf\xE9", 4), 431945u);
    std::string longName(5000, 'z');
    EXPECT_LT(ElfHash(longName.data(), longName.size()), 0x10000000u);
}

TEST(NumberCodes, ChecksumCoversTheFirst255Bytes)
{
    std::string block(300, '\x01');
    EXPECT_EQ(Checksum255(block.data(), block.size()), 255u);
    EXPECT_EQ(Checksum255("\xFF\xFF\x02", 3), 512u);
    EXPECT_EQ(Checksum255(nullptr, 10), 0u);
}

TEST(UrlEncoding, EscapesAsTheWebSearchesExpect)
{
    struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"a b%41%zz", "a+b%41%25zz"},
        {"C:\\x y&z=1", "C%3A%5Cx+y%26z%3D1"},
        {"50%", "50%25"},
        {"%4", "%254"},
        {"caf\xE9\x7F\t", "caf%E9%7F%09"},
        {"<[{(a|b)}]>", "%3C%5B%7B%28a%7Cb%29%7D%5D%3E"},
        {"q?x=1;y@z,$^~`#/'\"+", "q%3Fx%3D1%3By%40z%2C%24%5E%7E%60%23%2F%27%22%2B"},
        {"keep-_.*!Az09", "keep-_.*!Az09"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlEncodedText(c.in), c.out) << c.in;
    EXPECT_EQ(UrlEncodedText(nullptr), "");
}

TEST(WordCounts, SyllablesAndConsonants)
{
    EXPECT_EQ(CountVowelGroups("the"), 0);
    EXPECT_EQ(CountVowelGroups("happy"), 2);
    EXPECT_EQ(CountVowelGroups("a"), 0);
    EXPECT_EQ(CountVowelGroups("beautiful"), 3);
    EXPECT_EQ(CountVowelGroups("SKY"), 1);
    EXPECT_EQ(CountVowelGroups("day"), 1);
    EXPECT_EQ(CountVowelGroups(""), 0);
    EXPECT_EQ(CountConsonants("Hello, World\xE9"), 8);
    EXPECT_EQ(CountConsonants("aeiouAEIOU 123"), 0);
}
