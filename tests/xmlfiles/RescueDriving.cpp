#include <winsock2.h>

#include "RescueDriving.h"


#include "BackupDriving.h"
#include "globals/MainWindowMessages.h"
#include "note/NoteController.h"
#include "support/DialogClicks.h"
#include "support/NoteDriving.h"
#include "support/TextChecks.h"

namespace {
// The timed save's interval in the test. The program's own timer counts
// towards it too, and after each timed save of the test the count stands
// where it stood before, so the program's own save would come only once its
// own ticks made up the interval: ten minutes, longer than any test may run
// before it is ended as hung. With one minute, that save could come between
// the test's steps on a loaded machine.
const long kSaveIntervalMinutes = 10;
}

bool TimedSave(HWND main)
{
    for (int tick = 0; tick < 4 * kSaveIntervalMinutes; ++tick) {
        if (!SendWithTimeout(main, WM_TIMER, kTimerHousekeeping, 0))
            return false;
    }
    return true;
}

void InstallWithKeptNote(ProgramInstall& install)
{
    install.AddInstalledDataFiles();
    FirstRun(install);
    SetBackupOptions(install, false, 7, false, kSaveIntervalMinutes);
    StoreNote(install, [](CNoteController& note) {
        lstrcpynA(note.m_title, "Kept", sizeof note.m_title);
        note.m_left = 200;
        note.m_top = 150;
        const char text[] = "{\\rtf1\\ansi Kept note}";
        note.SetRichText(text, sizeof text - 1);
    });
}

HWND StartAndEditKeptNote(const ProgramInstall& install, const RunningProgram& program)
{
    HWND main = WaitForMainWindow(program);
    // The start sets the timed save's count to nothing as it starts its
    // timers, and it handles messages before that: the ticks wait until it
    // listens, which it does after.
    if (!main || !WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }))
        return nullptr;
    HWND note = WaitForNoteWithText(program.ProcessId(), "Kept note");
    // The first timed save of a run writes the notes' files afresh; the
    // later ones store the changes.
    if (!note || !TimedSave(main))
        return nullptr;
    TypeAtStart(note, "Edited ");
    return WaitForNoteWithText(program.ProcessId(), "Edited Kept note") ? main : nullptr;
}

bool RestoreTheOffered(const ShownMessageBox& offer, DWORD process)
{
    if (!AnswerMessageBox(offer, IDYES))
        return false;
    HWND dialog = WaitForDialog(process, "Restore notes...");
    return dialog && ClickDialogButton(dialog, IDOK) &&
           Contains(AcknowledgeProgramBox(process), "The restore operation has been successfully");
}

bool EndsAsWholeRescueBackup(const std::string& bytes)
{
    const std::string end = "</backup>\r\n";
    return bytes.size() >= end.size() && bytes.compare(bytes.size() - end.size(), end.size(), end) == 0;
}
