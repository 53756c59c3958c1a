#include "noteprops/NoteSettingsSheet.h"

#include <commctrl.h>

#include "foundation/CallbackGuard.h"
#include "foundation/ResourceData.h"
#include "foundation/win/CoolMenu.h"
#include "foundation/win/SheetTab.h"
#include "foundation/win/Subclassing.h"
#include "noteprops/AlarmPage.h"
#include "noteprops/AppearanceSettings.h"
#include "resources/ids/NoteSettingsIds.h"
#include "resources/ids/SettingsSheetIds.h"

namespace {
// The sheet is modal: one is open at a time.
HWND g_noteSheetTabs = nullptr;
WNDPROC g_previousNoteSheetProc = nullptr;
}

void RunNoteSettingsSheet(HWND owner, int startPage, CAppearanceSettings& appearance, CAlarmSettings& alarm)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    CResourceString caption;
    caption.LoadString(instance, IDS_NOTE_SETTINGS);
    const struct {
        WORD templateId;
        DLGPROC procedure;
        void* data;
    } kinds[2] = {{IDD_APPEARANCE_PAGE, &AppearancePageProc, &appearance}, {IDD_ALARM_PAGE, &AlarmPageProc, &alarm}};
    HPROPSHEETPAGE pages[2];
    for (int i = 0; i < 2; ++i) {
        PROPSHEETPAGEA page{};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_HASHELP;
        page.hInstance = instance;
        page.pszTemplate = MAKEINTRESOURCEA(kinds[i].templateId);
        page.pfnDlgProc = kinds[i].procedure;
        page.lParam = reinterpret_cast<LPARAM>(kinds[i].data);
        pages[i] = CreatePropertySheetPageA(&page);
    }
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_NOAPPLYNOW | PSH_USECALLBACK | PSH_HASHELP;
    header.hwndParent = owner;
    header.hInstance = instance;
    header.pszCaption = caption.GetText();
    header.nPages = 2;
    header.nStartPage = startPage == 1 ? 1 : 0;
    header.phpage = pages;
    header.pfnCallback = reinterpret_cast<PFNPROPSHEETCALLBACK>(&NoteSettingsSheetCallback);
    PropertySheetA(&header);
    g_noteSheetTabs = nullptr;
    g_previousNoteSheetProc = nullptr;
}

int CALLBACK NoteSettingsSheetCallback(HWND sheet, UINT message, LPARAM lParam)
{
    return GuardCallback(0, [&] {
        if (message == PSCB_PRECREATE && lParam) {
            // No system menu and no "?" button; the sheet stays above other windows.
            auto* dialog = reinterpret_cast<DLGTEMPLATE*>(lParam);
            const bool extended = reinterpret_cast<const WORD*>(dialog)[1] == 0xFFFF;
            DWORD* style = extended ? reinterpret_cast<DWORD*>(lParam) + 3 : &dialog->style;
            *style = (*style & ~(WS_SYSMENU | DS_CONTEXTHELP)) | DS_SYSMODAL | DS_MODALFRAME | DS_SETFOREGROUND;
        } else if (message == PSCB_INITIALIZED) {
            HINSTANCE instance = GetModuleHandleA(nullptr);
            g_noteSheetTabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
            if (g_noteSheetTabs && !GetCoolMenuLook().vistaTheme)
                SetWindowLongA(g_noteSheetTabs, GWL_STYLE,
                               GetWindowLongA(g_noteSheetTabs, GWL_STYLE) | TCS_OWNERDRAWFIXED);
            CResourceString cancel;
            SetDlgItemTextA(sheet, IDCANCEL, cancel.LoadString(instance, IDS_CANCEL));
            CResourceString help;
            SetDlgItemTextA(sheet, IDHELP, help.LoadString(instance, IDS_HELP));
            g_previousNoteSheetProc = SubclassWindow(sheet, "QnNoteSettingsSheet", nullptr, &NoteSettingsTabProc);
        }
        return 0;
    });
}

LRESULT CALLBACK NoteSettingsTabProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM) {
        GuardCallback([&] { DrawSheetTab(g_noteSheetTabs, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); });
        return 0;
    }
    return CallWindowProcA(g_previousNoteSheetProc, sheet, message, wParam, lParam);
}
