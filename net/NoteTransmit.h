#pragma once

#include <functional>
#include <string>

#include "store/Destination.h"

// Sending one wire text to one recipient, as a send thread does for each
// recipient of a note. The result is recorded in the recipient's send record:
// status 1 and the time of the send when the receiver said it kept the note,
// status 0 otherwise. Nothing here waits longer than its timeouts, and a set stop flag
// ends the send within a fraction of a second.

enum class TransmitResult {
    kSent,          // the receiver said it kept the note (an older one: it read everything and closed)
    kNoAddress,     // neither an IP address nor a computer name that resolves
    kConnectFailed, // nothing listens there, or no answer in time
    kSendFailed,    // the connection broke or stalled while sending
    kNotConfirmed,  // everything went out, but the receiver never said it kept the note
    kRefused,       // the receiver greeted, then ended without keeping the note
    kStopped,       // the program is closing
    kNoEmailSender, // the recipient has an e-mail address and no sender was given
};

// Larger texts go in pieces of this size, each reported to the progress callback.
const size_t kTransmitChunkBytes = 32768;

struct CTransmitOptions {
    DWORD connectTimeoutMs = 10000;
    // A receiver answers once it has stored the note, and may be busy with
    // others: a sender waits this long for it to read more or to answer.
    DWORD stallTimeoutMs = 65000;
    const volatile LONG* stopFlag = nullptr;
    // Bytes sent so far and the total, after each piece of a chunked send.
    std::function<void(size_t sent, size_t total)> progress;
    // Sends to a recipient that has an e-mail address instead of a computer;
    // true when the message went out.
    std::function<bool(CDestination& recipient)> sendEmail;
};

TransmitResult TransmitToRecipient(CDestination& recipient, const std::string& wireText, const CTransmitOptions& options);

const char* DescribeTransmitResult(TransmitResult result);
