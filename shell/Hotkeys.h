#pragma once

#include <windows.h>

#include "shell/HotkeyActionTable.h"

// The program's system-wide hotkeys, all registered on the hidden main window.
enum HotkeyId : int {
    kHotkeyNewNote = 14,
    kHotkeyShowAll = 15,
    kHotkeyHideAll = 16,
    kHotkeyShowLast = 17,
    kHotkeyNewClipboardNote = 18,
    kHotkeyShowDesktop = 19,
    kHotkeyParkDesktop = 21,
    kHotkeyFindText = 22,
    kHotkeyNewAlarmNote = 23,
    kHotkeyNoteManager = 24,
    kHotkeyFavourites = 25,
    kHotkeyCalendar = 27,
    kHotkeyFirstGroup = 28,   // 28 + group number, groups 0 to 100
    kHotkeyLastGroup = 128,
    kHotkeyFirstStyle = 150,  // Alt+Shift+1 .. Alt+Shift+9 make a note in styles 1 to 9
    kHotkeyLastStyle = 158,
};

// MOD_CONTROL, MOD_ALT and MOD_SHIFT of a stored combination.
UINT HotkeyModifiers(DWORD ctrl, DWORD alt, DWORD shift);

// The calendar's combination, kept with the calendar's options.
CHotkeySetting CalendarHotkey();

// Each registration first drops the id, so registering twice is harmless; the
// answer is RegisterHotKey's.
BOOL RegisterGlobalHotkey(HWND main, int id, const CHotkeySetting& keys);
// An action hotkey (14 to 25, 27) with the user's (or the calendar's) combination.
BOOL RegisterActionHotkey(HWND main, int id);
void RegisterStyleHotkeys(HWND main);
void UnregisterStyleHotkeys(HWND main);
BOOL RegisterGroupHotKey(HWND main, const CNoteGroup& group);
void UnregisterGroupHotkeys(HWND main);

// Every enabled action and style hotkey, in the program's order; and the same
// set dropped again, then the groups' hotkeys.
void RegisterEnabledHotkeys(HWND main);
void UnregisterAllHotkeys(HWND main);

// Takes the edited groups' combinations into the live groups, registers what
// changed and saves the Note Manager's groups when anything did.
void ApplyGroupHotkeyChanges(HWND main, CRecordList<CHotkeyGroupEntry>& edited);

// The clipboard holds text, rich text or a picture a note can take.
bool ClipboardHasNoteContent();
// The calendar window opened, or the open one shown again, activated and
// brought forward unless asked not to; false when it could not be opened.
bool ShowCalendar(bool noActivate);
