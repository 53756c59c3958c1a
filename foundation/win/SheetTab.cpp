#include "foundation/win/SheetTab.h"

#include <commctrl.h>

#include "foundation/StartupValues.h"
#include "foundation/win/GdiObjects.h"
#include "foundation/win/SystemProbes.h"

namespace {
using OpenThemeFunction = HANDLE(WINAPI*)(HWND, LPCWSTR);
using DrawThemeFunction = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
using CloseThemeFunction = HRESULT(WINAPI*)(HANDLE);
using IsThemeActiveFunction = BOOL(WINAPI*)();
const int kTabItemLeftEdge = 2;
const int kTabSelected = 3;

// The visual-style functions, when start-up loaded them (XP or later with the
// common controls 6) and a style is in use.
struct ThemeFunctions {
    OpenThemeFunction open = nullptr;
    DrawThemeFunction draw = nullptr;
    CloseThemeFunction close = nullptr;
};

bool LoadThemeFunctions(ThemeFunctions& theme)
{
    HMODULE uxtheme = GetModuleHandleA("UXTHEME.DLL");
    if (!uxtheme)
        return false;
    auto isActive = reinterpret_cast<IsThemeActiveFunction>(GetProcAddress(uxtheme, "IsThemeActive"));
    bool vistaTheme = GetStartupValues().windows.isVistaOrLater && isActive && isActive();
    if (GetXpColorScheme() == 0 && !vistaTheme)
        return false;
    theme.open = reinterpret_cast<OpenThemeFunction>(GetProcAddress(uxtheme, "OpenThemeData"));
    theme.draw = reinterpret_cast<DrawThemeFunction>(GetProcAddress(uxtheme, "DrawThemeBackground"));
    theme.close = reinterpret_cast<CloseThemeFunction>(GetProcAddress(uxtheme, "CloseThemeData"));
    return theme.open && theme.draw && theme.close;
}
}

void DrawSheetTab(HWND window, const DRAWITEMSTRUCT* item)
{
    if (!item || item->CtlType != ODT_TAB || !(item->itemAction & ODA_DRAWENTIRE))
        return;
    CGdiFont plain;
    CGdiFont bold;
    SetDerivedWindowFont(plain, window, false, false, 0);
    SetDerivedWindowFont(bold, window, false, true, 0);
    char text[100] = "";
    TCITEMA tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = sizeof text - 1;
    SendMessageA(item->hwndItem, TCM_GETITEMA, item->itemID, reinterpret_cast<LPARAM>(&tab));

    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    ThemeFunctions theme;
    const bool themed = LoadThemeFunctions(theme);
    RECT rect = item->rcItem;
    if (themed) {
        if (HANDLE data = theme.open(item->hwndItem, L"Tab")) {
            if (selected && item->itemID == 0)
                theme.draw(data, item->hDC, kTabItemLeftEdge, kTabSelected, &item->rcItem, nullptr);
            theme.close(data);
        }
        OffsetRect(&rect, 0, 1);
    }
    COLORREF color = GetSysColor(COLOR_MENUTEXT);
    if (!themed && (selected || (item->itemState & ODS_FOCUS)))
        color = GetSysColor(COLOR_HIGHLIGHT);
    HGDIOBJ oldFont = SelectObject(item->hDC, selected ? bold.GetHFONT() : plain.GetHFONT());
    int oldMode = SetBkMode(item->hDC, TRANSPARENT);
    COLORREF oldColor = SetTextColor(item->hDC, color);
    DrawTextA(item->hDC, text, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(item->hDC, oldColor);
    SetBkMode(item->hDC, oldMode);
    SelectObject(item->hDC, oldFont);
}
