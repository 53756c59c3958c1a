#pragma once

#include <string>

class CWindowController;
struct CPortRecord;
struct CReceivedMessage;

// A received message becomes a note of the user on the main thread
// (CWindowController::OnNoteReceived and ParseReceivedNote, net/NoteReceive.cpp).

// Messages of a chat are not notes: the chat code takes them (OnChatReceived,
// net/ChatTraffic.h); tests may put another handler in its place. Without one
// they are logged and dropped.
using ReceivedChatHandler = void (*)(CWindowController& application, const CReceivedMessage& message,
                                     const CPortRecord& port);
void SetReceivedChatHandler(ReceivedChatHandler handler);

// Moves "ATTACHED\received.tmp" into the "ATTACHED" folder under the name the
// sender gave (made safe), numbered when a file of that name is there already,
// so that no file is ever replaced. Returns the full path of the kept file;
// empty when there was none or it could not be kept (logged).
std::string KeepReceivedAttachment(const std::string& senderName);
