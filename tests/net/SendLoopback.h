#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

// A peer on 127.0.0.1 for the program to send to: it listens on a port,
// takes one connection at a time and reads it to the end, then closes (which
// tells the sender the note arrived). Every wait is bounded.
class LoopbackPeer {
public:
    explicit LoopbackPeer(unsigned short port);
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    bool IsListening() const { return m_listener != INVALID_SOCKET; }
    // The bytes of the next connection, once its sender has closed its side;
    // false when none came, or it did not end, within the time.
    bool Receive(std::string& bytes, DWORD timeoutMs = 30000);
    // Takes the next connection and reads nothing: the sender stalls. Reset
    // by DropStalled (the sender then sees its connection break).
    bool AcceptAndStall(DWORD timeoutMs = 30000);
    void DropStalled();

private:
    SOCKET Accept(DWORD timeoutMs);
    SOCKET m_listener = INVALID_SOCKET;
    SOCKET m_stalled = INVALID_SOCKET;
};

// The note of the process whose text holds the part; null when none does.
HWND NoteWhoseTextHas(DWORD process, const std::string& part);
// The line shown by the strip along a sending note's bottom edge; empty when none.
std::string SendStripText(HWND note);

// A request of a second start (WM_COPYDATA), sent from a thread of its own so
// that the test can answer a box the request may show; joined when it goes.
class ForwardedRequest {
public:
    ForwardedRequest(HWND main, ULONG_PTR code, const std::string& text);
    ~ForwardedRequest();
    ForwardedRequest(const ForwardedRequest&) = delete;
    ForwardedRequest& operator=(const ForwardedRequest&) = delete;

private:
    static DWORD WINAPI Run(void* self);
    HWND m_main;
    ULONG_PTR m_code;
    std::string m_text;
    HANDLE m_thread = nullptr;
};
