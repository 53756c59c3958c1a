#pragma once

#include <winsock2.h>
#include <windows.h>

// Waiting on one socket in short slices, so that a thread sees its stop flag
// (the program closing, a port stopped) within a fraction of a second and
// never waits on a peer longer than its timeout.

enum class SocketWaitResult { kReady, kTimedOut, kStopped, kFailed };

// Until the socket has bytes (or a close) to read, or, forWriting, until it
// takes bytes or a connect has completed; a failed connect gives kFailed.
SocketWaitResult WaitForSocket(SOCKET socket, bool forWriting, DWORD timeoutMs, const volatile LONG* stopFlag);

// Sends every byte, waiting (up to the timeout each time) while the peer takes
// nothing: kReady once all went, kFailed when the connection broke.
SocketWaitResult SendAllWithin(SOCKET socket, const char* bytes, size_t count, DWORD stallTimeoutMs,
                               const volatile LONG* stopFlag);

inline bool IsStopSet(const volatile LONG* stopFlag)
{
    return stopFlag && *stopFlag != 0;
}
