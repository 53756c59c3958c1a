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

// A top-level window of this process with the title (compared as FindWindow
// does, ignoring case); null when none is open.
HWND FindOwnWindow(const char* title);
// A top-level window looked for by its title (compared ignoring case), and
// whether it is restored when found minimised.
struct OwnWindowTitle {
    const char* title;
    bool restoreWhenMinimised;
};
// Brings forward the first title of the list that names an open window of this
// process (another program's window of the same title is not ours). 1 when one
// was activated, 0 when none is open.
int ActivateFirstOwnWindow(const OwnWindowTitle* titles, int count);
