// Protected note bodies from arbitrary bytes (they arrive over the network, in
// backups and in the notes table): a body opens or is refused without reading
// outside it, an opened one is the text its digest names, and any text made
// into a body with a password opens with that password again.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "noteprops/bytes/ProtectedBody.h"

namespace {
// Any digest will do here: a short sum written as 32 hexadecimal digits.
std::string SumDigest(const std::string& bytes)
{
    uint32_t a = 1, b = 0;
    for (unsigned char c : bytes) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    char text[33];
    std::snprintf(text, sizeof text, "%08x%08x%08x%08x", a, b, a ^ b, static_cast<unsigned>(bytes.size()));
    return text;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    // The password text comes from the first bytes, the body is all of them:
    // a copy of exactly the input's size, so that any read past it is caught.
    const std::string passwordText(reinterpret_cast<const char*>(data), size < 8 ? size : 8);
    std::vector<char> body(data, data + size);
    std::string rtf;
    const ProtectedBodyResult result = OpenProtectedBody(body.data(), body.size(), passwordText, SumDigest, rtf);
    if (result == ProtectedBodyResult::kOpened) {
        FUZZ_CHECK(size >= kMinProtectedBodyBytes && HasProtectedMark(body.data(), body.size()));
        FUZZ_CHECK(SumDigest(rtf) == std::string(body.data() + size - kProtectedTailBytes, kProtectedDigestDigits));
    } else {
        FUZZ_CHECK(rtf.empty());
    }

    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string key = passwordText + "01234567";
    std::string made, failure;
    if (!MakeProtectedBody(text, key, SumDigest, made, failure)) {
        FUZZ_CHECK(text.empty() && !failure.empty());
        return 0;
    }
    FUZZ_CHECK(HasProtectedMark(made.data(), made.size()));
    std::string back;
    FUZZ_CHECK(OpenProtectedBody(made.data(), made.size(), key, SumDigest, back) == ProtectedBodyResult::kOpened);
    FUZZ_CHECK(back == text);
    return 0;
}
