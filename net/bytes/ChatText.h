#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the wire texts of a chat carry besides a note's fields: the operation
// in "ChatOp", and the participants, one "AlsoTo" line each, as
// "computer|address|port". The chat note's section of "chatnote.QPD" keeps the
// same entries with the participant's state after them.

enum class ChatOperation {
    kNone,
    kStart,      // a new chat: the text so far, to every participant
    kMessage,    // a line added: the rich text is the line
    kJoined,     // the sender takes part again
    kLeft,       // the sender left the chat
    kClosed,     // the sender ended the chat
    kUndeleted,  // the sender's chat note came back from the deleted notes
    kAvatar,     // the sender's avatar, when it joined a chat or chose another
};

const char* ChatOperationName(ChatOperation operation);
// kNone for a name this program does not know.
ChatOperation ParseChatOperation(const std::string& name);

enum ChatPeerState : int { kPeerActive = 0, kPeerLeft = 1, kPeerUnreachable = 2 };

struct CChatPeer {
    std::string computerName;  // at most 100 characters
    std::string ipAddress;     // dotted, at most 15
    unsigned port = 0;         // 1 to 65535, or 0 when unknown
    int state = kPeerActive;
    std::string avatar;        // the participant's picture in the CHAT folder, or empty
    bool operator==(const CChatPeer& other) const;
    // The same participant: the same address and port when both have them,
    // else the same computer name ignoring case.
    bool SamePerson(const CChatPeer& other) const;
};

const size_t kMaxChatPeers = 32;

// "computer|address|port", and with the state "computer|address|port|state",
// followed by "|avatar" when the participant has a picture.
std::string WriteChatPeer(const CChatPeer& peer, bool withState);
// False for an entry without a computer name or address, or with bad numbers;
// an avatar name that is no plain file name is left out.
bool ParseChatPeer(const std::string& text, CChatPeer& peer);
