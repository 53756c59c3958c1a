#include "shell/OptionalLibraries.h"

#include <cstdio>

#include <wtsapi32.h>

#include "foundation/DiagnosticLog.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/SystemProbes.h"

namespace {
using SessionFunction = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterFunction = BOOL(WINAPI*)(HWND);

struct Libraries {
    HMODULE richEdit = nullptr;
    HMODULE msimg32 = nullptr;
    HMODULE uxtheme = nullptr;
    HMODULE wtsapi32 = nullptr;
    SessionFunction registerSession = nullptr;
    UnregisterFunction unregisterSession = nullptr;
};
Libraries g_libraries;

void FreeLibraryOnce(HMODULE& library)
{
    if (library)
        FreeLibrary(library);
    library = nullptr;
}
}

void LoadOptionalLibraries()
{
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    if ((windows.isWindowsXp || windows.isVistaOrLater) && windows.commonControlsMajor == 6) {
        if (windows.isVistaOrLater)
            LoadDwmFunctions();
        g_libraries.uxtheme = LoadLibraryA("UXTHEME.DLL");
    }
    g_libraries.msimg32 = LoadLibraryA("MSIMG32.DLL");
    if (g_libraries.msimg32)
        SetGradientFillFunction(
            reinterpret_cast<GradientFillFunction>(GetProcAddress(g_libraries.msimg32, "GradientFill")));
    GetStartupValues().layeredWindows = ProbeLayeredWindows("USER32.DLL");
    g_libraries.wtsapi32 = LoadLibraryA("WTSAPI32.DLL");
    if (g_libraries.wtsapi32) {
        g_libraries.registerSession = reinterpret_cast<SessionFunction>(
            GetProcAddress(g_libraries.wtsapi32, "WTSRegisterSessionNotification"));
        g_libraries.unregisterSession = reinterpret_cast<UnregisterFunction>(
            GetProcAddress(g_libraries.wtsapi32, "WTSUnRegisterSessionNotification"));
    }
}

bool LoadRichEditLibrary()
{
    g_libraries.richEdit = LoadLibraryA("RICHED20.DLL");
    if (g_libraries.richEdit)
        return true;
    char text[400];
    FormatLastErrorText(GetLastError(), text, sizeof text);
    ShowErrorMessage(nullptr, text, ProgramTitle);
    return false;
}

void FreeOptionalLibraries()
{
    SetGradientFillFunction(nullptr);
    g_libraries.registerSession = nullptr;
    g_libraries.unregisterSession = nullptr;
    FreeLibraryOnce(g_libraries.richEdit);
    FreeLibraryOnce(g_libraries.msimg32);
    FreeLibraryOnce(g_libraries.uxtheme);
    FreeLibraryOnce(g_libraries.wtsapi32);
}

void RegisterSessionNotification(HWND window)
{
    if (g_libraries.registerSession)
        g_libraries.registerSession(window, NOTIFY_FOR_THIS_SESSION);
}

void UnregisterSessionNotification(HWND window)
{
    if (g_libraries.unregisterSession)
        g_libraries.unregisterSession(window);
}
