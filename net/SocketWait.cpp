#include "net/SocketWait.h"

namespace {
const DWORD kSliceMs = 200;
}

SocketWaitResult WaitForSocket(SOCKET socket, bool forWriting, DWORD timeoutMs, const volatile LONG* stopFlag)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (IsStopSet(stopFlag))
            return SocketWaitResult::kStopped;
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs)
            return SocketWaitResult::kTimedOut;
        DWORD slice = timeoutMs - waited < kSliceMs ? timeoutMs - waited : kSliceMs;
        fd_set ready;
        fd_set failed;
        FD_ZERO(&ready);
        FD_ZERO(&failed);
        FD_SET(socket, &ready);
        FD_SET(socket, &failed);
        timeval wait = {static_cast<long>(slice / 1000), static_cast<long>(slice % 1000 * 1000)};
        int count = select(0, forWriting ? nullptr : &ready, forWriting ? &ready : nullptr, &failed, &wait);
        if (count == SOCKET_ERROR || FD_ISSET(socket, &failed))
            return SocketWaitResult::kFailed;
        if (count > 0)
            return SocketWaitResult::kReady;
    }
}

SocketWaitResult SendAllWithin(SOCKET socket, const char* bytes, size_t count, DWORD stallTimeoutMs,
                               const volatile LONG* stopFlag)
{
    while (count > 0) {
        int sent = send(socket, bytes, static_cast<int>(count), 0);
        if (sent > 0) {
            bytes += sent;
            count -= static_cast<size_t>(sent);
            continue;
        }
        if (sent == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK)
            return SocketWaitResult::kFailed;
        SocketWaitResult wait = WaitForSocket(socket, true, stallTimeoutMs, stopFlag);
        if (wait != SocketWaitResult::kReady)
            return wait;
    }
    return SocketWaitResult::kReady;
}
