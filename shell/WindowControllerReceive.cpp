// The road of a received note on the main thread: the connection's thread has
// read it; here the note is made from its description and taken into the
// lists, the attached file kept, the note stored before the sender hears that
// it arrived, and the user told by the tray icon, the incoming-note sound and
// a balloon.
#include <winsock2.h>

#include "shell/WindowController.h"

#include <string>

#include "foundation/DataFolder.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/GenericException.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "net/NoteReceive.h"
#include "net/ReceivedMessage.h"
#include "note/NoteController.h"
#include "note/NoteCreation.h"
#include "store/Sounds.h"
#include "store/bytes/DeletedRecordList.h"

namespace {
const UINT kTrayFlashPeriodMs = 500;
const int kIncomingNoteSound = 2;

bool SystemShowsBalloons()
{
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    return windows.isWindows2000 || windows.isWindowsXp || windows.isVistaOrLater;
}
}

bool CWindowController::OnNoteReceived(int portNumber, const CReceivedMessage& message)
{
    CPortRecord& port = m_ports[portNumber == 2 ? 1 : 0];
    lstrcpynA(port.m_peerAddress, message.peerAddress.c_str(), sizeof port.m_peerAddress);
    if (message.kind != ReceivedMessageKind::kNote)
        return false;
    if (message.note.IsChatOperation()) {
        PassReceivedChat(*this, message, port);
        return true;
    }
    if (message.hasAttachment && UserSettings().twoDigits[1])
        WriteReceivedAttachment(message);
    const CNoteController* note = ParseReceivedNote(message, port);
    return note && note->m_noteId != kUnsavedNoteId;
}

CNoteController* CWindowController::ParseReceivedNote(const CReceivedMessage& message, const CPortRecord& port)
{
    const CWireNote& sent = message.note;
    const CUserSettings& user = UserSettings();
    ReceivedLooks looks;
    NoteDescription description = DescribeReceivedNote(sent, message.richText, looks);
    CNoteController* note = CreateNote(description);
    // The attached file is kept with its note, when the user allows attached files.
    std::string attachedFile;
    if (note && message.hasAttachment && user.twoDigits[1])
        attachedFile = KeepReceivedAttachment(sent.attachedFileName);
    else
        DeleteFileA(DataFilePath(DataName::kReceivedAttachment).c_str());
    if (!note)
        return nullptr;
    AdoptNewNote(note);
    TakeReceivedNote(*note, sent, attachedFile, port);

    UpdateTrayTooltip();
    m_trayFlashing = static_cast<DWORD>(SetTimer(m_mainWindow, kTimerTrayFlash, kTrayFlashPeriodMs, nullptr));
    if (!m_trayFlashing)
        throw CGenericException("Cannot create the tray icon flashing timer");
    PlaySoundFile(UserSoundSlot(kIncomingNoteSound));
    if (user.balloonOnReceive && SystemShowsBalloons())
        m_trayIcon.ShowBalloon(m_mainWindow, ReceivedNoteBalloon(*note, sent).c_str());
    return note;
}
