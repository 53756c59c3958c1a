#pragma once

#include <windows.h>

#include "shell/HotkeyActionTable.h"

// Tells the user when a combination is already in use: by another group
// whose hotkey is on (a warning between named groups, else an error), or by
// an enabled action hotkey of another name (an error). The group id is -1
// for an action hotkey. Returns 1 when an action hotkey has it, else 0; the
// combination is kept either way.
int CheckHotkeyConflict(HWND owner, const CRecordList<CHotkeyGroupEntry>& groups,
                        const CHotkeyActionEntry (&actions)[kHotkeyActionCount], const char* name, long groupId,
                        DWORD ctrl, DWORD alt, DWORD shift, DWORD key);

// The display text of a combination (" Ctrl+Alt+N").
std::string HotkeyCombinationText(DWORD ctrl, DWORD alt, DWORD shift, DWORD key);
