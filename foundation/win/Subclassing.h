#pragma once

#include <windows.h>

// Controls get the program's behaviour by subclassing: the new procedure
// finds its object in a window property and calls the previous procedure for
// everything it does not handle.

// Puts the procedure in place of the window's own and keeps the object under
// the property; returns the previous procedure (null for no window).
WNDPROC SubclassWindow(HWND window, const char* property, void* object, WNDPROC procedure);
// Puts the previous procedure back and forgets the object; nothing when the
// window has gone or was never subclassed.
void RestoreWindowProc(HWND window, const char* property, WNDPROC previous);
