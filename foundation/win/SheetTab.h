#pragma once

#include <windows.h>

// WM_DRAWITEM of a property sheet's owner-drawn tab control: each tab's label
// centred on one line, the selected one in bold; under the XP and Vista
// visual styles the selected first tab gets the theme's tab background.
void DrawSheetTab(HWND window, const DRAWITEMSTRUCT* item);
