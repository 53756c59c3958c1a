#pragma once

#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <string>

#include "net/bytes/WireText.h"
#include "support/ProgramDriver.h"

class CDbfFile;

// The real program driven over the network from outside: peers on 127.0.0.1
// for it to send to, notes sent to it as another computer's program sends
// them, its send requests, its send dialog and the notes it shows.

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

// The address of the port on 127.0.0.1, for bind and connect.
struct LoopbackAddress : sockaddr_in {
    explicit LoopbackAddress(unsigned long port);
    sockaddr* Get() { return reinterpret_cast<sockaddr*>(this); }
};
// A plain client socket to the port on 127.0.0.1, blocking, whose sends give
// up after a few seconds; from 127.0.0.1, or from another loopback address
// (host order), as another computer's peer.
class RawPeer {
public:
    explicit RawPeer(unsigned long port, ULONG from = INADDR_LOOPBACK);
    ~RawPeer() { closesocket(m_socket); }
    RawPeer(const RawPeer&) = delete;
    RawPeer& operator=(const RawPeer&) = delete;

    bool Send(const std::string& bytes);
    void FinishSending() { shutdown(m_socket, SD_SEND); }
    // Ends the connection by a reset, as a peer that breaks off does.
    void Reset();
    // True when the other side has closed or reset the connection within the
    // time; what it said before (its greeting) is passed over.
    bool WasDropped(DWORD timeoutMs);
    // What the other side said until it closed (or reset) the connection.
    std::string AnswerUntilClosed();

    bool connected = false;

private:
    SOCKET m_socket;
};

// Loopback addresses of peers other than 127.0.0.1.
const ULONG kOtherPeer = INADDR_LOOPBACK + 1;
const ULONG kThirdPeer = INADDR_LOOPBACK + 2;

// Whether the socket has something to read (or has closed) within the time.
bool Readable(SOCKET socket, long microseconds);
// Bytes of every value, the same for the same seed.
std::string RandomBytes(size_t count, unsigned seed);

// Sends the bytes to the port on 127.0.0.1 as the program's own sender does;
// true when the program answered that it kept them.
bool SendToProgram(unsigned short port, const std::string& bytes);
// The same, telling what became of them, in the words of DescribeTransmitResult.
std::string SendToProgramTelling(unsigned short port, const std::string& bytes);
// The note of the process whose text holds the part, once there is one
// (with a chat strip, when asked); null when none came in time.
HWND NoteHaving(DWORD process, const std::string& part, bool chat = false);
// Whether the chat note's participant button of that text shows its avatar
// rather than its name.
bool ShowsPicture(HWND note, const char* buttonText);
// The line shown by the strip along a sending note's bottom edge; empty when none.
std::string SendStripText(HWND note);
// The header of a locked note that anna sends from "PC-ANNA", titled "For
// your eyes"; its body is the caller's.
CWireNote LockedNoteFromAnna();
// This computer's name, as the program sends it.
std::string ThisComputer();

// Changes the first row of the install's settings table before the program runs.
void ChangeSettings(const ProgramInstall& install, const std::function<void(CDbfFile&)>& change);
// New users of the install accept chats.
void AcceptChats(const ProgramInstall& install);
// The note's "Send to" dialog, opened from its menu command.
HWND OpenSendDialog(HWND note, DWORD process);
void TypeInto(HWND dialog, int id, const std::string& text);
// "Exit" from the tray menu; the program must end with code 0.
void ExitProgram(RunningProgram& program, HWND main);

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

// A send request ("destination!#%@text[!#%@file]") of the first kind, or of
// the kind that waits for the note's next tick, handed over and answered.
const ULONG_PTR kSendRequest = 1;
const ULONG_PTR kSendRequestAtNextTick = 6;
void RequestSend(HWND main, const std::string& request, ULONG_PTR kind = kSendRequest);
// The request's destination for a peer on 127.0.0.1.
std::string Loopback(unsigned short port);
