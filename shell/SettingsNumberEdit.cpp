#include "shell/SettingsNumberEdit.h"

#include <commctrl.h>

#include <cstdlib>

#include "foundation/ResourceData.h"
#include "foundation/bytes/MessageBoxes.h"
#include "resources/ids/SettingsSheetIds.h"

unsigned ReadNumberEdit(HWND page, int editId)
{
    char text[4] = "";
    GetDlgItemTextA(page, editId, text, sizeof text);
    return static_cast<unsigned>(std::strtoul(text, nullptr, 10));
}

void RefuseEditValue(HWND page, int editId, const char* text)
{
    ShowErrorMessage(page, text, ProgramTitle);
    HWND edit = GetDlgItem(page, editId);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

void RefuseZeroInEdit(HWND page, int editId)
{
    CResourceString text;
    text.LoadString(GetModuleHandleA(nullptr), IDS_VALUE_ABOVE_ZERO);
    RefuseEditValue(page, editId, text.GetText());
}

void PlaceNumberEdit(HWND page, int editId, int spinId, const char* widestText, int lowest, int highest)
{
    HWND edit = GetDlgItem(page, editId);
    HWND spin = GetDlgItem(page, spinId);
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(page, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32A(dc, widestText, lstrlenA(widestText), &text);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    RECT place;
    GetWindowRect(edit, &place);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&place), 2);
    RECT spinPlace;
    GetWindowRect(spin, &spinPlace);
    // The up-down control takes its own width from the edit it is put beside.
    const int width = text.cx + 16 + (spinPlace.right - spinPlace.left);
    const int height = metrics.tmHeight + 6;
    SetWindowPos(edit, nullptr, place.left, place.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageA(spin, UDM_SETRANGE, 0, MAKELPARAM(highest, lowest));
}
