#include "net/ChatNotes.h"

#include <richedit.h>

#include <cstdio>
#include <cstdlib>

#include "foundation/DataFolder.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "net/ChatStrip.h"
#include "net/ChatTraffic.h"
#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "note/NoteWindow.h"
#include "globals/ProgramGlobals.h"
#include "store/ChatOptions.h"

namespace {
const size_t kEntryBytes = 256;

std::string SectionOf(const CNoteController& note)
{
    return std::to_string(note.m_noteId);
}

std::string ChatFilePath()
{
    return DataFilePath(DataName::kChatNoteSettings);
}

std::string ReadEntry(const std::string& section, const std::string& key)
{
    char value[kEntryBytes] = "";
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, ChatFilePath().c_str());
    return value;
}

void WriteEntry(const std::string& section, const std::string& key, const std::string& value)
{
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), ChatFilePath().c_str());
}

void RemoveSection(const CNoteController& note)
{
    if (note.m_noteId != 9999)
        WritePrivateProfileStringA(SectionOf(note).c_str(), nullptr, nullptr, ChatFilePath().c_str());
}

// The note lays its body out again, above the chat controls or without them.
void RelayoutNote(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void MakeChatNote(CNoteController& note, DWORD state)
{
    note.m_chatNote = true;
    note.m_chatState = state;
    if (note.m_window && CChatStrip::Create(note.m_window))
        RelayoutNote(note.m_window);
}

std::string LineHeading(const std::string& userName, const std::string& computerName)
{
    const CChatOptions& options = ChatOptions();
    std::string heading;
    if (options.showSenderName && !userName.empty())
        heading = userName;
    if (options.showSenderComputer && !computerName.empty())
        heading += (heading.empty() ? "" : " ") + std::string("(") + computerName + ")";
    if (heading.empty())
        heading = !userName.empty() ? userName : computerName;
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[40];
    if (options.showReceivedDate) {
        std::snprintf(stamp, sizeof stamp, " %02u/%02u/%04u", now.wDay, now.wMonth, now.wYear);
        heading += stamp;
    }
    if (options.showReceivedTime) {
        std::snprintf(stamp, sizeof stamp, " %02u:%02u", now.wHour, now.wMinute);
        heading += stamp;
    }
    return heading;
}
}

void SetUpChatNote(CNoteController& note, BYTE)
{
    MakeChatNote(note, kChatActive);
}

void ReadChatNoteSettings(CNoteController& note)
{
    if (note.m_noteId == 9999 || GetFileAttributesA(ChatFilePath().c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    const std::string section = SectionOf(note);
    DWORD chatId = std::strtoul(ReadEntry(section, "ChatId").c_str(), nullptr, 10);
    if (chatId == 0)
        return;
    note.m_chatId = chatId;
    DWORD state = std::strtoul(ReadEntry(section, "ChatState").c_str(), nullptr, 10);
    MakeChatNote(note, state ? state : static_cast<DWORD>(kChatActive));
    std::vector<CChatPeer> peers;
    unsigned long count = std::strtoul(ReadEntry(section, "Participants").c_str(), nullptr, 10);
    for (unsigned long k = 1; k <= count && k <= kMaxChatPeers; ++k) {
        CChatPeer peer;
        if (ParseChatPeer(ReadEntry(section, "Participant" + std::to_string(k)), peer))
            peers.push_back(peer);
    }
    SetChatPeers(note, peers);
}

void SaveChatNoteSettings(const CNoteController& note)
{
    if (!note.m_chatNote || note.m_chatId == 0 || note.m_noteId == 9999)
        return;
    // Written afresh, so that no participant of an earlier save stays behind.
    RemoveSection(note);
    const std::string section = SectionOf(note);
    const std::vector<CChatPeer> peers = ChatPeersOf(note);
    WriteEntry(section, "ChatId", std::to_string(note.m_chatId));
    WriteEntry(section, "ChatState", std::to_string(note.m_chatState));
    WriteEntry(section, "Participants", std::to_string(peers.size()));
    for (size_t k = 0; k < peers.size(); ++k)
        WriteEntry(section, "Participant" + std::to_string(k + 1), WriteChatPeer(peers[k], true));
}

int LayOutChatControls(HWND noteWindow, const RECT& client)
{
    CChatStrip* strip = CChatStrip::OfNote(noteWindow);
    if (!strip)
        return 0;
    strip->Place(client);
    return strip->Height();
}

std::vector<CChatPeer> ChatPeersOf(const CNoteController& note)
{
    CChatStrip* strip = note.m_window ? CChatStrip::OfNote(note.m_window) : nullptr;
    return strip ? strip->Peers() : std::vector<CChatPeer>();
}

void SetChatPeers(CNoteController& note, const std::vector<CChatPeer>& peers)
{
    if (CChatStrip* strip = note.m_window ? CChatStrip::OfNote(note.m_window) : nullptr)
        strip->SetPeers(peers);
}

CNoteController* FindChatNote(DWORD chatId)
{
    CChatStrip* strip = chatId ? CChatStrip::OfChat(chatId) : nullptr;
    return strip ? NoteOfWindow(strip->NoteWindow()) : nullptr;
}

bool MarkChatParticipantLeft(CNoteController& note, const char* computerName, const char* address, DWORD port)
{
    CChatPeer who;
    who.computerName = computerName ? computerName : "";
    who.ipAddress = address ? address : "";
    who.port = port;
    return MarkChatParticipant(note, who, kPeerLeft);
}

bool MarkChatParticipant(CNoteController& note, const CChatPeer& who, int state)
{
    CChatStrip* strip = note.m_window ? CChatStrip::OfNote(note.m_window) : nullptr;
    int index = strip ? strip->FindPeer(who) : -1;
    if (index < 0)
        return false;
    strip->SetPeerState(index, state);
    note.SetModified();
    return true;
}

void AddChatLine(CNoteController& note, const std::string& userName, const std::string& computerName,
                 const std::string& text, bool own)
{
    HWND body = note.m_bodyEdit;
    if (!body)
        return;
    // Characters as the control counts them, a paragraph end as one.
    GETTEXTLENGTHEX measure = {GTL_DEFAULT, CP_ACP};
    LONG end = static_cast<LONG>(SendMessageA(body, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&measure), 0));
    std::string line = LineHeading(userName, computerName) + ": " + text + "\r";
    if (end > 0) {
        char last[2] = "";
        TEXTRANGEA range = {{end - 1, end}, last};
        SendMessageA(body, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        if (last[0] != '\r' && last[0] != '\n')
            line.insert(0, "\r");
    }
    CHARRANGE place = {end, end};
    SendMessageA(body, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&place));
    SendMessageA(body, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    // The line just added is bold or not, whatever the text before it was.
    CHARRANGE added = {end, end + static_cast<LONG>(line.size())};
    SendMessageA(body, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&added));
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_BOLD;
    format.dwEffects = own && ChatOptions().myOwnMessagesInBold ? CFE_BOLD : 0;
    SendMessageA(body, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    CHARRANGE after = {added.cpMax, added.cpMax};
    SendMessageA(body, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&after));
    SendMessageA(body, EM_SCROLLCARET, 0, 0);
    note.SetModified();
}

bool EndChat(CNoteController& note, int ask)
{
    if (!note.m_chatNote)
        return false;
    if (ask && AskYesNo(note.m_window,
                        "End this chat?\r\n\r\nThe other participants are told that you have left it.",
                        ProgramTitle) != IDYES)
        return false;
    RemoveSection(note);
    note.m_retry = false;
    SendChatOperation(note, ChatOperation::kClosed, std::string());
    if (CChatStrip* strip = note.m_window ? CChatStrip::OfNote(note.m_window) : nullptr) {
        strip->Destroy();
        RelayoutNote(note.m_window);
    }
    note.m_chatNote = false;
    note.m_chatState = kChatEnded;
    note.SetModified();
    return true;
}

void SendActionUndeletedChatNote(CNoteController& note)
{
    if (note.m_window && SendMessageA(note.m_window, kNoteMsgTransmitting, 0, 0)) {
        ShowInfoMessage(note.m_window, "This chat note is being sent. Please try again when the send has ended.",
                        ProgramTitle);
        return;
    }
    note.m_chatState = kChatActive;
    SendChatOperation(note, ChatOperation::kUndeleted, std::string());
}

void OnChatNoteDeleted(CNoteController& note)
{
    if (!note.m_chatNote)
        return;
    RemoveSection(note);
    note.m_chatState = kChatDeleted;
    SendChatOperation(note, ChatOperation::kLeft, std::string());
}

void OnChatNoteUndeleted(CNoteController& note)
{
    if (!note.m_chatNote || note.m_chatState != kChatDeleted || note.m_chatId == 0)
        return;
    bool another = false;
    for (CChatStrip* strip : CChatStrip::AllOfChat(note.m_chatId))
        another = another || strip->NoteWindow() != note.m_window;
    if (!UserSettings().chatOn || another)
        EndChat(note, 1);
    else
        SendActionUndeletedChatNote(note);
}

bool StartChat(CNoteController& note, const std::vector<CDestination>& chosen)
{
    const char* refusal = nullptr;
    std::vector<CChatPeer> peers;
    for (const CDestination& destination : chosen) {
        CChatPeer peer;
        peer.computerName = destination.m_computerName;
        peer.ipAddress = destination.m_ipAddress;
        peer.port = destination.m_port;
        if ((!peer.computerName.empty() || !peer.ipAddress.empty()) && peers.size() < kMaxChatPeers)
            peers.push_back(peer);
    }
    if (note.m_chatNote)
        refusal = "This note holds a chat already.";
    else if (!UserSettings().chatOn)
        refusal = "Chat is switched off. It can be switched on in the Network page of the settings.";
    else if (peers.empty())
        refusal = "A chat takes place between computers: please choose or type a computer, not an e-mail address.";
    if (refusal || !note.m_window) {
        if (refusal)
            ShowInfoMessage(note.m_window, refusal, ProgramTitle);
        return false;
    }
    // Unlikely to meet the id of a chat started elsewhere: time, process and a count.
    static DWORD started = 0;
    DWORD id = (GetTickCount() * 2654435761u) ^ (GetCurrentProcessId() << 16) ^ ++started;
    note.m_chatId = id ? id : 1;
    MakeChatNote(note, kChatActive);
    SetChatPeers(note, peers);
    note.SyncFromWindow();
    SendChatOperation(note, ChatOperation::kStart, std::string());
    note.SetModified();
    return true;
}

void SayInChat(CNoteController& note, const std::string& text)
{
    const StartupValues& self = GetStartupValues();
    AddChatLine(note, self.userName, self.computerName, text, true);
    SendChatOperation(note, ChatOperation::kMessage, text);
}

void EndChatAndDelete(CNoteController& note)
{
    if (EndChat(note, 1))
        note.DeleteNote();
}
