#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/bytes/GenericException.h"
#include "net/NoteTransmit.h"
#include "net/PortListener.h"
#include "net/ReceivedMessage.h"
#include "support/ProgramDriver.h"

// Stands in for the program's main window: a window of the test's thread that
// takes each received message as the program does and keeps it (or, asked
// to, answers that it did not).
struct CaughtMessage {
    int port;
    std::string peer;
    CReceivedMessage message;
    bool kept;
};

class NoteCatcher {
public:
    NoteCatcher();
    ~NoteCatcher();
    NoteCatcher(const NoteCatcher&) = delete;
    NoteCatcher& operator=(const NoteCatcher&) = delete;

    HWND Window() const { return m_window; }
    // Waits for a note with this title; null when none came in time.
    const CaughtMessage* WaitForNote(const std::string& title, DWORD timeoutMs = 30000);
    size_t CountOf(ReceivedMessageKind kind) const;
    // Sends from a thread of its own, as the program's send threads do, while
    // this thread goes on taking what the receive threads hand over.
    TransmitResult Send(CDestination& recipient, const std::string& wireText, const CTransmitOptions& options);

    std::vector<CaughtMessage> caught;
    bool refuseNotes = false;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window = nullptr;
};

// A listening port on 127.0.0.1 with a port number the system chooses, stopped
// when the object goes.
class ScopedListener {
public:
    ScopedListener(HWND window, int portNumber, DWORD sizeLimit = 32 * 1024 * 1024, DWORD stallTimeoutMs = 30000,
                   DWORD port = 0);
    ~ScopedListener() { StopListening(record); }
    ScopedListener(const ScopedListener&) = delete;
    ScopedListener& operator=(const ScopedListener&) = delete;

    CPortRecord record;
};

// Winsock for the test's lifetime.
class WinsockSession {
public:
    WinsockSession();
    ~WinsockSession() { WSACleanup(); }
};

CDestination LoopbackRecipient(DWORD port);
// A small note whose title tells it apart.
std::string SmallWireText(const std::string& title);
