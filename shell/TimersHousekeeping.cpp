// The main window's timers: the 15-second housekeeping that keeps the tray
// icon present, saves the notes at the user's interval, runs the scheduled
// backup and lets due notes come up; the tray icon's flashing; and the
// tracking of the windows that notes are associated with.
#include <winsock2.h>

#include <string>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "note/NoteController.h"
#include "note/NotesAction.h"
#include "noteprops/AppAssociations.h"
#include "globals/MainWindowMessages.h"
#include "shell/OpenDialogs.h"
#include "shell/TrayDragTracker.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "shell/WindowController.h"
#include "store/FileStepRetries.h"
#include "store/UnlockedBoxes.h"
#include "store/UsersTable.h"
#include "shell/BackupRestore.h"

namespace {
const WORD kTickSeconds = 15;
const WORD kFullSaveHours = 4;
const UINT kAppTrackingPeriodMs = 2000;

// A timed save that fails keeps the notes modified for the next one; when
// they keep failing the user is told, once, until a save succeeds again.
const int kFailedSavesBeforeTelling = 3;

// The box names the files another program held at the last save (held, in
// words) and the rescue backup that holds the changes (rescueNamed gives it,
// empty when there is none).
template <class RescueNamed>
void CountTimedSave(int& failuresInRow, bool saved, const std::string& held, HWND owner,
                    RescueNamed&& rescueNamed)
{
    if (saved) {
        failuresInRow = 0;
        return;
    }
    if (failuresInRow >= kFailedSavesBeforeTelling || ++failuresInRow < kFailedSavesBeforeTelling)
        return;
    WriteErrorLog("OnHousekeepingTimer():", "the notes could not be saved several times in a row");
    std::string text = "Quillnet+ has not been able to save your notes for a while (the reasons are in error.txt)."
                       "\r\n\r\nYour changes are kept, and Quillnet+ goes on trying to save them. ";
    if (held.empty())
        text += "Please check that the disk is not full and that no other program holds the files of the notes.";
    else
        text += "The last try found that " + held;
    const std::string rescue = rescueNamed();
    if (!rescue.empty())
        text += "\r\n\r\n" + KeptInRescueText(rescue);
    ShowWarningMessage(owner, text.c_str(), ProgramTitle);
}

// The user's values of this run; a failure is logged.
bool SavedUserValues()
{
    try {
        if (SaveUserRunValues())
            return true;
        WriteErrorLog("OnHousekeepingTimer():", "the user's values could not be saved");
    } catch (const CGenericException& failure) {
        WriteErrorLog("OnHousekeepingTimer(): the user's values could not be saved: ", failure.GetErrorText());
    }
    return false;
}

// The user hears once that the settings of this run are not stored, until
// they are again: not at every interval.
void TellUserValuesOnce(bool& told, bool saved, HWND owner)
{
    if (saved) {
        told = false;
        return;
    }
    if (told)
        return;
    told = true;
    ShowWarningMessage(owner,
                       "Quillnet+ could not store your settings of this run in users.QPD; another program may be "
                       "using it (the reasons are in error.txt).\r\n\r\nYour notes are still saved, and Quillnet+ "
                       "goes on trying to store the settings.",
                       ProgramTitle);
}

// While a dialog of the shared list is open the user may be changing what a
// save would write.
bool SavingIsHeld()
{
    const ProgramFlags& flags = GetProgramFlags();
    return SavingHeldByOpenDialog() || flags.protectedNotePrompt || flags.closing;
}
}

void CWindowController::OnTimer(UINT_PTR id)
{
    switch (id) {
    case kTimerHousekeeping:
        OnHousekeepingTimer();
        m_trayIcon.Unhide(m_mainWindow);
        break;
    case kTimerTrayFlash:
        if (!GetProgramFlags().closing) {
            CNoteController* pending = FindPendingReceivedNote();
            m_trayIcon.Flash(m_mainWindow, pending ? pending->m_receivedFrom : "",
                             pending ? pending->m_receivedFromUser : "");
        }
        break;
    case kTimerTrayAddRetry:
        m_trayIcon.RetryAdd(m_mainWindow);
        break;
    case kTimerTrayDrag:
        TrayDragTracker().OnTimer();
        break;
    case kTimerAppTracking:
        TrackAssociatedApps(0);
        break;
    case kTimerStartFinish:
        FinishStart();
        break;
    default:
        break;
    }
}

void CWindowController::OnHousekeepingTimer()
{
    if (!m_trayIcon.IsAdded())
        m_trayIcon.Add(m_mainWindow, "Quillnet+");
    m_autoSaveSeconds = static_cast<WORD>(m_autoSaveSeconds + kTickSeconds);
    if (m_autoSaveSeconds >= 60) {
        ++m_autoSaveMinutes;
        m_autoSaveSeconds = 0;
    }
    const WORD interval = UserSettings().saveInterval ? UserSettings().saveInterval : 1;
    if (m_autoSaveMinutes >= interval) {
        m_autoSaveMinutes = 0;
        if (!SavingIsHeld()) {
            SYSTEMTIME now;
            GetLocalTime(&now);
            CDateTime current;
            current = now;
            CDateTime due = m_lastFullSave;
            due.AddHours(kFullSaveHours);
            const bool full = !m_lastFullSaveKnown || due < current;
            if (full) {
                m_lastFullSave = current;
                m_lastFullSaveKnown = true;
            }
            m_busySaving = 1;
            bool saved = false;
            std::string held;
            try {
                // One save: a file another program holds costs its tries
                // once, and every note waiting on it after that gives it up
                // at once, so that what could not be stored is in the rescue
                // backup a moment after the save began. The boxes of the
                // notes' save come after the rescue: whatever ends the
                // program while one is up, the changes are in a file.
                CHeldFilesMetOnce timedSave(HeldFileWork::kSave);
                {
                    CKeptBoxesHeld boxesAfterTheRescue;
                    saved = SaveAllNotes(full);
                    if (ChangesUnstoredNow())
                        m_rescueBackup.Renew(*this, "a timed save could not store every change");
                    else
                        m_rescueBackup.Settled();
                }
                held = timedSave.HeldFilesText();
            } catch (...) {
                m_busySaving = 0;
                throw;
            }
            // The notes come first: a users table that cannot be written
            // never keeps them from being stored.
            const bool userSaved = SavedUserValues();
            m_busySaving = 0;
            CountTimedSave(m_failedTimedSaves, saved, held, m_mainWindow,
                           [this] { return ChangesUnstoredNow() ? m_rescueBackup.Keep(*this) : std::string(); });
            TellUserValuesOnce(m_userValuesFailureTold, userSaved, m_mainWindow);
        }
        // The save may have taken a while: the windows are looked at again.
        if (!SavingIsHeld())
            RunScheduledBackup(*this);
    }
    if (SavingIsHeld() || DueNotesHeldByOpenDialog())
        return;
    RaiseDueNotes();
}

void CWindowController::TrackAssociatedApps(int allowStart)
{
    if (AppAssociationsList().GetCount() == 0) {
        if (m_appTrackingTimer) {
            KillTimer(m_mainWindow, kTimerAppTracking);
            m_appTrackingTimer = 0;
        }
        return;
    }
    if (!m_appTrackingTimer) {
        if (allowStart)
            m_appTrackingTimer = SetTimer(m_mainWindow, kTimerAppTracking, kAppTrackingPeriodMs, nullptr);
        if (allowStart && !m_appTrackingTimer)
            WriteErrorLog("TrackAssociatedApps():", "the window tracking timer could not be started");
        return;
    }
    // Showing a note dispatches messages, and with them perhaps the next tick.
    if (m_trackingApps)
        return;
    m_trackingApps = true;
    try {
        // The notes a look hides are saved as they hide: a held file costs its tries once.
        CNotesAction oneLook;
        const std::vector<AppWindow> windows = CollectTopLevelWindows();
        for (const AppWindow& window : windows) {
            if (window.minimised) {
                HideNotesAssociatedWithWindow(window.title.c_str());
                continue;
            }
            const int brought = BringNotesToFront(false, true, window.title.c_str());
            const int shown = ShowNotesMatching(false, false, true, window.title.c_str());
            if (brought || shown)
                UpdateTrayTooltip();
        }
        for (DWORD noteId : DropClosedAppAssociations(windows))
            HideNoteById(noteId);
    } catch (...) {
        m_trackingApps = false;
        throw;
    }
    m_trackingApps = false;
}
