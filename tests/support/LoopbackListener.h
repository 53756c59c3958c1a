#pragma once

#include <winsock2.h>

#include <windows.h>

// A socket that listens on 127.0.0.1 at a port nothing else uses, with
// Winsock for its lifetime; connections wait in its backlog until taken.
class LoopbackListener {
public:
    explicit LoopbackListener(int backlog = 4);
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    bool IsListening() const { return m_listening; }
    unsigned short Port() const { return m_port; }
    // A connection waiting to be taken, made non-blocking; INVALID_SOCKET
    // when none is waiting at the moment.
    SOCKET TakeWaiting();
    // Stops listening: the connections still waiting are refused.
    void Close();

private:
    SOCKET m_socket = INVALID_SOCKET;
    unsigned short m_port = 0;
    bool m_listening = false;
};
