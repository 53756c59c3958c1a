#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/Base64Codec.h"
#include "foundation/bytes/Base64Lines.h"

namespace {
std::vector<unsigned char> Bytes(const std::string& text)
{
    return std::vector<unsigned char>(text.begin(), text.end());
}

std::vector<unsigned char> Pattern(size_t n)
{
    std::vector<unsigned char> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<unsigned char>(i * 37 % 256); // zero bytes included
    return bytes;
}

std::string EncodeString(const std::vector<unsigned char>& in)
{
    CBase64Codec codec;
    std::vector<char> out(CBase64Codec::EncodedLength(in.size()) + 1, 'x');
    size_t length = 0;
    EXPECT_TRUE(codec.EncodeString(in.data(), in.size(), out.data(), out.size(), &length));
    EXPECT_EQ(out[length], 0);
    return std::string(out.data(), length);
}

std::string EncodeLines(const std::vector<unsigned char>& in, unsigned flags)
{
    // The buffer is exactly the size asked for, so the sanitizers see any overrun.
    size_t size = Base64EncodedLength(in.size(), flags);
    std::unique_ptr<char[]> out(new char[size]);
    size_t length = size;
    EXPECT_TRUE(Base64Encode(in.data(), in.size(), out.get(), &length, flags));
    EXPECT_LE(length, size);
    return std::string(out.get(), length);
}

std::vector<unsigned char> DecodeLines(const std::string& text)
{
    size_t length = 0;
    EXPECT_TRUE(Base64Decode(text.data(), text.size(), nullptr, &length));
    std::vector<unsigned char> out(length);
    EXPECT_TRUE(Base64Decode(text.data(), text.size(), out.data(), &length));
    out.resize(length);
    return out;
}
}

TEST(Base64Codec, StandardVectorsBothWays)
{
    // Binary contents must survive whole: the bytes after a zero are data too.
    struct {
        std::string bytes;
        const char* text;
    } cases[] = {
        {"", ""}, {"a", "YQ=="}, {"ab", "YWI="}, {"abc", "YWJj"},
        {"Hello, World", "SGVsbG8sIFdvcmxk"}, {std::string("a\0bc\0", 5), "YQBiYwA="},
    };
    CBase64Codec codec;
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeString(Bytes(c.bytes)), c.text);
        unsigned char out[16];
        std::memset(out, 'x', sizeof out);
        size_t length = 99;
        ASSERT_TRUE(codec.DecodeString(c.text, std::strlen(c.text), out, sizeof out, &length)) << c.text;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), length), c.bytes);
        EXPECT_EQ(out[length], 0) << "a terminator follows the bytes";
    }
}

TEST(Base64Codec, RefusesForeignCharactersAndShortBuffers)
{
    CBase64Codec codec;
    unsigned char out[16];
    size_t length = 0;
    EXPECT_FALSE(codec.DecodeString("YW*j", 4, out, sizeof out, &length));
    EXPECT_FALSE(codec.DecodeString("YQ==YWJj", 8, out, sizeof out, &length)) << "padding only ends the text";
    EXPECT_FALSE(codec.DecodeString("YWJj", 4, out, 3, &length)) << "no room for the terminator";
    char text[4];
    EXPECT_FALSE(codec.EncodeString(reinterpret_cast<const unsigned char*>("abc"), 3, text, sizeof text, &length));
    EXPECT_FALSE(codec.Encode(text, 3, reinterpret_cast<const unsigned char*>("a"), 1));
}

TEST(Base64Codec, RoundTripsEveryLengthAndByteValue)
{
    CBase64Codec codec;
    for (size_t n = 0; n < 300; ++n) {
        std::vector<unsigned char> in = Pattern(n);
        std::string text = EncodeString(in);
        ASSERT_EQ(text.size(), CBase64Codec::EncodedLength(n));
        std::vector<unsigned char> out(CBase64Codec::DecodedLengthBound(text.size()) + 1);
        size_t length = 0;
        ASSERT_TRUE(codec.DecodeString(text.data(), text.size(), out.data(), out.size(), &length)) << n;
        out.resize(length);
        EXPECT_EQ(out, in) << n;
    }
}

TEST(Base64Lines, BreaksLinesEvery76Characters)
{
    std::string text57 = EncodeLines(Pattern(57), 0);
    ASSERT_EQ(text57.size(), 78u);
    EXPECT_EQ(text57.substr(76), "\r\n");

    std::string text58 = EncodeLines(Pattern(58), 0);
    ASSERT_EQ(text58.size(), 82u);
    EXPECT_EQ(text58.substr(76, 2), "\r\n");
    EXPECT_EQ(text58.substr(80), "==");

    std::string text61 = EncodeLines(Pattern(61), 0);
    ASSERT_EQ(text61.size(), 86u);
    EXPECT_EQ(text61.find("\r\n"), 76u);
    EXPECT_EQ(text61.find("\r\n", 78), std::string::npos) << "the last line has no line break";

    EXPECT_EQ(EncodeLines(Bytes("abc"), 0), "YWJj");
    EXPECT_EQ(EncodeLines(Bytes("a"), kBase64NoPadding), "YQ");
    EXPECT_EQ(EncodeLines(Pattern(200), kBase64NoLineBreaks).find('\r'), std::string::npos);
}

TEST(Base64Lines, EveryLengthFitsTheAnnouncedSizeAndNoLineIsLonger)
{
    for (unsigned flags = 0; flags < 4; ++flags) {
        for (size_t n = 0; n < 700; ++n) {
            std::vector<unsigned char> in = Pattern(n);
            std::string text = EncodeLines(in, flags);
            size_t lineStart = 0;
            for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", lineStart)) {
                EXPECT_EQ(at - lineStart, 76u);
                lineStart = at + 2;
            }
            if (!(flags & kBase64NoLineBreaks)) {
                EXPECT_LE(text.size() - lineStart, 76u);
            }
            EXPECT_EQ(DecodeLines(text), in) << n << " flags " << flags;
        }
    }
}

TEST(Base64Lines, RefusesAShortBufferOrMissingPointers)
{
    std::vector<unsigned char> in = Pattern(10);
    char out[64];
    size_t length = Base64EncodedLength(10, 0) - 1;
    EXPECT_FALSE(Base64Encode(in.data(), in.size(), out, &length, 0));
    EXPECT_FALSE(Base64Encode(in.data(), in.size(), nullptr, &length, 0));
    EXPECT_FALSE(Base64Encode(in.data(), in.size(), out, nullptr, 0));
    EXPECT_FALSE(Base64Decode("YWJj", 4, reinterpret_cast<unsigned char*>(out), nullptr));
}

TEST(Base64Decode, SkipsForeignCharactersAndCountsPastAShortBuffer)
{
    EXPECT_EQ(DecodeLines(" Y W\tJj*!\r\n"), Bytes("abc"));
    EXPECT_EQ(DecodeLines("YQ=="), Bytes("a"));

    unsigned char small[2];
    size_t length = sizeof small;
    EXPECT_FALSE(Base64Decode("YWJjYWJj", 8, small, &length));
    EXPECT_EQ(length, 6u) << "counting goes on after the buffer is full";
    EXPECT_EQ(small[0], 'a');
    EXPECT_EQ(small[1], 'b');
}
