// Winsock's header must come before windows.h.
#include <winsock2.h>

#include "net/SmtpClient.h"

#include "foundation/bytes/Base64Lines.h"
#include "net/SocketConnect.h"
#include "net/bytes/MimeEncoding.h"
#include "net/bytes/SmtpText.h"

namespace {
const size_t kReceivePiece = 1024;

std::string Base64Line(const std::string& text)
{
    size_t length = Base64EncodedLength(text.size(), kBase64NoLineBreaks);
    std::string out(length, '\0');
    Base64Encode(reinterpret_cast<const unsigned char*>(text.data()), text.size(), &out[0], &length,
                 kBase64NoLineBreaks);
    out.resize(length);
    return out;
}

// A name for EHLO that cannot break the command line.
std::string CleanHeloName(const std::string& name)
{
    std::string out;
    for (char c : name)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.')
            out += c;
    return out.empty() ? std::string("localhost") : out;
}

class CSmtpSession {
public:
    explicit CSmtpSession(const CSmtpServer& server) : m_server(server) {}
    ~CSmtpSession()
    {
        if (m_socket != INVALID_SOCKET)
            closesocket(m_socket);
    }
    CSmtpSession(const CSmtpSession&) = delete;
    CSmtpSession& operator=(const CSmtpSession&) = delete;

    bool Open()
    {
        sockaddr_in address;
        if (!ResolveHostAddress(m_server.host.c_str(), m_server.port, address))
            return Fail("The SMTP server \"" + m_server.host + "\" could not be found");
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (m_socket == INVALID_SOCKET)
            return Fail("No socket could be made for the SMTP server");
        SocketWaitResult connected = ConnectWithin(m_socket, address, m_server.connectTimeoutMs, m_server.stopFlag);
        if (connected == SocketWaitResult::kStopped)
            return Fail("The program is closing");
        if (connected != SocketWaitResult::kReady)
            return Fail("The SMTP server " + Where() + " could not be reached");
        return Expect("the greeting", 220);
    }

    // Sends a command and reads its reply; `shown` names the command in a
    // failure (so that a password never reaches a report).
    bool Command(const std::string& line, const std::string& shown, int expected, int alsoGood = 0)
    {
        return SendBytes(line + "\r\n") && Expect(shown, expected, alsoGood);
    }

    bool SendBytes(const std::string& bytes)
    {
        switch (SendAllWithin(m_socket, bytes.data(), bytes.size(), m_server.replyTimeoutMs, m_server.stopFlag)) {
        case SocketWaitResult::kReady:
            return true;
        case SocketWaitResult::kStopped:
            return Fail("The program is closing");
        case SocketWaitResult::kFailed:
            return Fail("The connection to the SMTP server " + Where() + " broke while sending");
        default:
            return Fail("The SMTP server " + Where() + " took nothing more while sending");
        }
    }

    // Reads the reply to what was sent before.
    bool Expect(const std::string& shown, int expected, int alsoGood = 0)
    {
        if (!ReadReply(shown))
            return false;
        int code = m_reader.Reply().code;
        if (code == expected || (alsoGood != 0 && code == alsoGood))
            return true;
        return Fail("The SMTP server " + Where() + " answered " + shown + " with: " + m_reader.Reply().text);
    }

    const CSmtpReply& LastReply() const { return m_reader.Reply(); }
    const std::string& Failure() const { return m_failure; }
    void ForgetFailure() { m_failure.clear(); }

private:
    std::string Where() const { return m_server.host + ":" + std::to_string(m_server.port); }

    bool Fail(const std::string& text)
    {
        if (m_failure.empty())
            m_failure = text;
        return false;
    }

    bool ReadReply(const std::string& shown)
    {
        m_reader.Reset();
        DWORD start = GetTickCount();
        CSmtpReplyReader::State state = TakePending();
        while (state == CSmtpReplyReader::State::kNeedMore) {
            DWORD waited = GetTickCount() - start;
            if (waited >= m_server.replyTimeoutMs)
                return Fail("The SMTP server " + Where() + " did not answer " + shown + " in time");
            SocketWaitResult wait =
                WaitForSocket(m_socket, false, m_server.replyTimeoutMs - waited, m_server.stopFlag);
            if (wait == SocketWaitResult::kStopped)
                return Fail("The program is closing");
            if (wait == SocketWaitResult::kTimedOut)
                continue;
            char piece[kReceivePiece];
            int count = wait == SocketWaitResult::kReady ? recv(m_socket, piece, sizeof piece, 0) : SOCKET_ERROR;
            if (count <= 0)
                return Fail("The SMTP server " + Where() + " closed the connection before it answered " + shown +
                            Partial());
            m_pending.append(piece, static_cast<size_t>(count));
            state = TakePending();
        }
        if (state == CSmtpReplyReader::State::kMalformed)
            return Fail("The SMTP server " + Where() + " gave a reply this program cannot read to " + shown + ": " +
                        m_reader.Reply().text);
        return true;
    }

    CSmtpReplyReader::State TakePending()
    {
        size_t used = 0;
        CSmtpReplyReader::State state = m_reader.Feed(m_pending.data(), m_pending.size(), used);
        m_pending.erase(0, used);
        return state;
    }

    std::string Partial() const
    {
        return m_reader.Reply().text.empty() ? std::string() : " (it had sent: " + m_reader.Reply().text + ")";
    }

    const CSmtpServer& m_server;
    SOCKET m_socket = INVALID_SOCKET;
    CSmtpReplyReader m_reader;
    std::string m_pending;
    std::string m_failure;
};

bool Greet(CSmtpSession& session, const std::string& heloName)
{
    if (session.Command("EHLO " + heloName, "EHLO", 250))
        return true;
    // A server without the extensions refuses EHLO with a 5xx reply; any other
    // failure (a closed connection, a timeout) ends the session.
    if (session.LastReply().code < 500 || session.LastReply().code > 504)
        return false;
    session.ForgetFailure();
    return session.Command("HELO " + heloName, "HELO", 250);
}

bool LogIn(CSmtpSession& session, const CSmtpServer& server)
{
    return session.Command("AUTH LOGIN", "AUTH LOGIN", 334) &&
           session.Command(Base64Line(server.account), "the account name", 334) &&
           session.Command(Base64Line(server.password), "the password", 235);
}
}

CSmtpOutcome SendSmtpMessage(const CSmtpServer& server, const std::string& sender,
                             const std::vector<std::string>& recipients, const std::string& message)
{
    CSmtpOutcome outcome;
    if (!IsPlainMailAddress(sender)) {
        outcome.failure = "The sender's e-mail address \"" + sender + "\" cannot be used";
        return outcome;
    }
    if (recipients.empty()) {
        outcome.failure = "The e-mail has no recipient";
        return outcome;
    }
    for (const std::string& recipient : recipients)
        if (!IsPlainMailAddress(recipient)) {
            outcome.failure = "The e-mail address \"" + recipient + "\" cannot be used";
            return outcome;
        }

    CSmtpSession session(server);
    bool ok = session.Open() && Greet(session, CleanHeloName(server.heloName)) &&
              (!server.authenticate || LogIn(session, server)) &&
              session.Command("MAIL FROM:<" + sender + ">", "MAIL FROM", 250);
    for (size_t k = 0; ok && k < recipients.size(); ++k)
        ok = session.Command("RCPT TO:<" + recipients[k] + ">", "RCPT TO <" + recipients[k] + ">", 250, 251);
    ok = ok && session.Command("DATA", "DATA", 354) && session.SendBytes(StuffForData(message)) &&
         session.Expect("the message", 250);
    if (!ok) {
        outcome.failure = session.Failure();
        return outcome;
    }
    outcome.delivered = true;
    // The message is the server's now; a QUIT that goes wrong changes nothing.
    session.Command("QUIT", "QUIT", 221);
    return outcome;
}
