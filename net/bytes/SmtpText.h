#pragma once

#include <cstddef>
#include <string>

// The texts of an SMTP session: the server's replies, read line by line as the
// bytes arrive, and the message made safe for the DATA command.

// Bounds of a reply: a server that sends more is not one this program talks to.
const size_t kMaxSmtpReplyLine = 1024;
const size_t kMaxSmtpReplyLines = 64;

struct CSmtpReply {
    int code = 0;      // 200 to 599 once read
    std::string text;  // the reply's lines as sent, joined by CR LF, without their line ends
};

// Collects a reply from the bytes given to it. A reply is complete with its
// line "nnn text" (after any lines "nnn-text"); a line that is not of that
// form, a code that changes within a reply, a line longer than
// kMaxSmtpReplyLine or more than kMaxSmtpReplyLines lines make it malformed.
class CSmtpReplyReader {
public:
    enum class State { kNeedMore, kComplete, kMalformed };

    // Takes bytes until a reply is complete or malformed; `used` says how many
    // it took (the rest belong to a later reply).
    State Feed(const char* bytes, size_t count, size_t& used);

    // The reply read so far: complete, or what a malformed one held.
    const CSmtpReply& Reply() const { return m_reply; }

    // Ready for the next reply.
    void Reset();

private:
    State EndLine();

    std::string m_line;
    size_t m_lines = 0;
    bool m_lineTooLong = false;
    CSmtpReply m_reply;
    State m_state = State::kNeedMore;
};

// The message as DATA sends it: every line end CR LF, a '.' doubled at the start
// of each line, and the closing line "." after it.
std::string StuffForData(const std::string& message);
