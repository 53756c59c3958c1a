// What the settings sheet's pages accepted, saved and put into effect in the
// running program once the sheet has closed with OK: hotkeys registered
// again, listeners moved, started or stopped, pending resends cancelled.
#include <winsock2.h>
#include <windows.h>

#include <string>

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarSettingsFile.h"
#include "foundation/DataFolder.h"
#include "foundation/bytes/MessageBoxes.h"
#include "net/NoteSendRecords.h"
#include "shell/Hotkeys.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "shell/SettingsPageData.h"
#include "shell/WindowController.h"
#include "store/SettingsTable.h"
#include "store/UsersTable.h"

namespace {
DWORD CalendarHotkeyOn()
{
    return CurrentCalendarOptions().hotkeyAllow;
}

// Every action hotkey that was on is dropped first, so that keys passed from
// one action to another are free; then each that is on is registered with its
// keys. The style hotkeys follow their one switch.
void RegisterChangedHotkeys(HWND main, const DWORD (&enabledBefore)[kHotkeyEnableCount], DWORD calendarBefore)
{
    const DWORD* enabledNow = UserSettings().hotkeyEnabled;
    for (int row = 0; row < 12; ++row) {
        if (row == 11 ? calendarBefore : enabledBefore[row])
            UnregisterHotKey(main, kHotkeyActionIds[row]);
    }
    for (int row = 0; row < 12; ++row) {
        if (row == 11 ? CalendarHotkeyOn() : enabledNow[row])
            RegisterActionHotkey(main, kHotkeyActionIds[row]);
    }
    if (enabledNow[kEnableStyles])
        RegisterStyleHotkeys(main);
    else if (enabledBefore[kEnableStyles])
        UnregisterStyleHotkeys(main);
}
}

void CWindowController::ApplySettingsSheet(SettingsSheetPages& pages)
{
    const CUserSettings before = UserSettings();
    const DWORD calendarBefore = CalendarHotkeyOn();

    TakeHotkeyActionTable(pages.hotkeys);
    TakeNetworkPageData(pages.network);
    TakeEmailPageData(pages.email);
    const UserPagesChanges userPages = TakeUserPages(pages);

    // Everything is saved before any listener moves, so a port that cannot be
    // bound loses none of the other settings.
    SaveSettingsSheetOptions(before.listenPort, before.sendPort);
    try {
        SaveHotkeyEnableFlags();
        SaveMailSettings();
        // Sharing goes into every user's record only when asked for.
        if (pages.security.shareForEveryUser)
            SaveShareNotesForEveryUser(UserSettings().shareNotes);
        // The calendar's hotkey lives in the calendar's own settings file.
        SaveCalendarSettings();
    } catch (const CGenericException& failure) {
        // A refusal of sealed data files is in error.txt: the user was told why.
        if (!IsSealedRefusal(failure))
            ShowErrorMessage(m_mainWindow, failure.GetErrorText(), "Save options");
    }

    RegisterChangedHotkeys(m_mainWindow, before.hotkeyEnabled, calendarBefore);
    ApplyGroupHotkeyChanges(m_mainWindow, pages.hotkeys.groups);
    MoveListeners(before);
    // Resending switched off: no note's failed delivery is tried again.
    if (before.retry.on && !UserSettings().retry.on)
        ResetDestinationFlags(kAllNotesId);
    FollowUserPages(userPages);
}

void CWindowController::MoveListeners(const CUserSettings& before)
{
    const CUserSettings& user = UserSettings();
    const WORD newPorts[2] = {user.listenPort, user.sendPort};
    const WORD oldPorts[2] = {before.listenPort, before.sendPort};
    if (!user.networkOn) {
        StopListeningOnBothPorts();
        return;
    }
    for (int i = 0; i < 2; ++i) {
        const bool listening = m_ports[i].m_thread || m_ports[i].m_socket != INVALID_SOCKET;
        if (listening && before.networkOn && newPorts[i] == oldPorts[i])
            continue;
        if (listening)
            StopListening(m_ports[i]);
        m_ports[i].m_port = newPorts[i];
        if (newPorts[i])
            ListenOrReport(i);
    }
}
