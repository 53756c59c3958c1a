#pragma once

#include <windows.h>

#include <string>

#include "support/TempFolder.h"

// A real mail server on 127.0.0.1 for the e-mail tests: mail_server.py beside
// this file, run by Debian's Python outside Wine. It keeps what it receives in
// a folder of the test's, each message parsed by Python's email package into
// facts and decoded parts (see the script).
class MailServer {
public:
    // Options as the script takes them: "", "--auth NAME:PASSWORD",
    // "--drop-at-mail".
    explicit MailServer(const std::string& options = "");
    ~MailServer();
    MailServer(const MailServer&) = delete;
    MailServer& operator=(const MailServer&) = delete;

    // 0 when the server did not come up in time.
    unsigned short Port() const { return m_port; }
    // Waits until message n (from 1) has been parsed; false when it did not come.
    bool WaitForMessage(int n, DWORD timeoutMs = 30000) const;
    // The value of "key=" in message n's facts; "(none)" when absent.
    std::string Fact(int n, const std::string& key) const;
    // A file the server wrote: "message-1.text", "auth.log", ...
    std::string Read(const std::string& name) const;
    bool Has(const std::string& name) const;

private:
    TempFolder m_folder{"mail"};
    unsigned short m_port = 0;
};
