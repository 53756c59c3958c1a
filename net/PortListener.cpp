#include "net/PortListener.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "foundation/CallbackGuard.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "net/PeerConnection.h"
#include "net/SocketWait.h"

namespace {
const int kBacklog = 4;
const DWORD kAcceptSliceMs = 250;
const DWORD kAcceptRetryMs = 50;
// A crowd of refused connections leaves one line a second in the log.
const DWORD kRefusalLogGapMs = 1000;
// A connection's thread reads into the heap: a small stack leaves room for many.
const SIZE_T kConnectionStackBytes = 256 * 1024;

// A connection thread serves one connection after another and waits between
// them for the next, until its receive thread ends: a thread started for each
// connection would cost about half a millisecond more per note under Wine.
struct ConnectionThread {
    HANDLE thread = nullptr;
    HANDLE wake = nullptr;         // set when a connection is given, or at the end
    CPortRecord* record = nullptr;
    SOCKET socket = INVALID_SOCKET;
    std::string peerAddress;       // the peer being served
    volatile LONG busy = 0;        // set by the receive thread, cleared by this one
    volatile LONG end = 0;
};

DWORD WINAPI ServeConnections(LPVOID parameter)
{
    ConnectionThread& self = *static_cast<ConnectionThread*>(parameter);
    for (;;) {
        WaitForSingleObject(self.wake, INFINITE);
        // A connection given just before the end is served first (the stop
        // ends it at once): its socket must not be left open.
        if (self.busy) {
            GuardQuietly(0, [&] {
                ServePeerConnection(*self.record, self.socket, self.peerAddress);
                return 0;
            });
            InterlockedExchange(&self.busy, 0);
        }
        if (self.end)
            return 0;
    }
}

// The connection threads of one receive thread, each serving at most one
// connection at a time; all ended before the receive thread ends.
class CConnections {
public:
    ~CConnections()
    {
        for (const auto& worker : m_threads) {
            InterlockedExchange(&worker->end, 1);
            SetEvent(worker->wake);
        }
        for (const auto& worker : m_threads) {
            WaitForSingleObject(worker->thread, INFINITE);
            CloseHandle(worker->thread);
            CloseHandle(worker->wake);
        }
    }

    // Whether another connection from the address may be served now.
    bool HasRoomFor(const CPortRecord& record, const std::string& peerAddress) const
    {
        int busy = 0;
        int fromPeer = 0;
        for (const auto& worker : m_threads) {
            if (!worker->busy)
                continue;
            ++busy;
            fromPeer += worker->peerAddress == peerAddress ? 1 : 0;
        }
        return busy < record.m_maxConnections && fromPeer < record.m_maxConnectionsFromPeer;
    }

    // Gives the connection to a waiting thread, or to a new one. False when
    // no thread could be started (the socket is then the caller's).
    bool Serve(CPortRecord& record, SOCKET peer, const std::string& peerAddress)
    {
        ConnectionThread* worker = Waiting();
        if (!worker)
            worker = Started();
        if (!worker)
            return false;
        worker->record = &record;
        worker->socket = peer;
        worker->peerAddress = peerAddress;
        InterlockedExchange(&worker->busy, 1);
        SetEvent(worker->wake);
        return true;
    }

private:
    ConnectionThread* Waiting() const
    {
        for (const auto& worker : m_threads)
            if (!worker->busy)
                return worker.get();
        return nullptr;
    }

    ConnectionThread* Started()
    {
        auto worker = std::make_unique<ConnectionThread>();
        worker->wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (!worker->wake)
            return nullptr;
        DWORD threadId = 0;
        worker->thread = CreateThread(nullptr, kConnectionStackBytes, &ServeConnections, worker.get(),
                                      STACK_SIZE_PARAM_IS_A_RESERVATION, &threadId);
        if (!worker->thread) {
            CloseHandle(worker->wake);
            return nullptr;
        }
        m_threads.push_back(std::move(worker));
        return m_threads.back().get();
    }

    std::vector<std::unique_ptr<ConnectionThread>> m_threads;
};

void RefuseAtOnce(const CPortRecord& record, SOCKET peer, const std::string& peerAddress, DWORD& lastLogged)
{
    linger reset = {1, 0};
    setsockopt(peer, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset), sizeof reset);
    closesocket(peer);
    if (GetTickCount() - lastLogged < kRefusalLogGapMs)
        return;
    lastLogged = GetTickCount();
    char text[96];
    std::snprintf(text, sizeof text, "port %lu, peer %s: ", static_cast<unsigned long>(record.m_port),
                  peerAddress.c_str());
    WriteErrorLog(text, "a connection was refused: too many connections are served at once");
}

void AcceptLoop(CPortRecord& record)
{
    CConnections connections;
    DWORD lastRefusalLogged = GetTickCount() - kRefusalLogGapMs;
    for (;;) {
        SocketWaitResult wait = WaitForSocket(record.m_socket, false, kAcceptSliceMs, &record.m_receiveStopFlag);
        if (wait == SocketWaitResult::kStopped || wait == SocketWaitResult::kFailed)
            break;
        if (wait == SocketWaitResult::kTimedOut)
            continue;
        sockaddr_in peerAddress = {};
        int addressLength = sizeof peerAddress;
        SOCKET peer = accept(record.m_socket, reinterpret_cast<sockaddr*>(&peerAddress), &addressLength);
        if (peer == INVALID_SOCKET) {
            if (IsStopSet(&record.m_receiveStopFlag) || WSAGetLastError() == WSAENOTSOCK)
                break;
            // Out of sockets, say: let the system recover instead of spinning.
            Sleep(kAcceptRetryMs);
            continue;
        }
        const std::string address = inet_ntoa(peerAddress.sin_addr);
        if (!connections.HasRoomFor(record, address) || !connections.Serve(record, peer, address))
            RefuseAtOnce(record, peer, address, lastRefusalLogged);
    }
}

DWORD WINAPI ReceiveThread(LPVOID parameter)
{
    CPortRecord& record = *static_cast<CPortRecord*>(parameter);
    GuardQuietly(0, [&] {
        AcceptLoop(record);
        return 0;
    });
    return 0;
}

[[noreturn]] void FailListening(SOCKET& socket, const char* text)
{
    CGenericException failure(text);
    if (socket != INVALID_SOCKET) {
        closesocket(socket);
        socket = INVALID_SOCKET;
    }
    throw failure;
}
}

void ListenOnPortThreadNew(HWND window, CPortRecord& record)
{
    // A changed port takes the record's place: the old listener goes first,
    // and while its thread lives no second one is started on the record.
    if (!StopListening(record))
        throw CGenericException(record.m_portNumber == 2 ? "The receiving notes thread 2 has not ended yet"
                                                         : "The receiving notes thread 1 has not ended yet");
    record.m_window = window;
    record.m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (record.m_socket == INVALID_SOCKET)
        FailListening(record.m_socket, "ListenOnPortTreadNew(),socket() failed");
    record.m_address = {};
    record.m_address.sin_family = AF_INET;
    record.m_address.sin_addr.s_addr = htonl(record.m_bindAddress);
    record.m_address.sin_port = htons(static_cast<u_short>(record.m_port));
    if (bind(record.m_socket, reinterpret_cast<sockaddr*>(&record.m_address), sizeof record.m_address) != 0)
        FailListening(record.m_socket, "ListenOnPortThreadNew(),bind() failed");
    int length = sizeof record.m_address;
    if (getsockname(record.m_socket, reinterpret_cast<sockaddr*>(&record.m_address), &length) == 0)
        record.m_port = ntohs(record.m_address.sin_port);
    if (listen(record.m_socket, kBacklog) != 0)
        FailListening(record.m_socket, "ListenOnPortThreadNew(),listen() failed");
    DWORD threadId = 0;
    record.m_thread = CreateThread(nullptr, 0, &ReceiveThread, &record, 0, &threadId);
    if (!record.m_thread)
        FailListening(record.m_socket, record.m_portNumber == 2 ? "The receiving notes thread 2 could not be started"
                                                                : "The receiving notes thread 1 could not be started");
}

namespace {
// The flag stops the threads at their next look; the closed socket ends the
// receive thread's wait for a connection at once. The record keeps the
// socket's number until the wait for its thread is over, so the thread never
// reads a number given to another socket meanwhile.
void AskToStop(CPortRecord& record)
{
    if (record.m_thread)
        InterlockedExchange(&record.m_receiveStopFlag, 1);
    if (record.m_socket != INVALID_SOCKET)
        closesocket(record.m_socket);
}

bool AwaitStop(CPortRecord& record)
{
    bool ended = true;
    if (record.m_thread) {
        DWORD start = GetTickCount();
        // A connection may be handing a message to a window of this thread:
        // keep handling sent messages while waiting, or both would wait for ever.
        for (;;) {
            DWORD waited = GetTickCount() - start;
            if (waited >= record.m_stopWaitMs) {
                ended = false;
                break;
            }
            DWORD wait = MsgWaitForMultipleObjects(1, &record.m_thread, FALSE, record.m_stopWaitMs - waited,
                                                   QS_SENDMESSAGE);
            if (wait == WAIT_OBJECT_0)
                break;
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        }
        if (ended) {
            CloseHandle(record.m_thread);
            record.m_thread = nullptr;
        } else {
            WriteErrorLog("StopListening: ", "the receive thread did not end in time");
        }
    }
    record.m_socket = INVALID_SOCKET;
    // Cleared only once no thread of the record is left to see it.
    if (ended)
        InterlockedExchange(&record.m_receiveStopFlag, 0);
    return ended;
}
}

bool StopListening(CPortRecord& record)
{
    return StopListening(&record, 1);
}

bool StopListening(CPortRecord* records, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        AskToStop(records[i]);
    bool ended = true;
    for (size_t i = 0; i < count; ++i)
        ended = AwaitStop(records[i]) && ended;
    return ended;
}
