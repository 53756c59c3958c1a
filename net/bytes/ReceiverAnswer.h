#pragma once

#include <cstddef>

// What a receiver answers the sender of a wire text (docs/wire-text.md): the
// greeting it writes as it takes the connection, and, once the text is kept,
// the line that says so before it closes. A text it does not keep is answered
// by a reset. Older receivers write nothing and close once the text is in.

extern const char kReceiverGreeting[];  // "Receiver=1#\r\n"
extern const char kReceiverStored[];    // "Stored=1#\r\n"

// A sender keeps no more of the answer than this.
const size_t kMaxReceiverAnswer = 64;

enum class ReceiverAnswer {
    kStored,        // greeted, and the text is kept
    kNotStored,     // greeted (or answered something else), and no word that it is kept
    kOlderReceiver, // nothing at all: an older receiver, whose close says the text arrived
};

// The answer read up to the receiver's orderly close.
ReceiverAnswer ReadReceiverAnswer(const char* bytes, size_t length);

// Whether the bytes begin as a greeting: a reset after it is a refusal.
bool IsGreeted(const char* bytes, size_t length);
