#pragma once

#include <windows.h>

#include "foundation/FormatSettings.h"
#include "foundation/RecordList.h"
#include "globals/HotkeyEntries.h"
#include "globals/NoteManagerOptions.h"
#include "store/bytes/PackedValues.h"

// What the hotkeys page of the Settings sheet edits: the action hotkeys with
// their names, the style hotkeys' one switch, and the note groups' hotkeys.

struct HotkeyActionTable {
    HotkeyActionTable() : groups("") {}
    DWORD groupToSelect = 0;
    DWORD stylesEnabled = 0;
    // 14, 18, 15, 16, 17, 19, 21, 22, 23, 24, 25, 27, then styles 1 to 9.
    CHotkeyActionEntry actions[kHotkeyActionCount] = {};
    CRecordList<CHotkeyGroupEntry> groups;
    DWORD applied = 0;
};

// The hotkey id of each row of the table.
extern const int kHotkeyActionIds[kHotkeyActionCount];

// The table read from the current settings, the calendar's options and the
// groups (the three filter groups left out).
void BuildHotkeyActionTable(HotkeyActionTable& table, DWORD groupToSelect, DWORD applied);

// Fills the key table from the string table: the named keys, the digits,
// the letters and F1 to F12.
void FillHotkeyKeyTable(HINSTANCE instance);
