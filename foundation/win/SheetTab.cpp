#include "foundation/win/SheetTab.h"

#include <commctrl.h>

#include "foundation/win/GdiObjects.h"
#include "foundation/win/VisualStyles.h"

namespace {
const int kTabItemLeftEdge = 2;
const int kTabSelected = 3;
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
