#pragma once

#include <windows.h>

// The visual-style functions of uxtheme, when start-up loaded it (XP or later
// with the common controls 6) and a style is in use.
using OpenThemeFunction = HANDLE(WINAPI*)(HWND, LPCWSTR);
using DrawThemeFunction = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
using CloseThemeFunction = HRESULT(WINAPI*)(HANDLE);

struct ThemeFunctions {
    OpenThemeFunction open = nullptr;
    DrawThemeFunction draw = nullptr;
    CloseThemeFunction close = nullptr;
};

// False, the functions left null, when there is no visual style to draw with.
bool LoadThemeFunctions(ThemeFunctions& theme);
