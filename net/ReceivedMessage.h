#pragma once

#include <string>

#include "net/bytes/WireText.h"

// A received text as a connection's thread has read it, off the main thread:
// the note's header, its rich text and the bytes of its attached file, ready
// for the main window, which makes the note.

enum class ReceivedMessageKind {
    kIgnored,  // under 50 bytes: a probe or an empty connection
    kRefused,  // not a wire text (see parseResult), or its rich text too long
    kNote,
};

struct CReceivedMessage {
    ReceivedMessageKind kind = ReceivedMessageKind::kIgnored;
    WireParseResult parseResult = WireParseResult::kNoHeaderEnd;
    std::string refusal;        // why it was refused
    CWireNote note;
    std::string richText;
    bool hasAttachment = false;
    std::string attachment;     // the attached file's bytes
    std::string peerAddress;    // the sender's address
};

// Reads the bytes of one connection (taken, to keep the attached file without
// a copy). A rich text longer than textLimit is refused before it is copied,
// for the reason given.
CReceivedMessage ParseReceivedMessage(std::string&& bytes, size_t textLimit, const std::string& overLimit);

// Writes the attached file to "ATTACHED\received.tmp" (main thread, which keeps
// or removes it). Throws CGenericException when it cannot be written.
void WriteReceivedAttachment(const CReceivedMessage& message);
