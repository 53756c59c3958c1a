#include "net/SocketConnect.h"

#include <cstring>

bool ResolveHostAddress(const char* host, unsigned port, sockaddr_in& address)
{
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    if (!host || !host[0])
        return false;
    address.sin_addr.s_addr = inet_addr(host);
    if (address.sin_addr.s_addr != INADDR_NONE)
        return true;
    hostent* found = gethostbyname(host);
    if (!found || found->h_addrtype != AF_INET || !found->h_addr_list[0])
        return false;
    std::memcpy(&address.sin_addr, found->h_addr_list[0], sizeof address.sin_addr);
    return true;
}

SocketWaitResult ConnectWithin(SOCKET socket, const sockaddr_in& address, DWORD timeoutMs,
                               const volatile LONG* stopFlag)
{
    u_long nonBlocking = 1;
    ioctlsocket(socket, FIONBIO, &nonBlocking);
    if (connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return SocketWaitResult::kReady;
    if (WSAGetLastError() != WSAEWOULDBLOCK)
        return SocketWaitResult::kFailed;
    return WaitForSocket(socket, true, timeoutMs, stopFlag);
}
