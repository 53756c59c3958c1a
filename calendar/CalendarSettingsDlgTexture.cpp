#include "calendar/CalendarSettingsDlgTexture.h"

#include <cstdio>

CTextureEntry::CTextureEntry(const char* name, BYTE drawingKind) : kind(drawingKind)
{
    std::snprintf(fileName, sizeof fileName, "%s", name && name[0] ? name : "  NoImage");
}

bool RunCalendarTexturePicker(HWND, CTextureEntry&)
{
    // The texture picker is not part of the program yet: the choice stays.
    MessageBeep(MB_ICONHAND);
    return false;
}
