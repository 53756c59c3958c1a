// The network's part of a received note on the main thread: its description
// from the wire text, the attached file kept, the note marked received and
// stored before the sender hears that it arrived, its sender remembered; chat
// texts go to the chat code.
#include <winsock2.h>

#include "net/NoteReceive.h"

#include <cstdio>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/NoteColors.h"
#include "foundation/win/FontConversion.h"
#include "net/ChatTraffic.h"
#include "store/DestinationListOps.h"
#include "net/PortListener.h"
#include "net/ReceivedMessage.h"
#include "store/SentToTable.h"
#include "net/bytes/AttachmentName.h"
#include "note/NoteAttachmentLine.h"
#include "note/NoteController.h"
#include "note/NoteCreation.h"
#include "note/NoteKeeper.h"
#include "globals/ProgramFlags.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "store/FileStepRetries.h"
#include "store/NoteSaving.h"
#include "store/bytes/DeletedRecordList.h"

namespace {
const unsigned kMaxNameChoices = 999;
const char kBalloonText[] = " - A note has been received from ";

ReceivedChatHandler g_chatHandler = OnChatReceived;

// "yyyymmddhhmmss" as a date-time; false for a time that cannot be.
bool ReadAlarmTime(const std::string& text, CDateTime& alarm)
{
    if (text.size() != 14)
        return false;
    auto number = [&](size_t at, size_t digits) {
        int value = 0;
        for (size_t i = at; i < at + digits; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    int month = number(4, 2);
    int hour = number(8, 2);
    int minute = number(10, 2);
    int second = number(12, 2);
    if (number(0, 8) < 0 || month < 1 || month > 12 || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59)
        return false;
    alarm = CDateTime(static_cast<BYTE>(number(6, 2)), static_cast<BYTE>(month), static_cast<WORD>(number(0, 4)),
                      static_cast<WORD>(hour), static_cast<WORD>(minute), static_cast<WORD>(second));
    return alarm.IsValidDay();
}

// The sender's names as the tray and the balloon show them: user<computer>.
std::string SenderText(const CWireNote& note)
{
    if (note.userName.empty())
        return note.computerName;
    return note.computerName.empty() ? note.userName : note.userName + "<" + note.computerName + ">";
}

// The sender (at the peer's address, replying on the port it gave) and the
// others the note went to; returns the sender's computer id.
DWORD RememberSender(const CWireNote& sent, const CPortRecord& port)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    CDateTime when;
    when = now;
    DWORD senderId = UpdateSentToList(sent.computerName.c_str(), port.m_peerAddress, sent.alias.c_str(), "", 1,
                                      &when, sent.replyPort);
    std::vector<std::string> others;
    for (const std::string& other : sent.coRecipients)
        if (lstrcmpiA(other.c_str(), UserSettings().computerName) != 0)
            others.push_back(other);
    if (size_t leftOut = AddHeardOfComputers(others))
        WriteErrorLog("Computers a received note named were not added to the list of computers: ",
                      (std::to_string(leftOut) + " from " + sent.computerName + ", since the list holds " +
                       std::to_string(kMaxHeardOfComputers) + " computers known by name alone")
                          .c_str());
    return senderId;
}

// A received note is stored before its sender hears that it arrived. Once
// the program has begun to close, its final save of the sent-to table is
// over or under way: the sender is written at once too.
bool StoreReceivedNote(CNoteController& note, DWORD senderId)
{
    // A save of its own, also when a box or a wait of other work let it in.
    CHeldFilesMetOnce ownSave(HeldFileWork::kSave);
    note.SyncFromWindow();
    // A brand-new note is stored once it has its record.
    if (!SaveNote(note) || note.m_noteId == kUnsavedNoteId)
        return false;
    if (!GetProgramFlags().closing)
        return true;
    for (const CDestination& destination : CopyOfSentToList()) {
        if (destination.m_computerId == senderId) {
            AppendSentToIfNot(destination);
            break;
        }
    }
    return true;
}
}

// The description of the received note: the sender's looks over the user's
// defaults, placed by the program like every new note.
NoteDescription DescribeReceivedNote(const CWireNote& sent, const std::string& richText, ReceivedLooks& looks)
{
    const CUserSettings& user = UserSettings();
    NoteDescription d = UserDefaultDescription(NoteDescription());
    looks.bodyFont = user.note.bodyFont;
    looks.titleFont = user.note.titleFont;
    if (!sent.fontName.empty())
        lstrcpynA(looks.bodyFont.lfFaceName, sent.fontName.c_str(), LF_FACESIZE);
    if (sent.fontSize)
        looks.bodyFont.lfHeight = -MulDiv(static_cast<int>(sent.fontSize), ScreenPixelsPerInch(), 72);
    d.bodyFont = &looks.bodyFont;
    d.titleFont = &looks.titleFont;
    if (sent.hasColours) {
        d.bodyColor = sent.backColour;
        d.titleColor = ColorToStrongColor(sent.backColour);
        d.textColor = sent.textColour;
    }
    // Forced placement takes the position from the program's counters; a
    // position that is not 0, 0 keeps a black note from reading as blank.
    d.forcePlacement = true;
    d.x = 1;
    d.width = static_cast<LONG>(sent.width);
    d.height = static_cast<LONG>(sent.height);
    d.stayOnTop = sent.stayOnTop;
    d.title = sent.title.empty() ? user.title : sent.title.c_str();
    d.text = richText.data();
    d.textLength = static_cast<DWORD>(richText.size());
    d.hidden = user.hideReceived != 0;
    d.alarmSet = ReadAlarmTime(sent.alarm, d.alarm);
    d.received = true;
    d.receivedFrom = sent.computerName.c_str();
    return d;
}

void SetReceivedChatHandler(ReceivedChatHandler handler)
{
    g_chatHandler = handler;
}

std::string KeepReceivedAttachment(const std::string& senderName)
{
    const std::string received = DataFilePath(DataName::kReceivedAttachment);
    const std::string folder = DataFilePath(DataName::kAttachedFolder) + "\\";
    const std::string name = SafeAttachmentName(senderName);
    for (unsigned n = 1; n <= kMaxNameChoices; ++n) {
        std::string target = folder + NumberedFileName(name, n);
        // MoveFile never replaces a file: a name taken meanwhile just fails.
        if (MoveFileA(received.c_str(), target.c_str()))
            return target;
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            break;
    }
    WriteLastErrorLog(("A received attached file could not be kept as " + name).c_str());
    DeleteFileA(received.c_str());
    return std::string();
}

void PassReceivedChat(INoteKeeper& keeper, const CReceivedMessage& message, const CPortRecord& port)
{
    if (g_chatHandler)
        g_chatHandler(keeper, message, port);
    else
        WriteErrorLog("A received chat message was dropped: ", "chat messages are not taken by this program");
}

bool TakeReceivedNote(CNoteController& note, const CWireNote& sent, const std::string& attachedFile,
                      const CPortRecord& port)
{
    lstrcpynA(note.m_receivedFromUser, sent.userName.c_str(), sizeof note.m_receivedFromUser);
    lstrcpynA(note.m_attachedFile, attachedFile.c_str(), sizeof note.m_attachedFile);
    UpdateAttachmentLine(note);
    note.m_programActivation = true;  // received and not yet seen
    note.SetModified();
    DWORD senderId = RememberSender(sent, port);
    return StoreReceivedNote(note, senderId);
}

std::string ReceivedNoteBalloon(const CNoteController& note, const CWireNote& sent)
{
    return std::string(note.m_title[0] ? note.m_title : "Note") + kBalloonText + SenderText(sent);
}
