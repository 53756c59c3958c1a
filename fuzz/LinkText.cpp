// The texts the program builds from links, paths and browser commands, which
// come from notes and from the registry: from arbitrary text, into buffers of
// every size, each is built whole and terminated inside its buffer or refused
// with the buffer left empty; nothing is read past the text's end.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "foundation/bytes/LaunchText.h"
#include "foundation/bytes/QuotedLink.h"
#include "foundation/bytes/UrlEncoding.h"

namespace {
// A buffer of exactly the size given, so that a write past it is caught.
void CheckBuilt(LaunchTextResult result, const std::vector<char>& out)
{
    if (out.empty())
        return;
    const void* end = std::memchr(out.data(), 0, out.size());
    FUZZ_CHECK(end != nullptr);
    if (result != LaunchTextResult::kBuilt)
        FUZZ_CHECK(out[0] == 0);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    if (size < 1)
        return 0;
    // The first byte chooses the buffer size; the rest, up to a zero byte, is
    // the command and after it the argument.
    const size_t bufferSize = 1 + data[0];
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string command = rest.substr(0, rest.find('\0'));
    const std::string argument = command.size() < rest.size() ? rest.substr(command.size() + 1).c_str() : "";

    std::vector<char> out(bufferSize, 'x');
    CheckBuilt(BuildLaunchCommandLine(command.c_str(), argument.c_str(), out.data(), out.size()), out);
    LaunchTextResult escaped = EscapeLinkQuotes(command.c_str(), out.data(), out.size());
    CheckBuilt(escaped, out);
    if (escaped == LaunchTextResult::kBuilt)
        FUZZ_CHECK(std::strchr(out.data(), '"') == nullptr);
    CheckBuilt(QuoteLinkForShell(command.c_str(), out.data(), out.size()), out);

    if (ExtractProgramPath(command.c_str(), out.data(), out.size()))
        FUZZ_CHECK(std::strlen(out.data()) < out.size());
    else
        FUZZ_CHECK(out[0] == 0);

    // A heap copy of exactly the text and its terminator; positions past its
    // end too. Each look walks the line, so long texts are looked at in part.
    std::vector<char> text(command.c_str(), command.c_str() + command.size() + 1);
    const size_t lastPosition = text.size() + 1 < 300 ? text.size() + 1 : 300;
    for (size_t position = 0; position <= lastPosition; ++position) {
        IsInsideQuotedLink(text.data(), position, true);
        IsInsideQuotedLink(text.data(), position, false);
    }

    for (unsigned char c : UrlEncodedText(command.c_str()))
        FUZZ_CHECK(c > ' ' && c < 127);
    return 0;
}
