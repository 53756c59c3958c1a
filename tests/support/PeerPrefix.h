#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "support/ProgramDriver.h"

// The time a first start of the peer may take (Wine makes the prefix when the
// test program runs without the test script).
const DWORD kPeerPrefixWaitMs = 240000;

// A second running program for tests of two instances talking to each other:
// qnpost.exe of an install run under a Wine prefix of its own (the tests'
// prefix with "-peer" added, which the test script makes), since a second start in the
// same session would only hand its command line to the first. Its windows
// live in another session that the test cannot see: it is driven by further
// starts in its prefix (such as "/close") and by what it writes and sends.
// The install's qnpost.exe may be of the other kind (support/OtherKind.h):
// the bits say which, this test program's own kind by default.
class PeerProgram {
public:
    PeerProgram(const ProgramInstall& install, const std::string& arguments, int bits = 0);
    // Ends the program (and its prefix's Wine processes) if it still runs.
    ~PeerProgram();
    PeerProgram(const PeerProgram&) = delete;
    PeerProgram& operator=(const PeerProgram&) = delete;

    bool IsRunning() const;
    // Waits until the condition holds; false at once when the program ends
    // or shows a message box first (Trouble says what was seen).
    bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kPeerPrefixWaitMs);
    std::string Trouble() const;
    // The text of the first message box the program (or a start of it in
    // its prefix) showed, as Wine writes it; empty while there was none.
    std::string ShownBox() const;
    // Another start of the program in the peer's prefix, which hands its
    // command line to the running one; true once that start has ended
    // (false at once when a box was shown).
    bool Forward(const std::string& arguments, DWORD timeoutMs = kDriverWaitMs);
    // True once the program has ended within the bound.
    bool WaitForExit(DWORD timeoutMs = kDriverWaitMs);

private:
    const ProgramInstall& m_install;
    const int m_bits;
    bool m_forwarding = false;  // a start was forwarded since the program began
};

