#pragma once

#include <windows.h>

#include "foundation/RecordList.h"
#include "globals/NoteManagerOptions.h"

// The program's hotkeys as the dialogs that edit one of them see the others:
// the action hotkeys with their names, and the note groups' hotkeys.

struct CHotkeyActionEntry {
    DWORD enabled;
    DWORD ctrl, alt, shift;
    DWORD key;
    char name[52];
};

// A group's record as the page edits it, with the two tooltips of its switch.
struct CHotkeyGroupEntry {
    CNoteGroup group;
    char enableTip[51];
    char disableTip[51];
};
inline long RecordId(const CHotkeyGroupEntry& entry) { return static_cast<long>(entry.group.id); }
inline const char* RecordName(const CHotkeyGroupEntry& entry) { return entry.group.name; }

// New note, with clipboard, show all, hide all, show last, show desktop, park
// desktop, find text, alarm note, Note Manager, favourites, calendar, then
// styles 1 to 9.
enum { kHotkeyActionCount = 21, kHotkeyCalendarEntry = 11, kHotkeyStyleEntry = 12 };
