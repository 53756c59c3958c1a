// The destinations a user types (the send dialog's boxes, a send request of
// a second start's command line) and the enciphered attachment a protected
// note sends: whatever the text, a destination that is taken fits its record
// and is one kind of destination, and an attachment comes back as it went.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "foundation/bytes/AttachmentCipher.h"
#include "net/bytes/SendTarget.h"

namespace {
void CheckTaken(const SendTarget& target)
{
    FUZZ_CHECK(target.computerName.size() <= SendTargetLimit::kComputerName);
    FUZZ_CHECK(target.ipAddress.size() <= SendTargetLimit::kIpAddress);
    FUZZ_CHECK(target.email.size() <= SendTargetLimit::kEmail);
    FUZZ_CHECK(target.attachedFile.size() <= SendTargetLimit::kAttachedFile);
    FUZZ_CHECK(target.port <= 65535);
    FUZZ_CHECK(target.ipAddress.empty() || IsDottedAddress(target.ipAddress));
    FUZZ_CHECK(target.computerName.empty() || IsComputerName(target.computerName));
    const int kinds = !target.computerName.empty() + !target.ipAddress.empty() + !target.email.empty();
    FUZZ_CHECK(kinds <= 2);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    const std::string text(reinterpret_cast<const char*>(data), size);

    SendTarget target;
    std::string reason;
    if (ParseSendRequestTarget(text, target, reason)) {
        CheckTaken(target);
        FUZZ_CHECK(!target.computerName.empty() || !target.ipAddress.empty() || !target.email.empty());
    } else {
        FUZZ_CHECK(!reason.empty());
    }

    // The three boxes of the dialog, split at the first two zero bytes.
    const size_t first = text.find('\0');
    const size_t second = first == std::string::npos ? std::string::npos : text.find('\0', first + 1);
    const std::string name = text.substr(0, first);
    const std::string address = first == std::string::npos ? "" : text.substr(first + 1, second - first - 1);
    const std::string port = second == std::string::npos ? "1" : text.substr(second + 1);
    if (CheckTypedDestination(name, address, port, target).empty())
        CheckTaken(target);

    unsigned char key[8] = {};
    for (size_t i = 0; i < 8 && i < size; ++i)
        key[i] = data[i];
    std::string sent = EncipherAttachment(text, key);
    FUZZ_CHECK(DecipherAttachment(sent, key));
    FUZZ_CHECK(sent == text);
    std::string received = text;
    if (!DecipherAttachment(received, key))
        FUZZ_CHECK(received == text);
    return 0;
}
