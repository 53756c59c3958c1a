#include <gtest/gtest.h>

#include "foundation/bytes/Base64Codec.h"
#include "foundation/bytes/AttachmentCipher.h"

TEST(AttachmentCipher, AFileGoesOutAsBase64OfItsXoredBytesWithTheMarkAndComesBackWhole)
{
    unsigned char key[8];
    EXPECT_FALSE(AttachmentKeyOf("1234567", key));
    ASSERT_TRUE(AttachmentKeyOf("0f3a9c1e77d2b5a04411aa99bb00cc33", key));

    std::string plain;
    for (int i = 0; i < 70000; ++i)
        plain += static_cast<char>(i * 131 % 256);
    const std::string sent = EncipherAttachment(plain, key);
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.substr(sent.size() - 3), "\xAD\x05\xFE");

    // Decoded by hand: Base64 first, then byte i XORed with key byte i mod 8.
    const std::string text = sent.substr(0, sent.size() - 3);
    std::string decoded(CBase64Codec::DecodedLengthBound(text.size()) + 1, '\0');
    size_t length = 0;
    ASSERT_TRUE(CBase64Codec().DecodeString(text.data(), text.size(), reinterpret_cast<unsigned char*>(&decoded[0]),
                                            decoded.size(), &length));
    ASSERT_EQ(length, plain.size());
    EXPECT_EQ(static_cast<unsigned char>(decoded[0]), static_cast<unsigned char>(plain[0]) ^ '0');
    EXPECT_EQ(static_cast<unsigned char>(decoded[9]), static_cast<unsigned char>(plain[9]) ^ 'f');

    std::string received = sent;
    ASSERT_TRUE(DecipherAttachment(received, key));
    EXPECT_TRUE(received == plain);

    // Without the mark, or with Base64 that does not decode, nothing changes.
    std::string unmarked = plain.substr(0, 100);
    EXPECT_FALSE(DecipherAttachment(unmarked, key));
    EXPECT_EQ(unmarked, plain.substr(0, 100));
    std::string broken = "abc*\xAD\x05\xFE";
    EXPECT_FALSE(DecipherAttachment(broken, key));
    EXPECT_EQ(broken, "abc*\xAD\x05\xFE");
    std::string empty = EncipherAttachment("", key);
    EXPECT_EQ(empty, "\xAD\x05\xFE");
}
