#pragma once

#include <windows.h>

#include <string>

#include "store/Destination.h"
#include "net/SmtpClient.h"

class CConfigSettings;

// A note sent as e-mail: the note's title as the subject, its text as the body
// (plain, or with an HTML copy in the note's colours), and its attached file.
// Runs in the send thread; it touches no window.

struct CEmailNote {
    std::string title;
    std::string richText;          // the note's rich text, or plain text
    COLORREF backColour = RGB(255, 255, 255);
    std::string attachmentPath;    // empty: nothing attached
};

struct CEmailSettings {
    CSmtpServer server;
    std::string senderAddress;
    std::string senderName;
    bool html = false;
};

// The Email sending settings: server, port, sender, AUTH LOGIN, HTML; EHLO
// names this computer.
CEmailSettings EmailSettingsFromConfig(const CConfigSettings& config, const char* computerName);

// Sends the note to the recipient's e-mail address. A failure is appended to
// "error.txt" and kept in the recipient's description, so that the delivery
// record says why; `failure` receives it too when given.
bool SendNoteByEmail(const CEmailSettings& settings, const CEmailNote& note, CDestination& recipient,
                     std::string* failure = nullptr);
