#pragma once

#include <string>
#include <vector>

#include "net/bytes/MimeEncoding.h"

// An e-mail as this program sends a note: a multipart message whose first part
// is the note's text (plain, or plain and HTML as alternatives) and whose further
// parts are attached files in Base64. Header values never carry a line break of
// their own: addresses with anything unusual are refused, free texts are
// cleaned and encoded.

struct CMimeAttachment {
    std::string fileName;  // a bare name; folders are dropped
    std::string bytes;
};

struct CMimeMessage {
    std::string fromAddress;
    std::string fromName;         // may be empty
    std::vector<std::string> to;  // plain addresses, at least one
    std::string subject;
    CMailDate date;
    // The left part of the Message-ID, unique per message: letters, digits and
    // ".-_$" only. The sender's domain completes it.
    std::string uniqueId;
    std::string text;  // windows-1252, any line ends
    std::string html;  // empty: the text alone
    std::vector<CMimeAttachment> attachments;
};

enum class MimeWriteResult { kWritten, kBadSender, kBadRecipient, kNoRecipient, kBadUniqueId };

// The whole message with CR LF line ends, ready for dot-stuffing; `out` is
// left empty unless the result is kWritten.
MimeWriteResult WriteMimeMessage(const CMimeMessage& message, std::string& out);

const char* DescribeMimeWriteResult(MimeWriteResult result);
