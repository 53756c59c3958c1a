// The end of the Windows session: the program saves as if it were closing,
// and works on when the session goes on after all. A change not stored yet
// is in the rescue backup before anything that may wait (the save itself, a
// refusal for busy work), so the program can be ended at any moment: at a
// refusal, at a critical end, which is never refused and answered before the
// work that keeps nothing of the user's, and when the session ends anyway.
// Nothing here waits for the user: the main window turns every box of this
// work into a line of error.txt, and what the user must hear of a refusal
// comes once it has been answered.
#include <winsock2.h>

#include <shlobj.h>

#include "foundation/BoxesToErrorLog.h"
#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/StartupValues.h"
#include "foundation/StringTableBoxes.h"
#include "foundation/win/Shortcuts.h"
#include "shell/Favourites.h"
#include "globals/MainWindowMessages.h"
#include "shell/MainWindow.h"
#include "shell/NoteLists.h"
#include "shell/RescueLeftovers.h"
#include "shell/WindowController.h"

bool CWindowController::AnyNoteTransmitting() const
{
    bool transmitting = false;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        transmitting = note->m_window && IsNoteTransmitting(note->m_window);
        return !transmitting;
    });
    return transmitting;
}

CWindowController::BusyWork CWindowController::BusyNow()
{
    if (AnyNoteTransmitting())
        return BusyWork::kTransmitting;
    if (IsMainWindowBusySaving(m_mainWindow))
        return BusyWork::kAutoSaving;
    return BusyWork::kNone;
}

void CWindowController::TellBusy(BusyWork work)
{
    if (work == BusyWork::kTransmitting)
        ShowBusySendingMessage(m_mainWindow);
    else
        ShowBusySavingMessage(m_mainWindow);
}

namespace {
// Why the rescue backup of an end refused for busy work was written.
const char* RefusedForText(bool transmitting)
{
    return transmitting
               ? "the end was refused while a note is being sent: in case the program is ended all the same"
               : "the end was refused while the notes are being saved: in case the program is ended all the same";
}
}

bool CWindowController::RefuseWhileBusy()
{
    const BusyWork busy = BusyNow();
    if (busy == BusyWork::kNone)
        return false;
    m_rescueBackup.InCaseOfRefusal(RefusedForText(busy == BusyWork::kTransmitting));
    TellBusy(busy);
    return true;
}

void CWindowController::TellBusyAfterRefusal(WPARAM work)
{
    // One word at a time, and none once the session has ended after all.
    if (m_tellingBusy || GetProgramFlags().endOfSession != 0)
        return;
    m_tellingBusy = true;
    TellBusy(static_cast<BusyWork>(work));
    m_tellingBusy = false;
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
    // The user learns why once the refusal has been answered. Whatever the
    // busy work does with the notes, what is not stored is in a file first.
    if (const BusyWork busy = BusyNow(); busy != BusyWork::kNone) {
        if (!AreDataFilesSealed() && ChangesUnstoredNow())
            m_rescueBackup.KeepInCase(*this, RefusedForText(busy == BusyWork::kTransmitting));
        PostMessageA(m_mainWindow, kMsgTellBusyAtEnd, static_cast<WPARAM>(busy), 0);
        return 1;
    }
    if (flags.endOfSession == 1)
        return 1;
    if (flags.endOfSession == 0 && !EndSessionNow(false)) {
        // The question comes once the refusal has been answered.
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
    StopTimers();
    // Half-replaced data files take nothing more: the session ends as it is.
    if (!AreDataFilesSealed() && !m_endingAnyway) {
        // A forced end may never send WM_ENDSESSION, and one refused now may
        // be forced later: the rescue backup is written at once, for the
        // notes before anything else (the listeners' stop waits for their
        // threads), and for ties of restored notes after.
        m_unstoredAtSessionEnd = SaveAll(UnstoredNotes::kIntoRescueBackup);
        if (m_unstoredAtSessionEnd.ChangesUnstored()) {
            m_rescueBackup.Keep(*this);
            if (!forced)
                return false;
        }
    }
    // The rest keeps nothing of the user's: a forced end answers first, and
    // the system may end the program before the rest is done.
    m_sessionEndToFinish = true;
    if (forced) {
        PostMessageA(m_mainWindow, kMsgFinishSessionEnd, 0, 0);
    } else {
        FinishSessionEnd();
    }
    GetProgramFlags().endOfSession = 2;
    return true;
}

void CWindowController::FinishSessionEnd()
{
    // Done already, or the session went on after all.
    if (!m_sessionEndToFinish)
        return;
    m_sessionEndToFinish = false;
    // After the answer too, the session may end at any moment.
    CBoxesToErrorLog quiet(kNotShownAtSessionEnd);
    StopFavouritesWatcher();
    BackupIfAutomatic();
    for (const SendToShortcut& shortcut : kSendToShortcuts)
        RemoveShortcutsTo(CSIDL_SENDTO, "qnpost.exe", shortcut.searchedSwitch);
    const char* folder = GetStartupValues().workingFolder;
    DeleteTempFilesNobodyHolds(folder);
    DeleteFilesByExtension(folder, nullptr, "png");
    // Last: the wait for the receive threads lets in what other programs
    // send meanwhile, the system's next message among it.
    StopListeningOnBothPorts();
    m_listenersStoppedAtEnd = true;
}

void CWindowController::OnSessionEnds()
{
    ProgramFlags& flags = GetProgramFlags();
    // No timed save starts, and no question posted by a refusal comes up.
    flags.closing = true;
    flags.endOfSession = 2;
    if (!AreDataFilesSealed() && !m_endingAnyway && ChangesUnstoredNow()) {
        // The process may be ended at any moment after this: the rescue
        // backup first, then one more try to store, which may wait for a
        // held file, and which makes the file needless when it stores
        // everything.
        m_rescueBackup.KeepInCase(*this, "the session ends now, before the last try to store the changes");
        m_rescueBackup.SaveDone(!SaveAll().ChangesUnstored());
    }
    FinishSessionEnd();
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
    m_sessionEndToFinish = false;
    StartTimers();
    // An end refused, or called off before its rest was done, never stopped
    // the listeners.
    if (m_listenersStoppedAtEnd) {
        m_listenersStoppedAtEnd = false;
        StartListening();
    }
}
