// Pages of the settings sheet whose controls are not built yet: each shows its
// tab and lets the sheet close, and changes no setting.
#include <windows.h>

#include "shell/SettingsPages.h"

namespace {
INT_PTR PendingPage(UINT message)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}
}

INT_PTR CALLBACK NotePageProc(HWND, UINT message, WPARAM, LPARAM) { return PendingPage(message); }
INT_PTR CALLBACK SecurityPageProc(HWND, UINT message, WPARAM, LPARAM) { return PendingPage(message); }
INT_PTR CALLBACK SoundPageProc(HWND, UINT message, WPARAM, LPARAM) { return PendingPage(message); }
