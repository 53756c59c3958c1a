#pragma once

#include <winsock2.h>

#include <string>

struct CPortRecord;

// One accepted connection of a listening port, served on a thread of its own:
// greeted, read whole within the record's bounds and the program's receive
// budget, read as a note, handed to the record's window, and answered: the
// line that says the note is kept, or a reset. Failures and refusals are
// logged with the peer's address. Closes the socket.
void ServePeerConnection(CPortRecord& record, SOCKET peer, const std::string& peerAddress);
