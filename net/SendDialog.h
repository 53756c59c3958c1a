#pragma once

#include <windows.h>

#include <vector>

#include "store/Destination.h"

class CNoteController;

// The note's send dialog: the computers the user has sent to or received from
// (the "SentTo" list, newest first), and another computer typed by name or IP
// address with its port, or an e-mail address. Input that names no
// destination is refused with a text that says why, and the dialog stays
// open. Answers the chosen destinations; none when the user cancelled.
// "Chat" instead of "Send" sets startChat: the user wants to chat with them.
std::vector<CDestination> RunSendDialog(HWND owner, const char* noteTitle, bool* startChat = nullptr);

// The note's Send command: with ask, the dialog chooses where it goes (or
// whom to chat with); without, it goes again to the destinations of its last
// send. 1 when a send or a chat was started.
int SendNoteTo(CNoteController& note, bool ask);
// The same for several notes in a row: with ask the chosen destinations are
// kept in the list for the next notes, else the list's are used. 0 when
// cancelled or there is nobody to send to.
int SendNoteTo(CNoteController& note, bool ask, std::vector<CDestination>& destinations);
