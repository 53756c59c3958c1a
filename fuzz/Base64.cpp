// Base64 from arbitrary bytes: the one-line codec and the line-wrapping one
// decode any text into a buffer of exactly the size they announce, and any bytes
// come back unchanged from their encoding, in every layout.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "foundation/bytes/Base64Codec.h"
#include "foundation/bytes/Base64Lines.h"

namespace {
// Encodes with the one-line codec and decodes again.
void RoundTripOneLine(const CBase64Codec& codec, const unsigned char* bytes, size_t size)
{
    std::vector<char> text(CBase64Codec::EncodedLength(size) + 1);
    size_t textLength = 0;
    FUZZ_CHECK(codec.EncodeString(bytes, size, text.data(), text.size(), &textLength));
    FUZZ_CHECK(textLength == CBase64Codec::EncodedLength(size));
    // A capacity one short of the terminator must be refused, its last byte untouched.
    std::vector<char> tooShort(text.size(), '#');
    size_t ignored = 0;
    FUZZ_CHECK(!codec.EncodeString(bytes, size, tooShort.data(), tooShort.size() - 1, &ignored));
    FUZZ_CHECK(tooShort.back() == '#');

    std::vector<unsigned char> back(CBase64Codec::DecodedLengthBound(textLength) + 1);
    size_t backLength = 0;
    FUZZ_CHECK(codec.DecodeString(text.data(), CBase64Codec::EncodedLength(size), back.data(), back.size(),
                                  &backLength));
    FUZZ_CHECK(backLength == size);
    FUZZ_CHECK(std::equal(bytes, bytes + size, back.begin()));
}

void RoundTripLines(const unsigned char* bytes, size_t size, unsigned flags)
{
    const size_t announced = Base64EncodedLength(size, flags);
    std::vector<char> text(announced + 1);
    size_t textLength = announced;
    FUZZ_CHECK(Base64Encode(bytes, size, text.data(), &textLength, flags));
    FUZZ_CHECK(textLength <= announced);
    size_t backLength = 0;
    FUZZ_CHECK(Base64Decode(text.data(), textLength, nullptr, &backLength));
    FUZZ_CHECK(backLength == size);
    std::vector<unsigned char> back(size);
    backLength = back.size();
    FUZZ_CHECK(Base64Decode(text.data(), textLength, back.data(), &backLength));
    FUZZ_CHECK(backLength == size && std::equal(bytes, bytes + size, back.begin()));
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    const CBase64Codec codec;
    const char* text = reinterpret_cast<const char*>(data);

    // The input as text: whatever decodes fits the announced bound, and
    // decodes to the same bytes again once encoded.
    std::vector<unsigned char> decoded(CBase64Codec::DecodedLengthBound(size) + 1);
    size_t decodedLength = 0;
    if (codec.DecodeString(text, size, decoded.data(), decoded.size(), &decodedLength)) {
        FUZZ_CHECK(decodedLength < decoded.size());
        RoundTripOneLine(codec, decoded.data(), decodedLength);
    }

    // The tolerant decoder counts first, then fills a buffer of that size;
    // a buffer one byte short is refused.
    size_t counted = 0;
    FUZZ_CHECK(Base64Decode(text, size, nullptr, &counted));
    std::vector<unsigned char> lines(counted);
    size_t linesLength = lines.size();
    FUZZ_CHECK(Base64Decode(text, size, lines.data(), &linesLength));
    FUZZ_CHECK(linesLength == counted);
    if (counted > 0) {
        std::vector<unsigned char> shorter(counted, 0xA5);
        size_t shorterLength = counted - 1;
        FUZZ_CHECK(!Base64Decode(text, size, shorter.data(), &shorterLength));
        FUZZ_CHECK(shorter.back() == 0xA5);
    }

    // The input as bytes.
    RoundTripOneLine(codec, data, size);
    for (unsigned flags = 0; flags < 4; ++flags)
        RoundTripLines(data, size, flags);
    return 0;
}
