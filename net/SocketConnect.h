#pragma once

#include "net/SocketWait.h"

// Finding a host and connecting to it within a bound, for the program's
// outgoing connections.

// A dotted address, or a name the resolver knows; false when neither.
bool ResolveHostAddress(const char* host, unsigned port, sockaddr_in& address);

// Connects the socket (left non-blocking) to the address: kReady once
// connected, kTimedOut or kFailed when not, kStopped when the stop flag is set.
SocketWaitResult ConnectWithin(SOCKET socket, const sockaddr_in& address, DWORD timeoutMs,
                               const volatile LONG* stopFlag);
