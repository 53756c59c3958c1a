#pragma once

#include <windows.h>

// The General settings sheet's window hooks: the callback that shapes the
// sheet as it is made, and the sheet's subclass that draws its tabs.
int CALLBACK SettingsSheetCallback(HWND window, UINT message, LPARAM lParam);
LRESULT CALLBACK SettingsSheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

