#pragma once

#include <windows.h>

#include "foundation/CallbackGuard.h"

// Controls get the program's behaviour by subclassing: the new procedure
// finds its object in a window property and calls the previous procedure for
// everything it does not handle.

// Puts the procedure in place of the window's own and keeps the object under
// the property; returns the previous procedure (null for no window).
WNDPROC SubclassWindow(HWND window, const char* property, void* object, WNDPROC procedure);
// Puts the previous procedure back and forgets the object; nothing when the
// window has gone or was never subclassed.
void RestoreWindowProc(HWND window, const char* property, WNDPROC previous);

// The body of a control's subclass procedure: the object kept under the
// property handles the message under the program's guard (0 after a failure);
// a window without one gets the default handling.
template <class Control>
LRESULT DispatchToSubclassOwner(HWND window, const char* property, LRESULT (Control::*handler)(UINT, WPARAM, LPARAM),
                                UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* control = static_cast<Control*>(GetPropA(window, property));
    if (!control)
        return DefWindowProcA(window, message, wParam, lParam);
    return GuardCallback<LRESULT>(0, [&] { return (control->*handler)(message, wParam, lParam); });
}
