#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/bytes/Base64Codec.h"
#include "foundation/bytes/MemoryZip.h"
#include "foundation/bytes/AttachmentCipher.h"
#include "noteprops/bytes/ProtectedBody.h"

namespace {
const char kHello[] = "{\\rtf1 Hello}";
// The MD5 of kHello, and the password text of "secret" (its first 8 digits are the key).
const char kHelloDigest[] = "08190f7344fdfba35e45522072770002";
const char kSecretText[] = "426897c0";
const char kSecretLongText[] = "426897c009d0ace762b6037caba82f87";

// A stand-in for MD5 where the real one is not at hand: kHello's true digest,
// two FNV-1a hashes of anything else.
std::string TestDigest(const std::string& bytes)
{
    if (bytes == kHello)
        return kHelloDigest;
    uint64_t a = 1469598103934665603ull, b = 1099511628211ull;
    for (unsigned char c : bytes) {
        a = (a ^ c) * 1099511628211ull;
        b = (b ^ c) * 14695981039346656037ull + 7;
    }
    char text[33];
    std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(a),
                  static_cast<unsigned long long>(b));
    return text;
}

std::string Body(const std::string& rtf, const std::string& passwordText)
{
    std::string body, failure;
    EXPECT_TRUE(MakeProtectedBody(rtf, passwordText, TestDigest, body, failure)) << failure;
    return body;
}

ProtectedBodyResult Open(const std::string& body, const std::string& passwordText, std::string& rtf)
{
    // An exact copy, so that a read past the end is caught.
    std::vector<char> exact(body.begin(), body.end());
    return OpenProtectedBody(exact.data(), exact.size(), passwordText, TestDigest, rtf);
}

// The payload the body carries: its Base64 decoded and deciphered.
std::string PayloadOf(const std::string& body, const char* passwordText)
{
    const std::string text = body.substr(0, body.size() - kProtectedTailBytes);
    std::string decoded(CBase64Codec::DecodedLengthBound(text.size()) + 1, '\0');
    size_t length = 0;
    EXPECT_TRUE(CBase64Codec().DecodeString(text.data(), text.size(), reinterpret_cast<unsigned char*>(&decoded[0]),
                                            decoded.size(), &length));
    decoded.resize(length);
    unsigned char key[8];
    EXPECT_TRUE(AttachmentKeyOf(passwordText, key));
    XorWithKey(decoded, key);
    return decoded;
}

std::string Enciphered(const std::string& payload, const char* passwordText, const std::string& digest)
{
    unsigned char key[8];
    EXPECT_TRUE(AttachmentKeyOf(passwordText, key));
    std::string mixed = payload;
    XorWithKey(mixed, key);
    std::string text(CBase64Codec::EncodedLength(mixed.size()) + 1, '\0');
    size_t length = 0;
    EXPECT_TRUE(CBase64Codec().EncodeString(reinterpret_cast<const unsigned char*>(mixed.data()), mixed.size(),
                                            &text[0], text.size(), &length));
    text.resize(length);
    return text + digest + "\xAD\x05\xFE";
}
}

TEST(ProtectedBody, ANoteIsWrittenByteForByteAndOpensOnlyWithItsPassword)
{
    const std::string body = Body(kHello, kSecretText);
    EXPECT_EQ(body, std::string("T25ETF8GQ3hRXlpXRA==") + kHelloDigest + "\xAD\x05\xFE");
    EXPECT_EQ(body.size(), 55u);
    EXPECT_TRUE(HasProtectedMark(body.data(), body.size()));

    // The key is the first 8 characters: the long text of the same password opens it.
    std::string rtf;
    EXPECT_EQ(Open(body, kSecretText, rtf), ProtectedBodyResult::kOpened);
    EXPECT_EQ(rtf, kHello);
    EXPECT_EQ(Open(body, kSecretLongText, rtf), ProtectedBodyResult::kOpened);
    EXPECT_EQ(rtf, kHello);

    // A wrong password is told apart from a broken body, and leaves nothing.
    EXPECT_EQ(Open(body, "426897c1", rtf), ProtectedBodyResult::kWrongPassword);
    EXPECT_TRUE(rtf.empty());
    EXPECT_EQ(Open(body, "4268", rtf), ProtectedBodyResult::kWrongPassword);
    EXPECT_STREQ(ProtectedBodyFailureText(ProtectedBodyResult::kWrongPassword), "");

    // A digest stored in upper case is the same digest.
    std::string upper = body;
    for (size_t i = body.size() - kProtectedTailBytes; i < body.size() - 3; ++i)
        upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(upper[i])));
    ASSERT_NE(upper, body);
    EXPECT_EQ(Open(upper, kSecretText, rtf), ProtectedBodyResult::kOpened);
    EXPECT_EQ(rtf, kHello);

    // A payload byte equal to its key byte enciphers to 0 and comes back.
    const std::string keyBytes = std::string("42") + '\0' + "6897c0" + "4-2-6-8-9-7-c-0" + '\0';
    EXPECT_EQ(Open(Body(keyBytes, kSecretText), kSecretText, rtf), ProtectedBodyResult::kOpened);
    EXPECT_EQ(rtf, keyBytes);
}

TEST(ProtectedBody, ShortTruncatedAndGarbledBodiesAreRefused)
{
    const std::string body = Body(kHello, kSecretText);
    std::string rtf;
    for (size_t length = 0; length < kMinProtectedBodyBytes; ++length) {
        std::string shortBody = body.substr(body.size() - length);
        EXPECT_EQ(Open(shortBody, kSecretText, rtf), ProtectedBodyResult::kNotDecodable) << length;
    }
    // One Base64 character short, one byte of the mark gone, a character
    // outside the alphabet, a digit of the digest changed.
    EXPECT_NE(Open(body.substr(1), kSecretText, rtf), ProtectedBodyResult::kOpened);
    EXPECT_EQ(Open(body.substr(0, body.size() - 1), kSecretText, rtf), ProtectedBodyResult::kNotDecodable);
    std::string garbled = body;
    garbled[3] = '*';
    EXPECT_EQ(Open(garbled, kSecretText, rtf), ProtectedBodyResult::kNotDecodable);
    EXPECT_STREQ(ProtectedBodyFailureText(ProtectedBodyResult::kNotDecodable), "RPB::DecodeString failed");
    std::string otherDigest = body;
    otherDigest[body.size() - 4] = otherDigest[body.size() - 4] == '2' ? '3' : '2';
    EXPECT_EQ(Open(otherDigest, kSecretText, rtf), ProtectedBodyResult::kWrongPassword);
    EXPECT_TRUE(rtf.empty());

    // An empty text makes no body.
    std::string none, failure;
    EXPECT_FALSE(MakeProtectedBody("", kSecretText, TestDigest, none, failure));
    EXPECT_FALSE(failure.empty());
    EXPECT_FALSE(MakeProtectedBody(kHello, "short", TestDigest, none, failure));
    EXPECT_EQ(failure, "GetEsenta of original content failed");
}

TEST(ProtectedBody, ALongTextTravelsPackedAndAPackedSizeBeyondAnyNoteIsRefused)
{
    std::string rtf = "{\\rtf1\\ansi ";
    for (int i = 0; rtf.size() < 300 * 1024; ++i)
        rtf += "line " + std::to_string(i) + " of a long note\\par\n";
    rtf += "}";
    const std::string body = Body(rtf, kSecretText);
    EXPECT_EQ(PayloadOf(body, kSecretText).compare(0, 5, "PK\x03\x04\x14", 5), 0);
    EXPECT_LT(body.size(), rtf.size());
    std::string opened;
    EXPECT_EQ(Open(body, kSecretText, opened), ProtectedBodyResult::kOpened);
    EXPECT_TRUE(opened == rtf);

    // Exactly 262,144 bytes stay unpacked; a short text that starts like a
    // zip is packed, or it would be read back as one.
    const std::string edge(kProtectedPackAbove, 'e');
    EXPECT_EQ(PayloadOf(Body(edge, kSecretText), kSecretText), edge);
    const std::string zipLike("PK\x03\x04\x14 text", 10);
    const std::string zipLikeBody = Body(zipLike, kSecretText);
    EXPECT_NE(PayloadOf(zipLikeBody, kSecretText), zipLike);
    EXPECT_EQ(Open(zipLikeBody, kSecretText, opened), ProtectedBodyResult::kOpened);
    EXPECT_EQ(opened, zipLike);

    // A payload that unpacks to more than any note holds is refused, whether
    // its size is stated truly or its directory claims 2 GB.
    const std::string huge(kMaxProtectedRtfBytes + 1, ' ');
    std::vector<unsigned char> hugeZip;
    ASSERT_TRUE(PackToMemoryZip(kPackedRtfEntryName, huge.data(), huge.size(), hugeZip));
    const std::string hugeBody =
        Enciphered(std::string(hugeZip.begin(), hugeZip.end()), kSecretText, TestDigest(huge));
    EXPECT_EQ(Open(hugeBody, kSecretText, opened), ProtectedBodyResult::kNoUnzipRoom);
    EXPECT_STREQ(ProtectedBodyFailureText(ProtectedBodyResult::kNoUnzipRoom), "RPB::Alloc unzip buffer failed");
    std::vector<unsigned char> zip;
    ASSERT_TRUE(PackToMemoryZip(kPackedRtfEntryName, "{\\rtf1 x}", 9, zip));
    std::string archive(zip.begin(), zip.end());
    const size_t central = archive.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    for (int i = 0; i < 4; ++i)
        archive[central + 24 + i] = i == 3 ? '\x7F' : '\xFF';
    const std::string bomb = Enciphered(archive, kSecretText, TestDigest("{\\rtf1 x}"));
    // (its entry no longer matches its directory, so it does not open)
    EXPECT_EQ(Open(bomb, kSecretText, opened), ProtectedBodyResult::kZipNotOpened);

    // A payload that starts as a zip and is none; a zip whose packed bytes
    // are damaged.
    const std::string notZip = Enciphered(std::string("PK\x03\x04\x14", 5) + std::string(60, 'z'), kSecretText,
                                          TestDigest("{\\rtf1 x}"));
    EXPECT_EQ(Open(notZip, kSecretText, opened), ProtectedBodyResult::kZipNotOpened);
    EXPECT_STREQ(ProtectedBodyFailureText(ProtectedBodyResult::kZipNotOpened), "RPB::OpenZIP failed");
    std::string damaged(zip.begin(), zip.end());
    const size_t data = 30 + std::strlen(kPackedRtfEntryName);
    for (size_t i = data; i < data + 4 && i < damaged.size(); ++i)
        damaged[i] = '\xFF';
    EXPECT_EQ(Open(Enciphered(damaged, kSecretText, TestDigest("{\\rtf1 x}")), kSecretText, opened),
              ProtectedBodyResult::kNotUnzipped);
    EXPECT_STREQ(ProtectedBodyFailureText(ProtectedBodyResult::kNotUnzipped), "RPB::UnzipItem failed");
    EXPECT_STREQ(ProtectedBodyFailureText(ProtectedBodyResult::kNotDeciphered), "RPB::DecodeBuffer failed");
    // Unchanged, the same archive opens.
    const std::string packed(zip.begin(), zip.end());
    EXPECT_EQ(Open(Enciphered(packed, kSecretText, TestDigest("{\\rtf1 x}")), kSecretText, opened),
              ProtectedBodyResult::kOpened);
    EXPECT_EQ(opened, "{\\rtf1 x}");
}

TEST(ProtectedBody, TheCipherKeepsToItsBuffer)
{
    unsigned char key[8];
    ASSERT_TRUE(AttachmentKeyOf(kSecretText, key));
    const unsigned char in[11] = {'4', '2', '6', 'x', 'y', 'z', 0, 1, 2, 3, 4};
    unsigned char out[11] = {};
    EXPECT_FALSE(DecodeBuffer(out, 10, in, 11, key));
    EXPECT_EQ(out[0], 0);
    ASSERT_TRUE(DecodeBuffer(out, 11, in, 11, key));
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[3], 'x' ^ '8');
    EXPECT_EQ(out[8], 2 ^ '4');
    unsigned char back[11];
    ASSERT_TRUE(DecodeBuffer(back, 11, out, 11, key));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(back), 11), std::string(reinterpret_cast<const char*>(in), 11));
    EXPECT_TRUE(DecodeBuffer(nullptr, 0, nullptr, 0, key));
}
