#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One SMTP session that delivers one message: greeting, EHLO (HELO when the
// server does not know EHLO), AUTH LOGIN when asked for, MAIL FROM, RCPT TO for
// each recipient, DATA, QUIT. Every wait is bounded; a reply other than the one
// expected ends the session, and the outcome keeps the server's own words.

struct CSmtpServer {
    std::string host;  // name or dotted address
    unsigned port = 25;
    std::string heloName = "localhost";
    bool authenticate = false;
    std::string account;
    std::string password;
    DWORD connectTimeoutMs = 15000;
    DWORD replyTimeoutMs = 60000;
    const volatile LONG* stopFlag = nullptr;
};

struct CSmtpOutcome {
    bool delivered = false;
    // What went wrong: the command and the server's reply, or what failed
    // before the server could answer. Empty once delivered.
    std::string failure;
};

// Sends the message (complete, with CR LF line ends; it is dot-stuffed here)
// from `sender` to each plain address of `recipients`. Winsock must be started.
CSmtpOutcome SendSmtpMessage(const CSmtpServer& server, const std::string& sender,
                             const std::vector<std::string>& recipients, const std::string& message);
