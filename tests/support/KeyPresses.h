#pragma once

#include <windows.h>

#include <initializer_list>

// Keys pressed as the keyboard gives them, to the foreground window: down in
// order, up in the reverse order.
void PressKeys(std::initializer_list<BYTE> keys);
