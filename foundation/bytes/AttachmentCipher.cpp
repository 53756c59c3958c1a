#include "foundation/bytes/AttachmentCipher.h"

#include <cstring>

#include "foundation/bytes/Base64Codec.h"

const unsigned char kEncipheredAttachmentMark[3] = {0xAD, 0x05, 0xFE};

bool AttachmentKeyOf(const std::string& passwordText, unsigned char key[8])
{
    if (passwordText.size() < 8)
        return false;
    std::memcpy(key, passwordText.data(), 8);
    return true;
}

void XorWithKey(std::string& bytes, const unsigned char key[8])
{
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) ^ key[i % 8]);
}

std::string EncipherAttachment(const std::string& plain, const unsigned char key[8])
{
    std::string mixed = plain;
    XorWithKey(mixed, key);
    std::string text(CBase64Codec::EncodedLength(mixed.size()) + 1, '\0');
    size_t length = 0;
    CBase64Codec codec;
    codec.EncodeString(reinterpret_cast<const unsigned char*>(mixed.data()), mixed.size(), &text[0], text.size(),
                       &length);
    text.resize(length);
    text.append(reinterpret_cast<const char*>(kEncipheredAttachmentMark), sizeof kEncipheredAttachmentMark);
    return text;
}

bool DecipherAttachment(std::string& bytes, const unsigned char key[8])
{
    const size_t markSize = sizeof kEncipheredAttachmentMark;
    if (bytes.size() < markSize ||
        std::memcmp(bytes.data() + bytes.size() - markSize, kEncipheredAttachmentMark, markSize) != 0)
        return false;
    const size_t textLength = bytes.size() - markSize;
    std::string plain(CBase64Codec::DecodedLengthBound(textLength) + 1, '\0');
    size_t length = 0;
    CBase64Codec codec;
    if (!codec.DecodeString(bytes.data(), textLength, reinterpret_cast<unsigned char*>(&plain[0]), plain.size(),
                            &length))
        return false;
    plain.resize(length);
    XorWithKey(plain, key);
    bytes.swap(plain);
    return true;
}
