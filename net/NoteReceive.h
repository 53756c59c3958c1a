#pragma once

#include <windows.h>

#include <string>

#include "store/NoteDescription.h"

class CNoteController;
class INoteKeeper;
struct CPortRecord;
struct CReceivedMessage;
struct CWireNote;

// The network's part of a received message on the main thread; the main
// window's application object makes the note and tells the user
// (shell/WindowControllerReceive.cpp).

// The fonts a received note's description points to.
struct ReceivedLooks {
    LOGFONTA bodyFont;
    LOGFONTA titleFont;
};

// The description of the received note: the sender's looks over the user's
// defaults, placed by the program like every new note.
NoteDescription DescribeReceivedNote(const CWireNote& sent, const std::string& richText, ReceivedLooks& looks);

// The received note, made and kept: marked received and not yet seen, its
// attached file (the full path, or empty) named in its last line, its sender
// remembered, and the note stored before its sender hears that it arrived.
// False when the notes table could not take it: the note then lives only in
// memory, and its caller keeps it elsewhere or drops it before the sender is
// answered.
bool TakeReceivedNote(CNoteController& note, const CWireNote& sent, const std::string& attachedFile,
                      const CPortRecord& port);

// The balloon's text for the received note: its title and who sent it.
std::string ReceivedNoteBalloon(const CNoteController& note, const CWireNote& sent);

// Messages of a chat are not notes: the chat code takes them (OnChatReceived,
// net/ChatTraffic.h); tests may put another handler in its place. Without one
// they are logged and dropped.
using ReceivedChatHandler = void (*)(INoteKeeper& keeper, const CReceivedMessage& message, const CPortRecord& port);
void SetReceivedChatHandler(ReceivedChatHandler handler);
void PassReceivedChat(INoteKeeper& keeper, const CReceivedMessage& message, const CPortRecord& port);

// Moves "ATTACHED\received.tmp" into the "ATTACHED" folder under the name the
// sender gave (made safe), numbered when a file of that name is there already,
// so that no file is ever replaced. Returns the full path of the kept file;
// empty when there was none or it could not be kept (logged).
std::string KeepReceivedAttachment(const std::string& senderName);
