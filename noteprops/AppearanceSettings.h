#pragma once

#include <windows.h>

#include <string>

#include "foundation/DateTime.h"
#include "globals/NoteStyle.h"

class CNoteController;

// The Appearance page's working copy of a note's looks, made before the note
// settings sheet opens; the note takes it back when the sheet was applied.
struct CAppearanceSettings {
    DWORD plainText = 0;
    DWORD isProtected = 0;
    DWORD horizontalLines = 0;
    DWORD backgroundKind = 0;  // 0 plain, 1-3 gradients, 4 texture, 5 transparent
    DWORD leftMarginKind = 0;  // 0 none .. 4 double continuous
    DWORD stayOnTop = 0;
    DWORD hasBorder = 0;
    DWORD showDate = 0;
    DWORD rollUp = 0;
    DWORD useForNewNotes = 0;
    DWORD stylesInRotation = 0;
    char title[41] = "";
    LOGFONTA bodyFont{};
    COLORREF textColor = 0;
    COLORREF backgroundColor = 0;
    LOGFONTA titleFont{};
    COLORREF titleTextColor = 0;
    COLORREF titleBackgroundColor = 0;
    CDateTime created;
    DWORD applied = 0;  // 1 after the sheet's OK, 0 after its Cancel
    CNoteStyle styles[9];  // copies of the user's nine styles
    BYTE transparency = 0;  // percent, 0 to 90
    WORD textureId = 0;
    BYTE textureStretch = 0;
    DWORD* centred = nullptr;  // the sheet's: the first page shown centres it
    char textureFile[MAX_PATH] = "";  // the texture's file name, filled by the page
    CNoteController* note = nullptr;  // its text and size for a style saved with text
    std::string noteRichText;         // the note's rich text when the sheet opened
    SIZE noteSize = {0, 0};
    DWORD reserved = 0;
    int currentStyle = -1;  // the style last loaded into the page, -1 none
    DWORD pageInitialised = 0;
};

// The id of a texture file: the hash of its name modulo 10000; 0 for no name.
WORD TextureIdOfFile(const char* fileName);
// The note's rich text as its window holds it now; empty without a note.
std::string NoteRichTextOf(const CAppearanceSettings& settings);
// The note's width and height; nothing without a note.
SIZE NoteSizeOf(const CAppearanceSettings& settings);
