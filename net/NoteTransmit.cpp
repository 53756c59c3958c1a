// Winsock's header must come before windows.h, which the recipient record brings.
#include <winsock2.h>

#include "net/NoteTransmit.h"

#include <algorithm>

#include "foundation/Clock.h"
#include "net/SocketConnect.h"
#include "net/bytes/ReceiverAnswer.h"

namespace {
// The socket closes whatever way the send ends. A send cut short is reset,
// not closed in order, so the receiver never takes a part for the whole.
class CSendSocket {
public:
    CSendSocket() : m_socket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
    ~CSendSocket()
    {
        if (m_socket == INVALID_SOCKET)
            return;
        if (!m_finished) {
            linger reset = {1, 0};
            setsockopt(m_socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset), sizeof reset);
        }
        closesocket(m_socket);
    }
    void MarkFinished() { m_finished = true; }
    CSendSocket(const CSendSocket&) = delete;
    CSendSocket& operator=(const CSendSocket&) = delete;
    SOCKET Get() const { return m_socket; }

private:
    SOCKET m_socket;
    bool m_finished = false;
};

// The recipient's address, else its computer name.
bool ResolveAddress(const CDestination& recipient, sockaddr_in& address)
{
    const char* host = recipient.m_ipAddress[0] ? recipient.m_ipAddress : recipient.m_computerName;
    return ResolveHostAddress(host, recipient.m_port, address);
}

// kSent here means connected: the send may go on.
TransmitResult Connect(SOCKET socket, const sockaddr_in& address, const CTransmitOptions& options)
{
    SocketWaitResult wait = ConnectWithin(socket, address, options.connectTimeoutMs, options.stopFlag);
    if (wait == SocketWaitResult::kStopped)
        return TransmitResult::kStopped;
    return wait == SocketWaitResult::kReady ? TransmitResult::kSent : TransmitResult::kConnectFailed;
}

// Sends count bytes, waiting while the receiver's window is full.
TransmitResult SendAll(SOCKET socket, const char* bytes, size_t count, const CTransmitOptions& options)
{
    SocketWaitResult result = SendAllWithin(socket, bytes, count, options.stallTimeoutMs, options.stopFlag);
    if (result == SocketWaitResult::kStopped)
        return TransmitResult::kStopped;
    return result == SocketWaitResult::kReady ? TransmitResult::kSent : TransmitResult::kSendFailed;
}

TransmitResult SendText(SOCKET socket, const std::string& wireText, const CTransmitOptions& options)
{
    if (wireText.size() <= kTransmitChunkBytes)
        return SendAll(socket, wireText.data(), wireText.size(), options);
    for (size_t sent = 0; sent < wireText.size();) {
        size_t piece = wireText.size() - sent < kTransmitChunkBytes ? wireText.size() - sent : kTransmitChunkBytes;
        TransmitResult result = SendAll(socket, wireText.data() + sent, piece, options);
        if (result != TransmitResult::kSent)
            return result;
        sent += piece;
        if (options.progress)
            options.progress(sent, wireText.size());
    }
    return TransmitResult::kSent;
}

// The receiver answers once it has kept the text, or resets the connection
// when it does not keep it; until then the note is not known to have arrived.
// An older receiver says nothing and closes once it holds the whole text.
TransmitResult AwaitReceiverAnswer(SOCKET socket, const CTransmitOptions& options)
{
    if (shutdown(socket, SD_SEND) != 0)
        return TransmitResult::kSendFailed;
    std::string answer;
    for (;;) {
        SocketWaitResult wait = WaitForSocket(socket, false, options.stallTimeoutMs, options.stopFlag);
        if (wait == SocketWaitResult::kStopped)
            return TransmitResult::kStopped;
        if (wait == SocketWaitResult::kTimedOut)
            return TransmitResult::kNotConfirmed;
        // A reset is seen as a failed wait: what came before it is read first.
        char piece[256];
        int count = recv(socket, piece, sizeof piece, 0);
        // A receiver that greeted and then ended without saying that it kept
        // the note refused it (or was stopped before it could keep it); its
        // reset may show as an end or as a failure.
        if (count == 0 && ReadReceiverAnswer(answer.data(), answer.size()) != ReceiverAnswer::kNotStored)
            return TransmitResult::kSent;
        if (count <= 0)
            return IsGreeted(answer.data(), answer.size()) ? TransmitResult::kRefused : TransmitResult::kNotConfirmed;
        // Kept up to one byte past the longest answer: a longer one is none.
        if (answer.size() <= kMaxReceiverAnswer)
            answer.append(piece, std::min(static_cast<size_t>(count), kMaxReceiverAnswer + 1 - answer.size()));
    }
}

TransmitResult TransmitOverTcp(const CDestination& recipient, const std::string& wireText,
                               const CTransmitOptions& options)
{
    sockaddr_in address;
    if (!ResolveAddress(recipient, address))
        return TransmitResult::kNoAddress;
    CSendSocket socket;
    if (socket.Get() == INVALID_SOCKET)
        return TransmitResult::kConnectFailed;
    TransmitResult result = Connect(socket.Get(), address, options);
    if (result == TransmitResult::kSent)
        result = SendText(socket.Get(), wireText, options);
    if (result == TransmitResult::kSent)
        result = AwaitReceiverAnswer(socket.Get(), options);
    if (result == TransmitResult::kSent)
        socket.MarkFinished();
    return result;
}
}

TransmitResult TransmitToRecipient(CDestination& recipient, const std::string& wireText, const CTransmitOptions& options)
{
    TransmitResult result;
    if (recipient.m_email[0])
        result = !options.sendEmail              ? TransmitResult::kNoEmailSender
                 : options.sendEmail(recipient) ? TransmitResult::kSent
                                                 : TransmitResult::kSendFailed;
    else
        result = TransmitOverTcp(recipient, wireText, options);
    recipient.m_status = result == TransmitResult::kSent ? 1 : 0;
    if (result == TransmitResult::kSent) {
        CDateTime now;
        now = GetLocalNow();
        recipient.SetLastSendTime(now);
    }
    return result;
}

const char* DescribeTransmitResult(TransmitResult result)
{
    switch (result) {
    case TransmitResult::kSent:
        return "sent";
    case TransmitResult::kNoAddress:
        return "the recipient's address is unknown";
    case TransmitResult::kConnectFailed:
        return "the recipient could not be reached";
    case TransmitResult::kSendFailed:
        return "the connection broke while sending";
    case TransmitResult::kNotConfirmed:
        return "the recipient did not confirm the note";
    case TransmitResult::kRefused:
        return "the recipient did not keep the note";
    case TransmitResult::kStopped:
        return "the program is closing";
    case TransmitResult::kNoEmailSender:
        return "e-mail sending is not available";
    }
    return "unknown";
}
