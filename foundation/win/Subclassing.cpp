#include "foundation/win/Subclassing.h"

WNDPROC SubclassWindow(HWND window, const char* property, void* object, WNDPROC procedure)
{
    if (!window)
        return nullptr;
    SetPropA(window, property, object);
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

void RestoreWindowProc(HWND window, const char* property, WNDPROC previous)
{
    if (!window || !previous || !IsWindow(window))
        return;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(window, property);
}
