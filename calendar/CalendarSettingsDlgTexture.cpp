#include "calendar/CalendarSettingsDlgTexture.h"

#include <cstdio>

#include "noteprops/TexturePicker.h"

CTextureEntry::CTextureEntry(const char* name, BYTE drawingKind) : kind(drawingKind)
{
    std::snprintf(fileName, sizeof fileName, "%s", name && name[0] ? name : "  NoImage");
}

bool RunCalendarTexturePicker(HWND owner, CTextureEntry& entry)
{
    CTexturePickerParams params;
    params.stretch = entry.kind;
    std::snprintf(params.fileName, sizeof params.fileName, "%s", entry.fileName);
    if (RunTexturePicker(owner, params) != 1)
        return false;
    entry.kind = params.stretch;
    std::snprintf(entry.fileName, sizeof entry.fileName, "%s", params.fileName);
    return true;
}
