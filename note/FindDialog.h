#pragma once

#include <windows.h>

// The notes' Find box: one modeless box for the whole program, searching the
// note it was opened on (the other notes too when the user asks), with the
// last nine texts searched for in its list.

// Opens the box on the note window, or moves the open box to it.
void OpenFindBox(HWND noteWindow);
// The box's keyboard (Tab, Enter, Escape) for the message loop: true when the
// message was the box's and has been handled.
bool PassToFindBox(MSG& message);
