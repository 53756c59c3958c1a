// The road of a received note on the main thread: the connection's thread has
// read it; here the note is made from its description and taken into the
// lists, the attached file kept, the note stored before the sender hears that
// it arrived, and the user told by the tray icon, the incoming-note sound and
// a balloon. What the user is shown and what the sender hears agree: a note
// the notes table cannot take is kept in the rescue backup and counts as
// arrived; one that no file took goes, and its sender hears it did not arrive.
#include <winsock2.h>

#include "shell/WindowController.h"

#include <string>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/GenericException.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "net/NoteReceive.h"
#include "net/ReceivedMessage.h"
#include "note/NoteController.h"
#include "note/NoteCreation.h"
#include "shell/NoteLists.h"
#include "store/Sounds.h"

namespace {
const UINT kTrayFlashPeriodMs = 500;
const int kIncomingNoteSound = 2;

bool SystemShowsBalloons()
{
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    return windows.isWindows2000 || windows.isWindowsXp || windows.isVistaOrLater;
}

// The notes table could not take the received note: the notes as they are,
// this one among them, go into the rescue backup at once, as after a timed
// save that failed, so that a crash before the next save leaves it to the
// next start's offer. True once a file holds it.
bool KeepUnstoredReceivedNote(CWindowController& app)
{
    const std::string path = app.Rescue().Renew(app, "a received note could not be stored");
    if (path.empty())
        return false;
    WriteErrorLog("A received note could not be stored: ",
                  ("it is kept in " + path + " until a save stores it, and its sender is told that it arrived").c_str());
    return true;
}

// No file took the note: it goes, never shown, with the file that came with
// it, so that the sender, told that it did not arrive, can send it again
// without its arriving twice.
void DropUnkeptReceivedNote(CWindowController& app, CNoteController* note, const std::string& attachedFile)
{
    if (!attachedFile.empty())
        DeleteFileA(attachedFile.c_str());
    app.ForgetNote(note);
    CloseListedNote(app.OwnNotes().Contains(note) ? app.OwnNotes() : app.OtherNotes(), note);
    WriteErrorLog("A received note could not be stored, nor kept in a rescue backup: ",
                  "it was dropped, and its sender is told that it did not arrive");
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
    return ParseReceivedNote(message, port) != nullptr;
}

CNoteController* CWindowController::ParseReceivedNote(const CReceivedMessage& message, const CPortRecord& port)
{
    const CWireNote& sent = message.note;
    const CUserSettings& user = UserSettings();
    ReceivedLooks looks;
    NoteDescription description = DescribeReceivedNote(sent, message.richText, looks);
    // Shown only once a file holds it, so that a note that none takes never appears.
    const bool hiddenByUser = description.hidden;
    description.hidden = true;
    CNoteController* note = CreateNote(description);
    // The attached file is kept with its note, when the user allows attached files.
    std::string attachedFile;
    if (note && message.hasAttachment && user.twoDigits[1])
        attachedFile = KeepReceivedAttachment(sent.attachedFileName);
    else
        DeleteFileA(DataFilePath(DataName::kReceivedAttachment).c_str());
    if (!note)
        return nullptr;
    note->m_hidden = hiddenByUser;
    AdoptNote(note);
    if (!TakeReceivedNote(*note, sent, attachedFile, port) && !KeepUnstoredReceivedNote(*this)) {
        DropUnkeptReceivedNote(*this, note, attachedFile);
        return nullptr;
    }
    if (!note->m_hidden && note->m_window)
        ShowWindow(note->m_window, SW_SHOWNOACTIVATE);
    ListInOpenNoteManager(note);

    UpdateTrayTooltip();
    m_trayFlashing = static_cast<DWORD>(SetTimer(m_mainWindow, kTimerTrayFlash, kTrayFlashPeriodMs, nullptr));
    if (!m_trayFlashing)
        throw CGenericException("Cannot create the tray icon flashing timer");
    PlaySoundFile(UserSoundSlot(kIncomingNoteSound));
    if (user.balloonOnReceive && SystemShowsBalloons())
        m_trayIcon.ShowBalloon(m_mainWindow, ReceivedNoteBalloon(*note, sent).c_str());
    return note;
}
