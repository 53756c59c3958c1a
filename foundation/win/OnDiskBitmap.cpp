#include "foundation/win/OnDiskBitmap.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/TransparentBitmap.h"

namespace {
const char kDrawReport[] = "INCERC.TXT";
const COLORREF kTransparentGrey = 0xC0C0C0;
const DWORD kMaxPaletteColours = 256;

bool IsDrawnAtOrigin(const char* code)
{
    return std::strcmp(code, "LG") == 0 || std::strcmp(code, "NG") == 0;
}
}

COnDiskBitmap::COnDiskBitmap(const char* imageCode)
{
    std::snprintf(m_imageCode, sizeof m_imageCode, "%s", imageCode ? imageCode : "");
}

void COnDiskBitmap::SetImageCode(const char* imageCode)
{
    std::snprintf(m_imageCode, sizeof m_imageCode, "%s", imageCode ? imageCode : "");
    m_dib.Free();
}

bool COnDiskBitmap::LoadBitmapFile(const BYTE* file, DWORD size)
{
    m_dib.Free();
    BitmapFileLayout layout;
    switch (CheckBitmapFile(file, size, &layout)) {
    case BitmapFileCheck::kSound:
        break;
    case BitmapFileCheck::kNotBitmap:
        ShowErrorMessage(nullptr, "The image is not a BITMAP file", ProgramTitle);
        return false;
    case BitmapFileCheck::kBadInfoHeader:
        ShowErrorMessage(nullptr, "The image info header  is invalid", ProgramTitle);
        return false;
    case BitmapFileCheck::kIncomplete:
        ShowErrorMessage(nullptr, "The image is incomplete: it is shorter than its header states", ProgramTitle);
        return false;
    }
    try {
        m_dib.Alloc(layout.dibSize);
    } catch (const CGenericException&) {
        ShowErrorMessage(nullptr, "Heap Alloc for m_lpDib Failed", ProgramTitle);
        return false;
    }
    std::memcpy(m_dib.GetBlock(), file + kBitmapFileHeaderBytes, layout.dibSize);
    m_layout = layout;
    return true;
}

HPALETTE CreateExactPalette(const BYTE* colourTable, DWORD colourCount, DWORD entrySize)
{
    if (colourCount > kMaxPaletteColours) {
        AppendTextToFile(">256 colours Sorry\r\n", "error.TXT");
        return nullptr;
    }
    if (colourCount == 0 || !colourTable) {
        ShowErrorMessage(nullptr, "The image has zero colours ?!", "CreateExactPalette");
        return nullptr;
    }
    std::vector<BYTE> block;
    try {
        block.resize(sizeof(LOGPALETTE) + colourCount * sizeof(PALETTEENTRY));
    } catch (...) {
        ShowErrorMessage(nullptr, "Not enough memory to allocate \r\n for the logical palette ", "Error");
        return nullptr;
    }
    LOGPALETTE* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(colourCount);
    for (DWORD i = 0; i < colourCount; ++i) {
        const BYTE* entry = colourTable + i * entrySize;
        palette->palPalEntry[i] = PALETTEENTRY{entry[2], entry[1], entry[0], 0};
    }
    HPALETTE created = CreatePalette(palette);
    if (!created)
        ShowErrorMessage(nullptr, "Could not create the logical palette", "CreatePalette");
    return created;
}

void COnDiskBitmap::Deseneaza(bool noBlit, HDC dc, int /*width*/, int height)
{
    if (!IsLoaded()) {
        AppendTextToFile("COnDiskBitmap::Deseneaza () NULL == m_lpDib ?! \r\n", kDrawReport);
        return;
    }
    BYTE* dib = m_dib.GetBlock();
    HPALETTE palette = CreateExactPalette(dib + m_layout.headerSize, m_layout.colourCount,
                                          m_layout.colourEntrySize);
    if (!palette) {
        AppendTextToFile("Create ExactPalette failed \r\n", kDrawReport);
        return;
    }
    HPALETTE previous = SelectPalette(dc, palette, FALSE);
    if (RealizePalette(dc) == GDI_ERROR) {
        ShowErrorMessage(nullptr, "Could not realize the palette", "Error");
    } else {
        const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(dib);
        HBITMAP bitmap = CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, dib + m_layout.bitsOffset, info,
                                        DIB_RGB_COLORS);
        if (!bitmap) {
            ShowErrorMessage(nullptr, "Could not CreateDIBitmap", "Error");
        } else {
            if (!noBlit) {
                if (IsDrawnAtOrigin(m_imageCode))
                    DrawTransparentBitmap(dc, bitmap, 0, 0, kTransparentGrey);
                else
                    DrawTransparentBitmap(dc, bitmap, 2, height - 29, kTransparentGrey);
            }
            if (!DeleteObject(bitmap))
                ShowWarningMessage(nullptr, "DeleteObject failed - CreateDIBitmap", ProgramTitle);
        }
    }
    SelectPalette(dc, previous, FALSE);
    DeleteObject(palette);
}
