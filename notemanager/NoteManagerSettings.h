#pragma once

#include <windows.h>

// The Note Manager's display and behaviour options as its settings dialog
// edits them, in this order.
struct CNoteManagerSettingsValues {
    DWORD paintTTBackColors;
    DWORD paintHiddenBackgnd;
    DWORD paintParkedBackgnd;
    DWORD paintHiddenBackColor;
    DWORD paintParkedBackColor;
    DWORD boldTitleText;
    DWORD saveFilterCriteria;
    DWORD stayOnTop;
    DWORD adaptiveDateTime;
};

// "Note Manager settings" over the owner: the values are changed only when
// the user presses OK (1); Cancel answers 0.
INT_PTR RunNoteManagerSettingsDialog(HWND owner, CNoteManagerSettingsValues& values);
