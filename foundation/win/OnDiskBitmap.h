#pragma once

#include <windows.h>

#include "foundation/ProcessHeap.h"
#include "foundation/bytes/BitmapFileLayout.h"

// A device-independent bitmap that the program keeps in its settings table (a
// bitmap file held in a memo text), drawn with an exact palette of its own
// colours. Every size stored in the file is checked against the bytes actually
// read before the bitmap is used.
class COnDiskBitmap {
public:
    // The image code names the picture ("LG", "NG", "I1"...) and where it is drawn.
    explicit COnDiskBitmap(const char* imageCode = "");
    COnDiskBitmap(const COnDiskBitmap&) = delete;
    COnDiskBitmap& operator=(const COnDiskBitmap&) = delete;

    // Takes the bitmap file as read: size is the number of bytes read. A file
    // that is not a bitmap, has an unusable header or states more bytes than
    // were read is refused in a box.
    bool LoadBitmapFile(const BYTE* file, DWORD size);
    // Names the picture to come (where it is drawn) and drops the one held;
    // the settings table's loader starts with it.
    void SetImageCode(const char* imageCode);

    // Draws the bitmap with light grey as the transparent colour: at (0, 0) for
    // "LG" and "NG", else at (2, height - 29). With noBlit it only prepares and
    // frees the palette and the device bitmap.
    void Deseneaza(bool noBlit, HDC dc, int width, int height);

    bool IsLoaded() const { return m_dib.GetBlock() != nullptr; }
    const BitmapFileLayout& GetLayout() const { return m_layout; }

private:
    char m_imageCode[3];
    CProcessHeap m_dib;
    BitmapFileLayout m_layout = {};
};

// A logical palette holding a colour table (entries of 3 or 4 bytes: blue,
// green, red[, unused]). Refuses more than 256 colours (reported in
// "error.TXT") and none at all (a box).
HPALETTE CreateExactPalette(const BYTE* colourTable, DWORD colourCount, DWORD entrySize);
