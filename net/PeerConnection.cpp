#include "net/PeerConnection.h"

#include <cstdio>
#include <cstring>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DiagnosticLog.h"
#include "net/PortListener.h"
#include "net/ReceivedMessage.h"
#include "net/SocketWait.h"
#include "net/bytes/ReceiveBudget.h"
#include "net/bytes/ReceiverAnswer.h"
#include "globals/MainWindowMessages.h"

namespace {
const DWORD kPieceBytes = 4096;
// How often a waiting connection looks at its deadline and its rate.
const DWORD kCheckSliceMs = 500;

enum class ReceiveEnd { kComplete, kTooLarge, kStalled, kTooSlow, kPastDeadline, kBroken, kStopped, kOverBudget };

// What all ports together take from their peers.
struct SharedBudget {
    CCriticalSection lock;
    CReceiveBudget budget;
};

SharedBudget& Shared()
{
    static SharedBudget shared;
    return shared;
}

// The bytes a connection holds, given back to the budget when it ends.
class CHeldBytes {
public:
    explicit CHeldBytes(const std::string& peer) : m_peer(peer) {}
    ~CHeldBytes()
    {
        CCriticalSectionLock hold(Shared().lock);
        Shared().budget.Release(m_count);
    }
    CHeldBytes(const CHeldBytes&) = delete;
    CHeldBytes& operator=(const CHeldBytes&) = delete;

    BudgetRefusal Take(DWORD count)
    {
        CCriticalSectionLock hold(Shared().lock);
        BudgetRefusal refusal = Shared().budget.TakeBytes(m_peer, count, GetTickCount());
        if (refusal == BudgetRefusal::kNone)
            m_count += count;
        return refusal;
    }

private:
    const std::string& m_peer;
    std::uint64_t m_count = 0;
};

// Why the budget refused, with the bound passed.
std::string Explain(BudgetRefusal refusal)
{
    CCriticalSectionLock hold(Shared().lock);
    return DescribeBudgetRefusal(refusal, Shared().budget.Limits());
}

void LogPeer(const CPortRecord& record, const std::string& peer, const std::string& why)
{
    char text[96];
    std::snprintf(text, sizeof text, "port %lu, peer %s: ", static_cast<unsigned long>(record.m_port), peer.c_str());
    WriteErrorLog(text, why.c_str());
}

// The socket reads without blocking while it lives.
class CNonBlockingReads {
public:
    explicit CNonBlockingReads(SOCKET socket) : m_socket(socket)
    {
        u_long on = 1;
        m_set = ioctlsocket(m_socket, FIONBIO, &on) == 0;
    }
    ~CNonBlockingReads()
    {
        u_long off = 0;
        if (m_set)
            ioctlsocket(m_socket, FIONBIO, &off);
    }
    CNonBlockingReads(const CNonBlockingReads&) = delete;
    CNonBlockingReads& operator=(const CNonBlockingReads&) = delete;
    bool IsSet() const { return m_set; }

private:
    SOCKET m_socket;
    bool m_set;
};

// Reads until the peer closes its side, within the record's bounds and the
// budget (a refusal of the budget is given back in refusal). Each piece is
// read at once when it is there; the socket is waited on only when it has
// nothing, so a peer that sends quickly costs one call a piece.
ReceiveEnd ReceiveWhole(const CPortRecord& record, SOCKET peer, std::string& bytes, CHeldBytes& held,
                        BudgetRefusal& refusal)
{
    CNonBlockingReads nonBlocking(peer);
    const DWORD start = GetTickCount();
    DWORD lastData = start;
    char piece[kPieceBytes];
    for (;;) {
        const DWORD now = GetTickCount();
        const DWORD elapsed = now - start;
        if (now - lastData >= record.m_stallTimeoutMs)
            return ReceiveEnd::kStalled;
        if (elapsed >= record.m_messageDeadlineMs)
            return ReceiveEnd::kPastDeadline;
        if (elapsed >= record.m_rateGraceMs &&
            bytes.size() < static_cast<std::uint64_t>(record.m_minimumBytesPerSecond) * elapsed / 1000)
            return ReceiveEnd::kTooSlow;
        if (IsStopSet(&record.m_receiveStopFlag))
            return ReceiveEnd::kStopped;
        // A blocking socket is read only once the wait says it has bytes.
        int count = SOCKET_ERROR;
        if (nonBlocking.IsSet()) {
            count = recv(peer, piece, sizeof piece, 0);
            if (count == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK)
                return ReceiveEnd::kBroken;
        }
        if (count == SOCKET_ERROR) {
            SocketWaitResult wait = WaitForSocket(peer, false, kCheckSliceMs, &record.m_receiveStopFlag);
            if (wait == SocketWaitResult::kTimedOut)
                continue;
            if (wait != SocketWaitResult::kReady)
                return wait == SocketWaitResult::kStopped ? ReceiveEnd::kStopped : ReceiveEnd::kBroken;
            if (nonBlocking.IsSet())
                continue;
            count = recv(peer, piece, sizeof piece, 0);
        }
        if (count == 0)
            return ReceiveEnd::kComplete;
        if (count < 0)
            return ReceiveEnd::kBroken;
        if (static_cast<DWORD>(count) > record.m_sizeLimit - bytes.size())
            return ReceiveEnd::kTooLarge;
        refusal = held.Take(static_cast<DWORD>(count));
        if (refusal != BudgetRefusal::kNone)
            return ReceiveEnd::kOverBudget;
        bytes.append(piece, static_cast<size_t>(count));
        lastData = GetTickCount();
    }
}

const char* DescribeReceiveEnd(ReceiveEnd end)
{
    switch (end) {
    case ReceiveEnd::kTooLarge:
        return "a received message passed the size limit and was dropped";
    case ReceiveEnd::kStalled:
        return "a peer sent nothing for too long and was dropped";
    case ReceiveEnd::kTooSlow:
        return "a peer sent too slowly and was dropped";
    case ReceiveEnd::kPastDeadline:
        return "a peer took too long over its message and was dropped";
    default:
        return nullptr;
    }
}

// The note is taken by the window, or the peer is told it was not (and its
// text dropped) by a reset.
void PeerConnectionAnswer(SOCKET peer, bool taken)
{
    if (taken) {
        send(peer, kReceiverStored, static_cast<int>(std::strlen(kReceiverStored)), 0);
    } else {
        linger reset = {1, 0};
        setsockopt(peer, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset), sizeof reset);
    }
    closesocket(peer);
}

// The message read off this thread; true when the window has kept it.
bool ReadAndHandOver(CPortRecord& record, std::string&& bytes, const std::string& peerAddress)
{
    std::uint64_t allowance;
    {
        CCriticalSectionLock hold(Shared().lock);
        allowance = Shared().budget.TextAllowance(peerAddress, GetTickCount());
    }
    const std::string overLimit = Explain(BudgetRefusal::kPeerText);
    CReceivedMessage message = ParseReceivedMessage(std::move(bytes), static_cast<size_t>(allowance), overLimit);
    message.peerAddress = peerAddress;
    if (message.kind == ReceivedMessageKind::kNote) {
        CCriticalSectionLock hold(Shared().lock);
        if (Shared().budget.TakeText(peerAddress, message.richText.size(), GetTickCount()) != BudgetRefusal::kNone) {
            message.kind = ReceivedMessageKind::kRefused;
            message.refusal = overLimit;
        }
    }
    if (message.kind == ReceivedMessageKind::kRefused)
        LogPeer(record, peerAddress, "a received message was refused: " + message.refusal);
    if (message.kind != ReceivedMessageKind::kNote)
        return false;
    return SendMessageA(record.m_window, kMsgMessageReceived, static_cast<WPARAM>(record.m_portNumber),
                        reinterpret_cast<LPARAM>(&message)) == 1;
}
}

void ServePeerConnection(CPortRecord& record, SOCKET peer, const std::string& peerAddress)
{
    send(peer, kReceiverGreeting, static_cast<int>(std::strlen(kReceiverGreeting)), 0);
    bool taken = false;
    {
        CHeldBytes held(peerAddress);
        std::string bytes;
        BudgetRefusal refusal = BudgetRefusal::kNone;
        ReceiveEnd end = ReceiveWhole(record, peer, bytes, held, refusal);
        if (end == ReceiveEnd::kComplete) {
            taken = ReadAndHandOver(record, std::move(bytes), peerAddress);
        } else if (end == ReceiveEnd::kOverBudget) {
            LogPeer(record, peerAddress, "a received message was refused: " + Explain(refusal));
        } else if (const char* why = DescribeReceiveEnd(end)) {
            LogPeer(record, peerAddress, why);
        }
    }
    PeerConnectionAnswer(peer, taken);
}

void SetReceiveLimits(const CReceiveLimits& limits)
{
    CCriticalSectionLock hold(Shared().lock);
    Shared().budget = CReceiveBudget(limits);
}
