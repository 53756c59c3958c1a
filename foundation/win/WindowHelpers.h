#pragma once

#include <windows.h>

// Window geometry and activation.

// The window's rectangle in the parent's client coordinates.
void GetRectInParent(HWND window, HWND parent, RECT* rect);
// The window's client rectangle in the other window's client coordinates.
void GetClientRectInWindow(HWND window, HWND other, RECT* rect);
// Centres the window over the other, kept inside the work area; no resizing and
// no change of the z-order.
void CenterWindowOverWindow(HWND window, HWND over);
// Confines the cursor to the client area, its top lowered and its bottom raised
// by the margins.
void ClipCursorToClient(HWND window, int topMargin, int bottomMargin);
void RepaintWindow(bool erase, HWND window);
// Renames an item by command; a failure is shown with the system's text.
void SetMenuItemText(HMENU menu, UINT id, const char* text);

// Brings forward the first of the program's open dialogs found by title (the Note
// Manager too, with the flag); only this process's windows count. 1 when one was
// activated, 0 when none is open.
int ActivateOpenDialog(bool alsoNoteManager);
