#include "support/LoopbackListener.h"

#include "support/ProgramDriver.h"

LoopbackListener::LoopbackListener(int backlog)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_port = FindFreePort();
    m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(m_port);
    m_listening = bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                  listen(m_socket, backlog) == 0;
}

LoopbackListener::~LoopbackListener()
{
    Close();
    WSACleanup();
}

SOCKET LoopbackListener::TakeWaiting()
{
    if (m_socket == INVALID_SOCKET)
        return INVALID_SOCKET;
    fd_set waiting;
    FD_ZERO(&waiting);
    FD_SET(m_socket, &waiting);
    timeval now = {0, 0};
    if (select(0, &waiting, nullptr, nullptr, &now) != 1)
        return INVALID_SOCKET;
    SOCKET taken = accept(m_socket, nullptr, nullptr);
    u_long nonBlocking = 1;
    if (taken != INVALID_SOCKET)
        ioctlsocket(taken, FIONBIO, &nonBlocking);
    return taken;
}

void LoopbackListener::Close()
{
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}
