#include "net/bytes/SmtpText.h"

namespace {
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
}

CSmtpReplyReader::State CSmtpReplyReader::Feed(const char* bytes, size_t count, size_t& used)
{
    used = 0;
    while (used < count && m_state == State::kNeedMore) {
        char c = bytes[used++];
        if (c == '\n') {
            m_state = EndLine();
        } else if (c != '\r') {
            if (m_line.size() < kMaxSmtpReplyLine)
                m_line += c;
            else
                m_lineTooLong = true;
        }
    }
    return m_state;
}

CSmtpReplyReader::State CSmtpReplyReader::EndLine()
{
    std::string line;
    line.swap(m_line);
    if (!m_reply.text.empty())
        m_reply.text += "\r\n";
    m_reply.text += line;
    if (m_lineTooLong || ++m_lines > kMaxSmtpReplyLines)
        return State::kMalformed;
    if (line.size() < 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2]))
        return State::kMalformed;
    if (line.size() > 3 && line[3] != ' ' && line[3] != '-')
        return State::kMalformed;
    int code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
    if (code < 200 || code > 599 || (m_reply.code != 0 && code != m_reply.code))
        return State::kMalformed;
    m_reply.code = code;
    return line.size() > 3 && line[3] == '-' ? State::kNeedMore : State::kComplete;
}

void CSmtpReplyReader::Reset()
{
    m_line.clear();
    m_lines = 0;
    m_lineTooLong = false;
    m_reply = CSmtpReply();
    m_state = State::kNeedMore;
}

std::string StuffForData(const std::string& message)
{
    std::string out;
    out.reserve(message.size() + message.size() / 64 + 8);
    bool lineStart = true;
    for (size_t k = 0; k < message.size(); ++k) {
        char c = message[k];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && k + 1 < message.size() && message[k + 1] == '\n')
                ++k;
            out += "\r\n";
            lineStart = true;
            continue;
        }
        if (lineStart && c == '.')
            out += '.';
        out += c;
        lineStart = false;
    }
    if (!lineStart)
        out += "\r\n";
    out += ".\r\n";
    return out;
}
