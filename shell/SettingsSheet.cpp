// The General settings sheet: six pages in a modal property sheet without an
// Apply button, its tabs drawn by the program.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <iterator>

#include "foundation/CallbackGuard.h"
#include "foundation/ResourceData.h"
#include "foundation/win/ProgramSheet.h"
#include "foundation/win/WindowHelpers.h"
#include "resources/ids/SettingsSheetIds.h"
#include "shell/SettingsPageData.h"
#include "shell/SettingsPages.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "shell/SettingsSheet.h"
#include "store/Sounds.h"
#include "shell/WindowController.h"

namespace {
const char kSheetNoteManagerTitle[] = "Quillnet+ Note Manager";

// The hidden main window owns the sheet; one opened on a later page (from the
// Note Manager) belongs to the window the user is working in.
HWND ChooseSheetOwner(HWND mainWindow, int startPage)
{
    if (startPage <= 0)
        return mainWindow;
    HWND owner = mainWindow;
    HWND foreground = GetForegroundWindow();
    if (foreground && foreground != mainWindow)
        owner = foreground;
    HWND noteManager = FindWindowA(nullptr, kSheetNoteManagerTitle);
    if (noteManager && !IsIconic(noteManager))
        owner = noteManager;
    return owner;
}
}

int CWindowController::RunSettingsSheet(int startPage, int groupId)
{
    CResourceString caption;
    caption.LoadString(m_instance, IDS_GENERAL_SETTINGS);
    // One sheet at a time: the program-wide values of its tabs serve one
    // sheet, and a second would save over what the first one saves. The open
    // one comes forward instead.
    static bool open = false;
    if (open) {
        const OwnWindowTitle openSheet{caption.GetText(), true};
        ActivateFirstOwnWindow(&openSheet, 1);
        return 0;
    }
    struct OpenWhileHere {
        explicit OpenWhileHere(bool& flag) : m_flag(flag) { m_flag = true; }
        ~OpenWhileHere() { m_flag = false; }
        bool& m_flag;
    } held(open);

    SettingsSheetPages data;
    BuildHotkeyActionTable(data.hotkeys, static_cast<DWORD>(groupId), 0);
    BuildNetworkPageData(data.network);
    BuildEmailPageData(data.email);
    BuildNotePageData(data.note);
    BuildSecurityPageData(data.security);
    BuildSoundPageData(data.sounds);
    // In tab order: start page 0 is Note, 2 the System-wide hotkeys.
    const CSheetPage pages[] = {
        {IDD_SETTINGS_NOTE_PAGE, &NotePageProc, &data.note},
        {IDD_SETTINGS_SECURITY_PAGE, &SecurityPageProc, &data.security},
        {IDD_SETTINGS_HOTKEYS_PAGE, &HotkeysPageProc, &data.hotkeys},
        {IDD_SETTINGS_SOUNDS_PAGE, &SoundPageProc, &data.sounds},
        {IDD_SETTINGS_NETWORK_PAGE, &NetworkPageProc, &data.network},
        {IDD_SETTINGS_EMAIL_PAGE, &EmailPageProc, &data.email},
    };
    RunProgramSheet(ChooseSheetOwner(m_mainWindow, startPage), caption.GetText(), pages, static_cast<int>(std::size(pages)), startPage,
                    reinterpret_cast<PFNPROPSHEETCALLBACK>(&SettingsSheetCallback));
    if (data.note.applied || data.security.applied || data.hotkeys.applied || data.network.applied ||
        data.email.applied)
        ApplySettingsSheet(data);
    if (data.sounds.applied)
        ApplySoundSettings(data.sounds.slots);
    return 0;
}

int CALLBACK SettingsSheetCallback(HWND window, UINT message, LPARAM lParam)
{
    return GuardCallback(0, [&] {
        // A plain modal frame, never topmost.
        if (message == PSCB_PRECREATE)
            AdjustSheetTemplate(lParam, DS_MODALFRAME | DS_SETFOREGROUND, WS_EX_TOPMOST);
        else if (message == PSCB_INITIALIZED)
            StartProgramSheet(window, &SettingsSheetProc);
        return 0;
    });
}

LRESULT CALLBACK SettingsSheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SheetTabMessage(window, message, wParam, lParam);
}
