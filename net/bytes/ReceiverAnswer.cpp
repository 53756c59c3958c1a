#include "net/bytes/ReceiverAnswer.h"

#include <cstring>

const char kReceiverGreeting[] = "Receiver=1#\r\n";
const char kReceiverStored[] = "Stored=1#\r\n";

bool IsGreeted(const char* bytes, size_t length)
{
    const size_t greeting = sizeof kReceiverGreeting - 1;
    return length >= greeting && std::memcmp(bytes, kReceiverGreeting, greeting) == 0;
}

ReceiverAnswer ReadReceiverAnswer(const char* bytes, size_t length)
{
    if (length == 0)
        return ReceiverAnswer::kOlderReceiver;
    const size_t greeting = sizeof kReceiverGreeting - 1;
    const size_t stored = sizeof kReceiverStored - 1;
    const bool kept = IsGreeted(bytes, length) && length == greeting + stored &&
                      std::memcmp(bytes + greeting, kReceiverStored, stored) == 0;
    return kept ? ReceiverAnswer::kStored : ReceiverAnswer::kNotStored;
}
