// The end of the Windows session: the program saves as if it were closing,
// and works on when the session goes on after all.
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

int CWindowController::OnQueryEndSession()
{
    // The user is being asked whether to end with changes not stored.
    if (m_askingAtEnd)
        return 1;
    if (RefuseWhileBusy())
        return 1;
    ProgramFlags& flags = GetProgramFlags();
    if (flags.endOfSession == 1)
        return 1;
    if (flags.endOfSession == 0) {
        flags.endOfSession = 1;
        bool ended = false;
        try {
            ended = OnEndSession();
        } catch (...) {
            // A later end of the session is asked again, and the work goes on.
            OnEndSessionCancelled();
            throw;
        }
        if (!ended) {
            OnEndSessionCancelled();
            // A box inside the system's question risks the session ending
            // the program: the refusal is answered first.
            PostMessageA(m_mainWindow, kMsgAskUnstoredAtEnd, 0, 0);
            return 1;
        }
    }
    return 0;
}

bool CWindowController::OnEndSession()
{
    GetProgramFlags().closing = true;
    StopListeningOnBothPorts();
    StopTimers();
    // Half-replaced data files take nothing more: the session ends as it is.
    if (!AreDataFilesSealed() && !m_endingAnyway) {
        m_unstoredAtSessionEnd = SaveAll();
        if (m_unstoredAtSessionEnd.ChangesUnstored())
            return false;
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
