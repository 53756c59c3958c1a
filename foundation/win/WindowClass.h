#pragma once

#include <windows.h>

#include "foundation/ResourceData.h"

// A window class whose name comes from the program's string table. A class
// that cannot be registered throws, so start-up stops instead of running on
// without its windows.
class CWindowClass {
public:
    // Style 0 means CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS; icon id 0 means no
    // icon; cursor id 0 or that of IDC_ARROW means the system's arrow; a null
    // brush means the stock white brush. A missing class name throws.
    CWindowClass(WNDPROC procedure, UINT classNameId, HINSTANCE instance, UINT style, UINT iconId, UINT cursorId,
                 HBRUSH background);
    CWindowClass(const CWindowClass&) = delete;
    CWindowClass& operator=(const CWindowClass&) = delete;

    // Throws "CWindowClass::RegisterClassEx failed." when the system refuses.
    ATOM RegisterClassEx();
    // The first top-level window of this class, whatever its title; null if none.
    HWND FindWindow() const;

    const char* GetClassName() const { return m_className.GetText(); }
    const WNDCLASSEXA& GetWndClass() const { return m_class; }
    ATOM GetAtom() const { return m_atom; }

private:
    WNDCLASSEXA m_class;
    ATOM m_atom = 0;
    CResourceString m_className;
};
