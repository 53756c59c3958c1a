#pragma once

#include <winsock2.h>
#include <windows.h>

// Listening for notes on one of the program's two ports. Each port record has
// a receive thread of its own that accepts one connection at a time, keeps what
// arrives in the port's file ("noteOnPort1.tmp" or "noteOnPort2.tmp" in the data
// folder) and, once the peer has closed, hands the file to the window with a
// synchronous kMsgMessageReceived (wParam: the port number 1 or 2; lParam: the
// CPortRecord); the next connection is accepted after the window has handled it.

struct CPortRecord {
    SOCKET m_socket = INVALID_SOCKET;  // the listening socket
    sockaddr_in m_address = {};
    char m_peerAddress[16] = "";       // address of the peer last received from
    DWORD m_port = 0;                  // 0 lets the system choose (then set here)

    // One stop flag per port: stopping one port never touches the other.
    volatile LONG m_receiveStopFlag = 0;
    int m_portNumber = 1;               // 1 or 2
    HWND m_window = nullptr;            // receives kMsgMessageReceived
    HANDLE m_thread = nullptr;
    ULONG m_bindAddress = INADDR_ANY;   // in host order
    DWORD m_sizeLimit = 32 * 1024 * 1024;
    DWORD m_stallTimeoutMs = 30000;     // a peer silent this long is dropped
};

// Creates the listening socket on the record's port (backlog 4) and starts its
// receive thread, after stopping the record's earlier listener if it has one.
// Failures throw CGenericException with the step that failed.
void ListenOnPortThreadNew(HWND window, CPortRecord& record);

// Sets the record's stop flag, closes its socket and waits, handling the
// messages the thread sends meanwhile, for the thread to end (at most a few
// seconds). True when it ended.
bool StopListening(CPortRecord& record);
