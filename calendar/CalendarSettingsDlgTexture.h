#pragma once

#include <windows.h>

// The calendar's background picture as the texture picker takes and gives
// it: the drawing kind (tiled 0, stretched otherwise) and the file name of
// TEXTURES, "  NoImage" for none.
struct CTextureEntry {
    enum { kNameSize = 260 };
    CTextureEntry(const char* name, BYTE kind);

    BYTE kind;
    char fileName[kNameSize];
    WORD flag = 0;
};

// The texture picker over the owner, starting at the entry; true after OK,
// with the choice in the entry.
bool RunCalendarTexturePicker(HWND owner, CTextureEntry& entry);
