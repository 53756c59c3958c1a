#pragma once

#include <string>

#include "net/bytes/ChatText.h"

class CNoteController;
class INoteKeeper;
struct CPortRecord;
struct CReceivedMessage;

// What travels between the programs of a chat: each operation goes as a wire
// text with the chat's id, the operation, and the participants in "AlsoTo".

// Sends the operation with a text (the line said, or nothing) to every
// participant of the note's chat that has not left, on a thread of its own
// that stops when the program closes (net/SendThreads.h).
// Each participant's button then shows whether it could be reached.
void SendChatOperation(CNoteController& note, ChatOperation operation, const std::string& text);

// A received chat text (the receive side hands every chat text here): a new
// chat becomes a chat note, a line is added to its note, a participant that
// left or ended the chat is marked so, one that came back takes part again.
void OnChatReceived(INoteKeeper& keeper, const CReceivedMessage& message, const CPortRecord& port);
