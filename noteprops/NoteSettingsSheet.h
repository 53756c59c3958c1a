#pragma once

#include <windows.h>

struct CAppearanceSettings;
class CAlarmSettings;

// The modal "Note settings..." sheet with its two pages, Appearance (0) and
// Alarm (1), on the two records; without an Apply button or a system menu.
void RunNoteSettingsSheet(HWND owner, int startPage, CAppearanceSettings& appearance, CAlarmSettings& alarm);

int CALLBACK NoteSettingsSheetCallback(HWND sheet, UINT message, LPARAM lParam);
LRESULT CALLBACK NoteSettingsTabProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam);
// The Appearance page (noteprops/AppearancePage.cpp).
INT_PTR CALLBACK AppearancePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
