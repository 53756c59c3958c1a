#include "foundation/win/ProgramSheet.h"

#include <vector>

#include "foundation/CallbackGuard.h"
#include "foundation/ResourceData.h"
#include "foundation/win/CoolMenu.h"
#include "foundation/win/SheetTab.h"
#include "foundation/win/Subclassing.h"
#include "resources/ids/SettingsSheetIds.h"

namespace {
const char kSheetProperty[] = "QnProgramSheet";

// What the sheet's procedure needs, kept under the sheet's property until the
// sheet goes.
struct CSheetTabs {
    HWND tabs = nullptr;
    WNDPROC previous = nullptr;
};
}

INT_PTR RunProgramSheet(HWND owner, const char* caption, const CSheetPage* pages, int count, int startPage,
                        PFNPROPSHEETCALLBACK callback)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    std::vector<HPROPSHEETPAGE> made;
    for (int i = 0; i < count; ++i) {
        PROPSHEETPAGEA page{};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_HASHELP;
        page.hInstance = instance;
        page.pszTemplate = MAKEINTRESOURCEA(pages[i].templateId);
        page.pfnDlgProc = pages[i].procedure;
        page.lParam = reinterpret_cast<LPARAM>(pages[i].data);
        made.push_back(CreatePropertySheetPageA(&page));
    }
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_NOAPPLYNOW | PSH_USECALLBACK | PSH_HASHELP;
    header.hwndParent = owner;
    header.hInstance = instance;
    header.pszCaption = caption;
    header.nPages = static_cast<UINT>(count);
    header.nStartPage = startPage >= 0 && startPage < count ? static_cast<UINT>(startPage) : 0;
    header.phpage = made.data();
    header.pfnCallback = callback;
    return PropertySheetA(&header);
}

void AdjustSheetTemplate(LPARAM dialogTemplate, DWORD addStyles, DWORD removeExtendedStyles)
{
    if (!dialogTemplate)
        return;
    // An extended template starts with 1, 0xFFFF and has its extended style
    // before its style.
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(dialogTemplate);
    const bool extended = reinterpret_cast<const WORD*>(dialog)[1] == 0xFFFF;
    DWORD* style = extended ? reinterpret_cast<DWORD*>(dialogTemplate) + 3 : &dialog->style;
    DWORD* exStyle = extended ? reinterpret_cast<DWORD*>(dialogTemplate) + 2 : &dialog->dwExtendedStyle;
    *style = (*style & ~(WS_SYSMENU | DS_CONTEXTHELP)) | addStyles;
    *exStyle &= ~removeExtendedStyles;
}

void StartProgramSheet(HWND sheet, WNDPROC sheetProcedure)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    auto* state = new CSheetTabs;
    state->tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    if (state->tabs && !GetCoolMenuLook().vistaTheme)
        SetWindowLongA(state->tabs, GWL_STYLE, GetWindowLongA(state->tabs, GWL_STYLE) | TCS_OWNERDRAWFIXED);
    CResourceString cancel;
    SetDlgItemTextA(sheet, IDCANCEL, cancel.LoadString(instance, IDS_CANCEL));
    CResourceString help;
    SetDlgItemTextA(sheet, IDHELP, help.LoadString(instance, IDS_HELP));
    state->previous = SubclassWindow(sheet, kSheetProperty, state, sheetProcedure);
    if (!state->previous) {
        RemovePropA(sheet, kSheetProperty);
        delete state;
    }
}

LRESULT SheetTabMessage(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = static_cast<CSheetTabs*>(GetPropA(sheet, kSheetProperty));
    if (!state)
        return DefWindowProcA(sheet, message, wParam, lParam);
    const WNDPROC previous = state->previous;
    if (message == WM_DRAWITEM) {
        GuardCallback([&] { DrawSheetTab(state->tabs, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); });
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RestoreWindowProc(sheet, kSheetProperty, previous);
        delete state;
    }
    return CallWindowProcA(previous, sheet, message, wParam, lParam);
}
