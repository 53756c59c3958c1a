// The end of the Windows session: the program saves as if it were closing,
// and works on when the session goes on after all. A change it cannot store
// is in the rescue backup before the program can be ended: at a refusal, at
// a critical end, which is never refused, and when the session ends anyway.
#include <winsock2.h>

#include <shlobj.h>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/Shortcuts.h"
#include "resources/ids/StringIds.h"
#include "shell/Favourites.h"
#include "globals/MainWindowMessages.h"
#include "shell/NoteLists.h"
#include "shell/WindowController.h"

namespace {
void ShowBusyMessage(HWND owner, UINT textId)
{
    char text[200] = "";
    char caption[50] = "";
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    LoadStringA(instance, textId, text, sizeof text);
    LoadStringA(instance, IDS_SORRY, caption, sizeof caption);
    ShowMessageBox(owner, text, caption, kMbIconHand);
}
}

bool CWindowController::AnyNoteTransmitting() const
{
    bool transmitting = false;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        transmitting = note->m_window && IsNoteTransmitting(note->m_window);
        return !transmitting;
    });
    return transmitting;
}

// The two reasons not to stop now; each tells the user. True when one holds.
bool CWindowController::RefuseWhileBusy()
{
    if (AnyNoteTransmitting()) {
        ShowBusyMessage(m_mainWindow, IDS_BUSY_SENDING);
        return true;
    }
    if (IsMainWindowBusySaving(m_mainWindow)) {
        ShowBusyMessage(m_mainWindow, IDS_BUSY_SAVING);
        return true;
    }
    return false;
}

int CWindowController::OnQueryEndSession(bool critical)
{
    ProgramFlags& flags = GetProgramFlags();
    // The system ends a critical session whatever the programs answer: the
    // program does its end's work at once, asks nothing and refuses nothing.
    if (critical) {
        if (flags.endOfSession == 0)
            EndSessionNow(true);
        return 0;
    }
    // The user is being asked whether to end with changes not stored; what
    // was typed since is kept as well.
    if (m_askingAtEnd) {
        if (ChangesUnstoredNow())
            m_rescueBackup.Keep(*this);
        return 1;
    }
    if (RefuseWhileBusy())
        return 1;
    if (flags.endOfSession == 1)
        return 1;
    if (flags.endOfSession == 0 && !EndSessionNow(false)) {
        // A box inside the system's question risks the session ending
        // the program: the refusal is answered first.
        PostMessageA(m_mainWindow, kMsgAskUnstoredAtEnd, 0, 0);
        return 1;
    }
    return 0;
}

bool CWindowController::EndSessionNow(bool forced)
{
    GetProgramFlags().endOfSession = 1;
    bool ended = false;
    try {
        ended = OnEndSession(forced);
    } catch (...) {
        // A later end of the session is asked again, and the work goes on.
        OnEndSessionCancelled();
        throw;
    }
    if (!ended)
        OnEndSessionCancelled();
    return ended;
}

bool CWindowController::OnEndSession(bool forced)
{
    GetProgramFlags().closing = true;
    StopListeningOnBothPorts();
    StopTimers();
    // Half-replaced data files take nothing more: the session ends as it is.
    if (!AreDataFilesSealed() && !m_endingAnyway) {
        m_unstoredAtSessionEnd = SaveAll();
        if (m_unstoredAtSessionEnd.ChangesUnstored()) {
            // A forced end may never send WM_ENDSESSION, and one refused
            // now may be forced later: the rescue backup is written at once.
            m_rescueBackup.Keep(*this);
            if (!forced)
                return false;
        }
    }
    StopFavouritesWatcher();
    BackupIfAutomatic();
    for (const SendToShortcut& shortcut : kSendToShortcuts)
        RemoveShortcutsTo(CSIDL_SENDTO, "qnpost.exe", shortcut.searchedSwitch);
    const char* folder = GetStartupValues().workingFolder;
    DeleteFilesByExtension(folder, nullptr, "tmp");
    DeleteFilesByExtension(folder, nullptr, "png");
    GetProgramFlags().endOfSession = 2;
    return true;
}

void CWindowController::OnSessionEnds()
{
    ProgramFlags& flags = GetProgramFlags();
    // No timed save starts, and no question posted by a refusal comes up.
    flags.closing = true;
    flags.endOfSession = 2;
    if (AreDataFilesSealed() || m_endingAnyway || !ChangesUnstoredNow())
        return;
    // The process may be ended at any moment after this: the rescue backup
    // first, then one more try to store, which may wait for a held file.
    m_rescueBackup.Keep(*this);
    SaveAll();
}

// Windows asked, the program saved and stopped its work, and then the session
// went on (another program refused to end it): everything starts again, so
// that saves and the received-note signal keep working.
void CWindowController::OnEndSessionCancelled()
{
    ProgramFlags& flags = GetProgramFlags();
    if (flags.endOfSession == 0)
        return;
    flags.endOfSession = 0;
    flags.closing = false;
    StartTimers();
    StartListening();
}
