#pragma once

#include <windows.h>

#include <initializer_list>

// Keys pressed as the keyboard gives them, to the foreground window: down in
// order, up in the reverse order. Before a chord the foreground window's
// thread reads its focus and enter notices, which would let the chord's
// modifier go if read between its keys.
void PressKeys(std::initializer_list<BYTE> keys);
// Each character of the text typed with its key, Shift held for capitals.
void TypeOnTheKeyboard(const char* text);
// One key going down (flags 0) or up (KEYEVENTF_KEYUP), as SendInput takes it.
INPUT KeyInput(BYTE key, DWORD flags);
// A key given to the control through its program's message loop, as the
// keyboard gives it to the focused control: the loop makes its character.
void PostKeyPress(HWND control, UINT key);
