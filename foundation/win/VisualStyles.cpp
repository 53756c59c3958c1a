#include "foundation/win/VisualStyles.h"

#include "foundation/StartupValues.h"
#include "foundation/win/SystemProbes.h"

namespace {
using IsThemeActiveFunction = BOOL(WINAPI*)();
}

bool LoadThemeFunctions(ThemeFunctions& theme)
{
    HMODULE uxtheme = GetModuleHandleA("UXTHEME.DLL");
    if (!uxtheme)
        return false;
    auto isActive = reinterpret_cast<IsThemeActiveFunction>(GetProcAddress(uxtheme, "IsThemeActive"));
    bool vistaTheme = GetStartupValues().windows.isVistaOrLater && isActive && isActive();
    if (GetXpColorScheme() == 0 && !vistaTheme)
        return false;
    theme.open = reinterpret_cast<OpenThemeFunction>(GetProcAddress(uxtheme, "OpenThemeData"));
    theme.draw = reinterpret_cast<DrawThemeFunction>(GetProcAddress(uxtheme, "DrawThemeBackground"));
    theme.close = reinterpret_cast<CloseThemeFunction>(GetProcAddress(uxtheme, "CloseThemeData"));
    return theme.open && theme.draw && theme.close;
}
