#pragma once

#include <string>

#include "net/bytes/WireText.h"

// Reading the file a receive thread has handed over: the first step of a
// received note, on the main thread.

enum class ReceivedMessageKind {
    kIgnored,  // under 50 bytes: a probe or an empty connection
    kRefused,  // over the size limit, or not a wire text (see parseResult)
    kNote,
};

struct CReceivedMessage {
    ReceivedMessageKind kind = ReceivedMessageKind::kIgnored;
    WireParseResult parseResult = WireParseResult::kNoHeaderEnd;
    CWireNote note;
    std::string richText;
    bool hasAttachment = false;  // then written to "ATTACHED\received.tmp"
};

// The data-folder name of the file that the receive thread of port 1 or 2 writes.
const char* ReceiveFileName(int portNumber);

// Reads the port's file (port 1 or 2) whole, at most sizeLimit bytes, and splits
// off the attachment. A refused message is logged; a file that cannot be read
// or an attachment that cannot be written throws CGenericException.
CReceivedMessage ReadReceivedMessage(int portNumber, unsigned long sizeLimit);
