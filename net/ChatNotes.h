#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "store/Destination.h"
#include "net/bytes/ChatText.h"

class CNoteController;

// Chat notes: a note whose text is a conversation with the programs of other
// computers. A chat note carries a strip of chat controls at its foot: one
// button per participant (its tooltip says who it is and whether it still
// takes part), an "End chat" button, and the line where the user types what
// to say. Everything here runs on the main thread.

// Chat states of the note object.
enum ChatNoteState : DWORD {
    kChatActive = 1,
    kChatEnded = 5,
    kChatDeleted = 6,  // the note is among the deleted notes
};

// Chat operations of a new chat note (the note creation's chat operation).
const BYTE kChatStartedHere = 2;
const BYTE kChatStartedElsewhere = 9;

// A new chat note (private message 0x80B5): the note becomes a chat note with
// its controls and no participants yet.
void SetUpChatNote(CNoteController& note, BYTE operation);
// A stored note (private message 0x80B9): when "chatnote.QPD" has a section for
// it, the note becomes a chat note again with its participants.
void ReadChatNoteSettings(CNoteController& note);
// Writes the note's section of "chatnote.QPD"; nothing for other notes.
void SaveChatNoteSettings(const CNoteController& note);

// The strip's height inside the note (0 for other notes); the note window lays
// out its body above it and calls this to place the strip in its client area.
int LayOutChatControls(HWND noteWindow, const RECT& client);

// The participants of a chat note, and its note by chat id (null when none).
std::vector<CChatPeer> ChatPeersOf(const CNoteController& note);
void SetChatPeers(CNoteController& note, const std::vector<CChatPeer>& peers);
CNoteController* FindChatNote(DWORD chatId);

// Marks the participant (matched by address and port, else by computer name)
// as having left, or as unreachable; updates its button and tooltip. False
// when the note has no such participant.
bool MarkChatParticipantLeft(CNoteController& note, const char* computerName, const char* address, DWORD port);
bool MarkChatParticipant(CNoteController& note, const CChatPeer& who, int state);

// Adds a line of the conversation to the note's text: the sender as the
// user's chat options show it, then the text; the user's own lines in bold
// when so chosen.
void AddChatLine(CNoteController& note, const std::string& userName, const std::string& computerName,
                 const std::string& text, bool own);

// Ends the chat: asks first when `ask` is set (and keeps the chat on No),
// removes the note's section of "chatnote.QPD", stops automatic resends,
// removes the chat controls and tells the participants. True when ended.
bool EndChat(CNoteController& note, int ask);
// Tells the participants that this chat note came back from the deleted
// notes; refused with a message while the note is sending.
void SendActionUndeletedChatNote(CNoteController& note);

// A chat note going to the deleted notes: its participants are told that the
// user left, and its section of "chatnote.QPD" goes with its record.
void OnChatNoteDeleted(CNoteController& note);
// A chat note back from the deleted notes: the chat goes on and the
// participants are told, unless the user no longer accepts chats or another
// chat note holds the same chat, in which case this one's chat is ended.
void OnChatNoteUndeleted(CNoteController& note);

// The user starts a chat from a note with the computers chosen in the send
// dialog: the note becomes a chat note of a new chat, and they are sent its
// text. Refused with a message when the note holds a chat already, the user
// has chats switched off, or none of them is a computer (e-mail recipients
// cannot chat).
bool StartChat(CNoteController& note, const std::vector<CDestination>& chosen);

// The user's line: added to the conversation in the note and sent to the
// participants.
void SayInChat(CNoteController& note, const std::string& text);
// The "End chat" button: ends the chat (asking first) and deletes the note.
void EndChatAndDelete(CNoteController& note);
