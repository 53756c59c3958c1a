// What the settings sheet's pages accepted, saved and put into effect in the
// running program once the sheet has closed with OK: hotkeys registered
// again, listeners moved, started or stopped, pending resends cancelled.
#include <winsock2.h>
#include <windows.h>

#include <string>

#include "foundation/bytes/MessageBoxes.h"
#include "shell/Hotkeys.h"
#include "shell/ProgramGlobals.h"
#include "shell/Settings.h"
#include "shell/SettingsPageData.h"
#include "shell/WindowController.h"
#include "store/SettingsTable.h"
#include "store/UsersTable.h"

namespace {
// The switch and combination of each action hotkey, the calendar's included.
struct ActionHotkeyState {
    DWORD enabled[kHotkeyEnableCount];
    CHotkeySetting keys[12];
};

ActionHotkeyState ReadActionHotkeys()
{
    const CUserSettings& user = UserSettings();
    const CCalendarStyle& calendar = StandardCalendarOptions();
    ActionHotkeyState state{};
    for (int i = 0; i < kHotkeyEnableCount; ++i)
        state.enabled[i] = user.hotkeyEnabled[i];
    const CHotkeySetting* keys[] = {&user.newNote,     &user.newClipboardNote, &user.showAll,  &user.hideAll,
                                    &user.showLast,    &user.showDesktop,      &user.parkDesktop, &user.findText,
                                    &user.newAlarmNote, &user.noteManager,     &user.favourites};
    for (int i = 0; i < 11; ++i)
        state.keys[i] = *keys[i];
    state.keys[11] = MakeHotkey(calendar.hotkeyCtrl, calendar.hotkeyAlt, calendar.hotkeyShift, calendar.hotkeyKey);
    return state;
}

DWORD CalendarHotkeyOn()
{
    return StandardCalendarOptions().hotkeyAllow;
}

// Each action hotkey that is on is registered again with its keys, one that
// went off is dropped; the style hotkeys follow their one switch.
void RegisterChangedHotkeys(HWND main, const ActionHotkeyState& before, DWORD calendarBefore)
{
    const DWORD* enabledNow = UserSettings().hotkeyEnabled;
    for (int row = 0; row < 12; ++row) {
        const DWORD wasOn = row == 11 ? calendarBefore : before.enabled[row];
        const DWORD isOn = row == 11 ? CalendarHotkeyOn() : enabledNow[row];
        if (isOn)
            RegisterActionHotkey(main, kHotkeyActionIds[row]);
        else if (wasOn)
            UnregisterHotKey(main, kHotkeyActionIds[row]);
    }
    if (enabledNow[kEnableStyles])
        RegisterStyleHotkeys(main);
    else if (before.enabled[kEnableStyles])
        UnregisterStyleHotkeys(main);
}

void ReportListenFailure(HWND main, DWORD port, const CGenericException& failure)
{
    std::string text = "Quillnet+ cannot listen on port " + std::to_string(port) + ":\r\n" + failure.GetErrorText();
    ShowMessageBox(main, text.c_str(), "Quillnet+", MB_OK | MB_ICONERROR);
}
}

void CWindowController::ApplySettingsSheet(SettingsSheetPages& pages)
{
    const CUserSettings before = UserSettings();
    const ActionHotkeyState hotkeysBefore = ReadActionHotkeys();
    const DWORD calendarBefore = CalendarHotkeyOn();

    TakeHotkeyActionTable(pages.hotkeys);
    TakeNetworkPageData(pages.network);
    TakeEmailPageData(pages.email);

    // Everything is saved before any listener moves, so a port that cannot be
    // bound loses none of the other settings.
    SaveSettingsSheetOptions(before.listenPort, before.sendPort);
    try {
        SaveHotkeyEnableFlags();
        SaveMailSettings();
    } catch (const CGenericException& failure) {
        ShowErrorMessage(m_mainWindow, failure.GetErrorText(), "Save options");
    }

    RegisterChangedHotkeys(m_mainWindow, hotkeysBefore, calendarBefore);
    ApplyGroupHotkeyChanges(m_mainWindow, pages.hotkeys.groups);
    MoveListeners(before);
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
        if (!newPorts[i])
            continue;
        try {
            ListenOnPortThreadNew(m_mainWindow, m_ports[i]);
        } catch (const CGenericException& failure) {
            ReportListenFailure(m_mainWindow, newPorts[i], failure);
        }
    }
}
