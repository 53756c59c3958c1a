#include "net/PortListener.h"

#include <cstdio>

#include "foundation/CallbackGuard.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "net/ReceivedMessage.h"
#include "net/SocketWait.h"
#include "shell/MainWindowMessages.h"

namespace {
const int kBacklog = 4;
const DWORD kPieceBytes = 4096;
const DWORD kAcceptSliceMs = 250;
const DWORD kAcceptRetryMs = 50;
const DWORD kStopWaitMs = 5000;

enum class ReceiveResult { kComplete, kTooLarge, kStalled, kBroken, kStopped, kFileFailed };

// Writes what the peer sends into the file, a piece of at most 4096 bytes at a
// time, until the peer closes. Never more than the limit reaches the disk.
ReceiveResult ReceiveIntoFile(SOCKET peer, const char* path, const CPortRecord& record)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ReceiveResult::kFileFailed;
    char piece[kPieceBytes];
    DWORD total = 0;
    ReceiveResult result = ReceiveResult::kComplete;
    for (;;) {
        SocketWaitResult wait = WaitForSocket(peer, false, record.m_stallTimeoutMs, &record.m_receiveStopFlag);
        if (wait != SocketWaitResult::kReady) {
            result = wait == SocketWaitResult::kTimedOut ? ReceiveResult::kStalled
                     : wait == SocketWaitResult::kStopped ? ReceiveResult::kStopped
                                                          : ReceiveResult::kBroken;
            break;
        }
        int count = recv(peer, piece, sizeof piece, 0);
        if (count == 0)
            break;
        if (count < 0) {
            result = ReceiveResult::kBroken;
            break;
        }
        if (static_cast<DWORD>(count) > record.m_sizeLimit - total) {
            result = ReceiveResult::kTooLarge;
            break;
        }
        DWORD written = 0;
        if (!WriteFile(file, piece, static_cast<DWORD>(count), &written, nullptr) ||
            written != static_cast<DWORD>(count)) {
            result = ReceiveResult::kFileFailed;
            break;
        }
        total += written;
    }
    CloseHandle(file);
    return result;
}

void LogDroppedPeer(const CPortRecord& record, const char* why)
{
    char text[96];
    std::snprintf(text, sizeof text, "port %lu, peer %s: ", static_cast<unsigned long>(record.m_port),
                  record.m_peerAddress);
    WriteErrorLog(text, why);
}

// Closing without reading what is left makes the peer see a reset, so a sender
// cut off at the size limit learns that its note did not arrive.
void Receive(CPortRecord& record, SOCKET peer, const char* path)
{
    ReceiveResult result = ReceiveIntoFile(peer, path, record);
    if (result == ReceiveResult::kFileFailed)
        WriteLastErrorLog("A received message could not be written");
    closesocket(peer);
    if (result == ReceiveResult::kComplete) {
        SendMessageA(record.m_window, kMsgMessageReceived, static_cast<WPARAM>(record.m_portNumber),
                     reinterpret_cast<LPARAM>(&record));
    } else if (result == ReceiveResult::kTooLarge) {
        LogDroppedPeer(record, "a received message passed the size limit and was dropped");
    } else if (result == ReceiveResult::kStalled) {
        LogDroppedPeer(record, "a peer sent nothing for too long and was dropped");
    }
    DeleteFileA(path);
}

void AcceptLoop(CPortRecord& record)
{
    std::string path = DataFilePath(ReceiveFileName(record.m_portNumber));
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
        std::snprintf(record.m_peerAddress, sizeof record.m_peerAddress, "%s", inet_ntoa(peerAddress.sin_addr));
        Receive(record, peer, path.c_str());
    }
    DeleteFileA(path.c_str());
}

DWORD WINAPI ReceiveThread(LPVOID parameter)
{
    CPortRecord& record = *static_cast<CPortRecord*>(parameter);
    GuardQuietly(0, [&] {
        AcceptLoop(record);
        return 0;
    });
    InterlockedExchange(&record.m_receiveStopFlag, 0);
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
    // A changed port takes the record's place: the old listener goes first.
    StopListening(record);
    record.m_window = window;
    record.m_receiveStopFlag = 0;
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

bool StopListening(CPortRecord& record)
{
    bool ended = true;
    if (record.m_thread) {
        InterlockedExchange(&record.m_receiveStopFlag, 1);
        DWORD start = GetTickCount();
        // The thread may be handing a message to a window of this thread: keep
        // handling sent messages while waiting, or both would wait for ever.
        for (;;) {
            DWORD waited = GetTickCount() - start;
            if (waited >= kStopWaitMs) {
                ended = false;
                break;
            }
            DWORD wait = MsgWaitForMultipleObjects(1, &record.m_thread, FALSE, kStopWaitMs - waited, QS_SENDMESSAGE);
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
    if (record.m_socket != INVALID_SOCKET) {
        closesocket(record.m_socket);
        record.m_socket = INVALID_SOCKET;
    }
    return ended;
}
