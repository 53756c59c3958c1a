#include "noteprops/bytes/ProtectedBody.h"

#include <cctype>
#include <cstring>
#include <new>
#include <vector>

#include "foundation/bytes/Base64Codec.h"
#include "foundation/bytes/MemoryZip.h"
#include "foundation/bytes/AttachmentCipher.h"

const char kPackedRtfEntryName[] = "fullscreen.rtf";

namespace {
// A packed payload starts with a zip's local header, version 20.
const char kZipHeader[] = "PK\x03\x04\x14";
const size_t kZipHeaderBytes = 5;

bool SameDigest(const std::string& a, const char* b)
{
    if (a.size() != kProtectedDigestDigits)
        return false;
    for (size_t i = 0; i < kProtectedDigestDigits; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The payload as it came out of the cipher: the rich text itself, or a zip of it.
ProtectedBodyResult UnpackPayload(std::string& payload, std::string& rtf)
{
    if (payload.size() <= kZipHeaderBytes || payload.compare(0, kZipHeaderBytes, kZipHeader, kZipHeaderBytes) != 0) {
        rtf.swap(payload);
        return ProtectedBodyResult::kOpened;
    }
    std::vector<unsigned char> bytes;
    ZipUnpackFailure failure = ZipUnpackFailure::kNone;
    if (!UnpackFirstMemoryZipEntry(payload.data(), payload.size(), bytes, nullptr, kMaxProtectedRtfBytes, &failure)) {
        return failure == ZipUnpackFailure::kOpen   ? ProtectedBodyResult::kZipNotOpened
               : failure == ZipUnpackFailure::kRoom ? ProtectedBodyResult::kNoUnzipRoom
                                                    : ProtectedBodyResult::kNotUnzipped;
    }
    rtf.assign(bytes.begin(), bytes.end());
    return ProtectedBodyResult::kOpened;
}

// The enciphered bytes deciphered; false when there is no room for them.
bool Decipher(const std::string& decoded, size_t length, const unsigned char key[8], std::string& payload)
{
    try {
        payload.assign(length, '\0');
    } catch (const std::bad_alloc&) {
        return false;
    }
    return DecodeBuffer(reinterpret_cast<unsigned char*>(&payload[0]), payload.size(),
                        reinterpret_cast<const unsigned char*>(decoded.data()), length, key);
}
}

bool DecodeBuffer(unsigned char* out, size_t capacity, const unsigned char* in, size_t length,
                  const unsigned char key[8])
{
    if (length > capacity || (length && (!out || !in)))
        return false;
    std::string bytes(reinterpret_cast<const char*>(in), length);
    XorWithKey(bytes, key);
    if (length)
        std::memcpy(out, bytes.data(), length);
    return true;
}

const char* ProtectedBodyFailureText(ProtectedBodyResult result)
{
    switch (result) {
    case ProtectedBodyResult::kNotDecodable:
        return "RPB::DecodeString failed";
    case ProtectedBodyResult::kNotDeciphered:
        return "RPB::DecodeBuffer failed";
    case ProtectedBodyResult::kZipNotOpened:
        return "RPB::OpenZIP failed";
    case ProtectedBodyResult::kNoUnzipRoom:
        return "RPB::Alloc unzip buffer failed";
    case ProtectedBodyResult::kNotUnzipped:
        return "RPB::UnzipItem failed";
    case ProtectedBodyResult::kNoDigest:
        return "RPB::CreateEsenta failed";
    default:
        return "";
    }
}

ProtectedBodyResult OpenProtectedBody(const char* body, size_t length, const std::string& passwordText,
                                      const ContentDigest& digest, std::string& rtf)
{
    rtf.clear();
    if (length < kMinProtectedBodyBytes || !HasProtectedMark(body, length))
        return ProtectedBodyResult::kNotDecodable;
    unsigned char key[8];
    if (!AttachmentKeyOf(passwordText, key))
        return ProtectedBodyResult::kWrongPassword;
    const size_t textLength = length - kProtectedTailBytes;
    std::string decoded(CBase64Codec::DecodedLengthBound(textLength) + 1, '\0');
    size_t decodedLength = 0;
    if (!CBase64Codec().DecodeString(body, textLength, reinterpret_cast<unsigned char*>(&decoded[0]), decoded.size(),
                                     &decodedLength))
        return ProtectedBodyResult::kNotDecodable;
    std::string payload;
    if (!Decipher(decoded, decodedLength, key, payload))
        return ProtectedBodyResult::kNotDeciphered;
    std::string plain;
    const ProtectedBodyResult unpacked = UnpackPayload(payload, plain);
    if (unpacked != ProtectedBodyResult::kOpened)
        return unpacked;
    const std::string made = digest(plain);
    if (made.empty())
        return ProtectedBodyResult::kNoDigest;
    if (!SameDigest(made, body + textLength))
        return ProtectedBodyResult::kWrongPassword;
    rtf.swap(plain);
    return ProtectedBodyResult::kOpened;
}

bool MakeProtectedBody(const std::string& rtf, const std::string& passwordText, const ContentDigest& digest,
                       std::string& body, std::string& failure)
{
    body.clear();
    unsigned char key[8];
    const std::string made = digest(rtf);
    if (made.size() != kProtectedDigestDigits || !AttachmentKeyOf(passwordText, key)) {
        failure = "GetEsenta of original content failed";
        return false;
    }
    std::string payload = rtf;
    // A text that itself starts like a zip would be read back as one: it is
    // packed whatever its length.
    const bool looksPacked = rtf.compare(0, kZipHeaderBytes, kZipHeader, kZipHeaderBytes) == 0;
    std::vector<unsigned char> packed;
    if ((rtf.size() > kProtectedPackAbove || looksPacked) &&
        PackToMemoryZip(kPackedRtfEntryName, rtf.data(), rtf.size(), packed))
        payload.assign(packed.begin(), packed.end());
    else if (looksPacked)
        payload.clear();
    // An empty payload would leave no Base64 text, and no body a reader takes.
    if (payload.empty()) {
        failure = "GetConversion of original content failed";
        return false;
    }
    XorWithKey(payload, key);
    std::string text(CBase64Codec::EncodedLength(payload.size()) + 1, '\0');
    size_t textLength = 0;
    if (!CBase64Codec().EncodeString(reinterpret_cast<const unsigned char*>(payload.data()), payload.size(), &text[0],
                                     text.size(), &textLength)) {
        failure = "Base64 encoding note failed";
        return false;
    }
    text.resize(textLength);
    body = text;
    for (char c : made)
        body += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    body.append(reinterpret_cast<const char*>(kProtectedBodyMark), sizeof kProtectedBodyMark);
    return true;
}
