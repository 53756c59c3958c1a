// The General settings sheet: six pages in a modal property sheet without an
// Apply button, its tabs drawn by the program.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include "foundation/CallbackGuard.h"
#include "foundation/ResourceData.h"
#include "foundation/win/CoolMenu.h"
#include "foundation/win/SheetTab.h"
#include "foundation/win/Subclassing.h"
#include "resources/ids/SettingsSheetIds.h"
#include "shell/SettingsPageData.h"
#include "shell/SettingsPages.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "shell/SettingsSheet.h"
#include "store/Sounds.h"
#include "shell/WindowController.h"

namespace {
// One sheet is open at a time (it is modal), so its tab control and the
// procedure it had before the subclass are kept here.
HWND g_sheetTabs = nullptr;
WNDPROC g_previousSheetProc = nullptr;

const char kNoteManagerTitle[] = "Quillnet+ Note Manager";

struct PageEntry {
    WORD templateId;
    DLGPROC procedure;
};

// In tab order: start page 0 is Note, 2 the System-wide hotkeys.
const PageEntry kPages[] = {
    {IDD_SETTINGS_NOTE_PAGE, &NotePageProc},     {IDD_SETTINGS_SECURITY_PAGE, &SecurityPageProc},
    {IDD_SETTINGS_HOTKEYS_PAGE, &HotkeysPageProc}, {IDD_SETTINGS_SOUNDS_PAGE, &SoundPageProc},
    {IDD_SETTINGS_NETWORK_PAGE, &NetworkPageProc}, {IDD_SETTINGS_EMAIL_PAGE, &EmailPageProc},
};
const int kPageCount = sizeof(kPages) / sizeof(kPages[0]);

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
    HWND noteManager = FindWindowA(nullptr, kNoteManagerTitle);
    if (noteManager && !IsIconic(noteManager))
        owner = noteManager;
    return owner;
}
}

int CWindowController::RunSettingsSheet(int startPage, int groupId)
{
    CResourceString caption;
    caption.LoadString(m_instance, IDS_GENERAL_SETTINGS);

    SettingsSheetPages data;
    BuildHotkeyActionTable(data.hotkeys, static_cast<DWORD>(groupId), 0);
    BuildNetworkPageData(data.network);
    BuildEmailPageData(data.email);
    BuildNotePageData(data.note);
    BuildSecurityPageData(data.security);
    BuildSoundPageData(data.sounds);
    void* pageData[kPageCount] = {&data.note,  &data.security, &data.hotkeys,
                                  &data.sounds, &data.network,  &data.email};

    HPROPSHEETPAGE pages[kPageCount];
    for (int i = 0; i < kPageCount; ++i) {
        PROPSHEETPAGEA page{};
        page.dwSize = sizeof(page);
        page.dwFlags = PSP_HASHELP;
        page.hInstance = m_instance;
        page.pszTemplate = MAKEINTRESOURCEA(kPages[i].templateId);
        page.pfnDlgProc = kPages[i].procedure;
        page.lParam = reinterpret_cast<LPARAM>(pageData[i]);
        pages[i] = CreatePropertySheetPageA(&page);
    }

    PROPSHEETHEADERA header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_NOAPPLYNOW | PSH_USECALLBACK | PSH_HASHELP;
    header.hwndParent = ChooseSheetOwner(m_mainWindow, startPage);
    header.hInstance = m_instance;
    header.pszCaption = caption.GetText();
    header.nPages = kPageCount;
    header.nStartPage = (startPage >= 0 && startPage < kPageCount) ? static_cast<UINT>(startPage) : 0;
    header.phpage = pages;
    header.pfnCallback = reinterpret_cast<PFNPROPSHEETCALLBACK>(&SettingsSheetCallback);
    PropertySheetA(&header);
    g_sheetTabs = nullptr;
    g_previousSheetProc = nullptr;
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
        if (message == PSCB_PRECREATE && lParam) {
            // A plain modal frame: no system menu, no "?" button, never topmost.
            auto* dialog = reinterpret_cast<DLGTEMPLATE*>(lParam);
            const bool extended = reinterpret_cast<const WORD*>(dialog)[1] == 0xFFFF;
            DWORD* style = extended ? reinterpret_cast<DWORD*>(lParam) + 3 : &dialog->style;
            DWORD* exStyle = extended ? reinterpret_cast<DWORD*>(lParam) + 2 : &dialog->dwExtendedStyle;
            *style = (*style & ~(WS_SYSMENU | DS_CONTEXTHELP)) | DS_MODALFRAME | DS_SETFOREGROUND;
            *exStyle &= ~WS_EX_TOPMOST;
        } else if (message == PSCB_INITIALIZED) {
            HINSTANCE instance = GetModuleHandleA(nullptr);
            g_sheetTabs = reinterpret_cast<HWND>(SendMessageA(window, PSM_GETTABCONTROL, 0, 0));
            if (g_sheetTabs && !GetCoolMenuLook().vistaTheme)
                SetWindowLongA(g_sheetTabs, GWL_STYLE, GetWindowLongA(g_sheetTabs, GWL_STYLE) | TCS_OWNERDRAWFIXED);
            CResourceString cancel;
            SetDlgItemTextA(window, IDCANCEL, cancel.LoadString(instance, IDS_CANCEL));
            CResourceString help;
            SetDlgItemTextA(window, IDHELP, help.LoadString(instance, IDS_HELP));
            g_previousSheetProc = SubclassWindow(window, "QnSettingsSheet", nullptr, &SettingsSheetProc);
        }
        return 0;
    });
}

LRESULT CALLBACK SettingsSheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM) {
        GuardCallback([&] { DrawSheetTab(g_sheetTabs, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); });
        return 0;
    }
    return CallWindowProcA(g_previousSheetProc, window, message, wParam, lParam);
}
