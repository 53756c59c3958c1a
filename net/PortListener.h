#pragma once

#include <winsock2.h>
#include <windows.h>

struct CReceiveLimits;

// Listening for notes on one of the program's two ports. Each port record has
// a receive thread of its own that accepts connections and serves each on a
// connection thread, a few at a time, so that a slow or hostile peer cannot
// keep others out; a connection thread waits for the next connection once it
// is done with one, until the port stops. A connection's thread reads the
// whole text into memory, within the bounds below, and reads it as a note
// there; then hands it to the window with a synchronous kMsgMessageReceived
// (wParam: the port number 1 or 2; lParam: the const CReceivedMessage*), whose
// answer 1 says the note is kept. Only then does the peer hear that its note
// arrived; a text that is not kept is answered by a reset (docs/wire-text.md).

struct CPortRecord {
    SOCKET m_socket = INVALID_SOCKET;  // the listening socket
    sockaddr_in m_address = {};
    // The peer of the message the window handles: set by the window's thread.
    char m_peerAddress[16] = "";
    DWORD m_port = 0;                  // 0 lets the system choose (then set here)

    // One stop flag per port: stopping one port never touches the other.
    volatile LONG m_receiveStopFlag = 0;
    int m_portNumber = 1;               // 1 or 2
    HWND m_window = nullptr;            // receives kMsgMessageReceived
    HANDLE m_thread = nullptr;
    ULONG m_bindAddress = INADDR_ANY;   // in host order

    // Bounds of one connection.
    DWORD m_sizeLimit = 32 * 1024 * 1024;
    DWORD m_stallTimeoutMs = 30000;     // a peer silent this long is dropped
    DWORD m_messageDeadlineMs = 10 * 60 * 1000;
    // Once the first seconds are past, a peer that has sent less than this
    // many bytes a second on average is dropped.
    DWORD m_minimumBytesPerSecond = 1024;
    DWORD m_rateGraceMs = 10000;
    // Connections served at once, and of those from one address.
    int m_maxConnections = 16;
    int m_maxConnectionsFromPeer = 8;
    // How long StopListening waits for the receive thread.
    DWORD m_stopWaitMs = 5000;
};

// Creates the listening socket on the record's port (backlog 4) and starts its
// receive thread, after stopping the record's earlier listener if it has one;
// an earlier thread that does not end in time keeps the record, and this
// throws. Failures throw CGenericException with the step that failed.
void ListenOnPortThreadNew(HWND window, CPortRecord& record);

// Sets the record's stop flag, closes its socket and waits (at most the
// record's stop wait), handling the messages the threads send meanwhile, for
// the receive thread and its connections to end; then clears the flag. True
// when they ended (false keeps the thread in the record, with its flag set).
bool StopListening(CPortRecord& record);
// The same for several records at once: every one is told to stop and its
// socket closed first, then their threads are awaited, so that the waits
// overlap. True when every one ended.
bool StopListening(CPortRecord* records, size_t count);

// The bounds on what all ports together take from their peers (held at once,
// and per peer within a minute), counted afresh from now: for a moment
// without connections. The program's own unless changed.
void SetReceiveLimits(const CReceiveLimits& limits);
