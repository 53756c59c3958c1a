// Winsock's header must come before windows.h.
#include <winsock2.h>

#include "net/ChatTraffic.h"

#include <cstring>
#include <memory>
#include <vector>

#include "foundation/CallbackGuard.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/StartupValues.h"
#include "net/ChatAvatars.h"
#include "net/ChatNotes.h"
#include "net/ChatStrip.h"
#include "net/NoteTransmit.h"
#include "net/PortListener.h"
#include "net/ReceivedMessage.h"
#include "net/SendThreads.h"
#include "net/bytes/RichTextReduce.h"
#include "note/NoteController.h"
#include "note/NoteCreation.h"
#include "note/NoteKeeper.h"
#include "store/NoteDescription.h"
#include "globals/ProgramGlobals.h"
#include "store/Sounds.h"

namespace {
struct CChatSendJob {
    HWND strip = nullptr;
    std::string wireText;
    std::vector<CChatPeer> peers;
    std::shared_ptr<CSendControl> control = std::make_shared<CSendControl>();
};

CChatPeer Myself()
{
    CChatPeer me;
    me.computerName = GetStartupValues().computerName;
    me.port = UserSettings().listenPort;
    return me;
}

// One of this computer's addresses: the loopback ones and those of its name.
bool IsOwnAddress(const std::string& address)
{
    if (address.compare(0, 4, "127.") == 0)
        return true;
    hostent* host = gethostbyname(GetStartupValues().computerName);
    for (int k = 0; host && host->h_addrtype == AF_INET && host->h_addr_list[k] && k < 16; ++k) {
        in_addr own;
        memcpy(&own, host->h_addr_list[k], sizeof own);
        if (address == inet_ntoa(own))
            return true;
    }
    return false;
}

// This program among a chat's participants: its listening port, and its
// computer's name or, for a participant known by address alone, one of its
// addresses.
bool IsMyself(const CChatPeer& peer)
{
    CChatPeer me = Myself();
    if (peer.port != me.port)
        return false;
    if (!peer.computerName.empty())
        return lstrcmpiA(peer.computerName.c_str(), me.computerName.c_str()) == 0;
    return IsOwnAddress(peer.ipAddress);
}

// The texts that introduce the user to the other participants bring the
// user's picture; lines said and partings do not.
bool CarriesAvatar(ChatOperation operation)
{
    return operation == ChatOperation::kStart || operation == ChatOperation::kJoined ||
           operation == ChatOperation::kUndeleted || operation == ChatOperation::kAvatar;
}

std::string WireTextFor(const CNoteController& note, ChatOperation operation, const std::string& text,
                        const std::vector<CChatPeer>& peers)
{
    CWireNote wire;
    wire.version = kWireVersion;
    wire.computerName = GetStartupValues().computerName;
    wire.userName = std::string(GetStartupValues().userName).substr(0, WireLimit::kUserName);
    wire.replyPort = UserSettings().listenPort;
    wire.title = note.m_title;
    wire.chatId = note.m_chatId;
    wire.chatOperation = ChatOperationName(operation);
    for (const CChatPeer& peer : peers)
        wire.coRecipients.push_back(WriteChatPeer(peer, false));
    if (CarriesAvatar(operation))
        PutOwnAvatar(wire);
    const std::string& body = operation == ChatOperation::kStart ? note.RichText() : text;
    return WriteWireText(wire, body.data(), body.size(), nullptr, 0);
}

DWORD WINAPI ChatSendThread(void* parameter)
{
    std::unique_ptr<CChatSendJob> job(static_cast<CChatSendJob*>(parameter));
    return GuardQuietly<DWORD>(0, [&] {
        CTransmitOptions options;
        options.stopFlag = &job->control->stop;
        for (const CChatPeer& peer : job->peers) {
            if (job->control->stop)
                break;
            CDestination recipient(peer.computerName.c_str(), peer.ipAddress.c_str(), "", "", "", 0, 0, 0, 0,
                                   peer.port);
            TransmitResult result = TransmitToRecipient(recipient, job->wireText, options);
            auto answer = std::make_unique<CChatPeer>(peer);
            answer->state = result == TransmitResult::kSent ? kPeerActive : kPeerUnreachable;
            if (PostMessageA(job->strip, CChatStrip::kMsgPeerResult, 0, reinterpret_cast<LPARAM>(answer.get())))
                answer.release();
        }
        return DWORD(0);
    });
}

// The participants a new chat starts with: the sender and, once each, those
// the sender names besides this program, at most as many as a chat holds.
// Those are the only computers the chat's texts go to.
std::vector<CChatPeer> ParticipantsOfStart(const CWireNote& wire, const CChatPeer& sender)
{
    std::vector<CChatPeer> peers{sender};
    for (const std::string& entry : wire.coRecipients) {
        if (peers.size() >= kMaxChatPeers)
            break;
        CChatPeer peer;
        if (!ParseChatPeer(entry, peer) || IsMyself(peer))
            continue;
        bool named = false;
        for (const CChatPeer& known : peers)
            named = named || known.SamePerson(peer);
        if (!named)
            peers.push_back(peer);
    }
    return peers;
}

void StartReceivedChat(INoteKeeper& keeper, const CReceivedMessage& message, CChatPeer sender)
{
    const CWireNote& wire = message.note;
    if (!UserSettings().chatOn) {
        WriteErrorLog("A chat request was refused: ", "this user does not accept chat requests");
        return;
    }
    sender.avatar = KeepReceivedAvatar(wire);
    NoteDescription description = UserDefaultDescription(NoteDescription());
    // A place other than 0, 0 keeps the description from reading as blank.
    description.forcePlacement = true;
    description.x = 1;
    description.chatId = wire.chatId;
    description.chatOperation = kChatStartedElsewhere;
    if (!wire.title.empty())
        description.title = wire.title.c_str();
    description.text = message.richText.data();
    description.textLength = static_cast<DWORD>(message.richText.size());
    description.receivedFrom = wire.computerName.c_str();
    CNoteController* note = CreateNote(description);
    if (!note)
        return;
    keeper.AdoptNewNote(note);
    SetChatPeers(*note, ParticipantsOfStart(wire, sender));
    note->SetModified();
    PlaySoundFile(UserSoundSlot(kSoundChatStarted));
    // The others learn who joined, with the user's picture.
    SendChatOperation(*note, ChatOperation::kAvatar, std::string());
}

// A participant that spoke or came back takes part (and is added when new);
// false when the chat is full and the sender not among its participants.
bool TakesPart(CNoteController& note, const CChatPeer& sender)
{
    if (MarkChatParticipant(note, sender, kPeerActive))
        return true;
    std::vector<CChatPeer> peers = ChatPeersOf(note);
    if (peers.size() >= kMaxChatPeers)
        return false;
    peers.push_back(sender);
    SetChatPeers(note, peers);
    note.SetModified();
    return true;
}

// A picture is kept for a participant of a chat that this program takes part
// in, while the user accepts chats: never for any text that merely names a chat.
bool KeepsPictureFor(const CNoteController& note)
{
    return UserSettings().chatOn && note.m_chatState == kChatActive;
}

// A participant that introduced itself again shows the picture it sent.
void ShowSenderPicture(CNoteController& note, const CChatPeer& sender)
{
    std::vector<CChatPeer> peers = ChatPeersOf(note);
    for (CChatPeer& peer : peers)
        if (peer.SamePerson(sender) && peer.avatar != sender.avatar) {
            peer.avatar = sender.avatar;
            SetChatPeers(note, peers);
            note.SetModified();
            return;
        }
}
}

void SendChatOperation(CNoteController& note, ChatOperation operation, const std::string& text)
{
    CChatStrip* strip = note.m_window ? CChatStrip::OfNote(note.m_window) : nullptr;
    if (!strip || note.m_chatId == 0)
        return;
    auto job = std::make_unique<CChatSendJob>();
    job->strip = strip->Window();
    for (const CChatPeer& peer : strip->Peers())
        if (peer.state != kPeerLeft)
            job->peers.push_back(peer);
    if (job->peers.empty())
        return;
    job->wireText = WireTextFor(note, operation, text, strip->Peers());
    // Ending the chat, or deleting its note, told the user that the others hear of it.
    job->control->finishBeforeClose = operation == ChatOperation::kClosed || operation == ChatOperation::kLeft;
    const std::shared_ptr<CSendControl> control = job->control;
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, &ChatSendThread, job.get(), 0, &threadId);
    if (!thread) {
        WriteLastErrorLog("The chat send thread could not be started");
        return;
    }
    job.release();
    RegisterSendThread(thread, control);
    CloseHandle(thread);
}

void OnChatReceived(INoteKeeper& keeper, const CReceivedMessage& message, const CPortRecord& port)
{
    const CWireNote& wire = message.note;
    ChatOperation operation = ParseChatOperation(wire.chatOperation);
    if (operation == ChatOperation::kNone || wire.chatId == 0) {
        WriteErrorLog("A chat message that this program does not know was dropped: ", wire.chatOperation.c_str());
        return;
    }
    CChatPeer sender;
    sender.computerName = wire.computerName;
    sender.ipAddress = port.m_peerAddress;
    sender.port = wire.replyPort;
    CNoteController* note = FindChatNote(wire.chatId);
    if (!note) {
        if (operation == ChatOperation::kStart)
            StartReceivedChat(keeper, message, sender);
        else
            WriteErrorLog("A message of a chat that has no note here was dropped, from ", wire.computerName.c_str());
        return;
    }
    switch (operation) {
    case ChatOperation::kMessage: {
        TakesPart(*note, sender);
        std::string text = ReducedToPlainText(ReduceRichText(message.richText.data(), message.richText.size()));
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
            text.pop_back();
        AddChatLine(*note, wire.userName, wire.computerName, text, false);
        PlaySoundFile(UserSoundSlot(kSoundChatLine));
        break;
    }
    case ChatOperation::kLeft:
    case ChatOperation::kClosed:
        MarkChatParticipant(*note, sender, kPeerLeft);
        break;
    default:  // started again, joined, undeleted, a new picture: the sender takes part
        if (TakesPart(*note, sender) && CarriesAvatar(operation) && KeepsPictureFor(*note)) {
            sender.avatar = KeepReceivedAvatar(wire);
            ShowSenderPicture(*note, sender);
        }
        break;
    }
}
