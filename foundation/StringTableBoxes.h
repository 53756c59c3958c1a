#pragma once

#include <windows.h>

// Boxes whose texts come from the string table, captioned "Sorry...".
int ShowBusySendingMessage(HWND owner);
int ShowBusySavingMessage(HWND owner);
// The length is not shown: the text is the same whatever was pasted.
int ShowPasteTooLongMessage(HWND owner, DWORD length);
