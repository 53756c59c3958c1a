#pragma once

#include <windows.h>

// The program's hotkeys as another process meets them, and its
// key-combination dialog driven from outside.

// Whether this process could take the hotkey combination: false while a
// program holds it.
bool HotkeyCombinationIsFree(UINT modifiers, UINT key);
// Sets the key-combination dialog the program opened to the modifiers and the
// key named, then OK. Modifiers are added before one is taken away, so that
// the dialog never sees fewer than two.
void ChooseHotkey(HWND dialog, bool ctrl, bool alt, bool shift, const char* keyName);
