#include "foundation/win/ImageFiles.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/DiagnosticLog.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/ImageFileHeaders.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/DeviceContext.h"

namespace {
struct ByteBlock {
    const void* bytes;
    DWORD count;
};

// Writes the blocks as the new contents of the file, which is replaced only
// once they are all written: a failure leaves no half-written file and an
// existing one as it was.
bool WriteNewFile(const char* path, std::initializer_list<ByteBlock> blocks)
{
    try {
        CWorkingCopy file(path);
        for (const ByteBlock& block : blocks)
            file.File().WriteToFile(block.bytes, block.count);
        file.Commit();
        return true;
    } catch (const CGenericException& failure) {
        WriteErrorLog("Saving a picture file: ", failure.GetErrorText());
        return false;
    }
}

// The bitmap's rows bottom-up at the bit count, as GetDIBits gives them.
bool ReadBitmapRows(HDC dc, HBITMAP bitmap, LONG width, LONG height, int bitCount, std::vector<BYTE>& rows)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitCount);
    info.header.biCompression = BI_RGB;
    rows.assign(BitmapImageBytes(width, height, bitCount), 0);
    return !rows.empty() && GetDIBits(dc, bitmap, 0, height, rows.data(), reinterpret_cast<BITMAPINFO*>(&info),
                                      DIB_RGB_COLORS) == height;
}
}

bool SaveBitmapAsBmpFile(HWND window, const METAFILEPICT& picture, const char* path)
{
    if (!picture.hMF)
        return false;
    CBitmapHolder bitmap(PlayMetafilePicture(window, picture));
    BITMAP size = {};
    if (!bitmap.Get() || !GetObjectA(bitmap.Get(), sizeof size, &size))
        return false;
    std::vector<BYTE> rows;
    CClientDC screen(nullptr);
    if (!ReadBitmapRows(screen.GetHandle(), bitmap.Get(), size.bmWidth, size.bmHeight, 24, rows))
        return false;
    std::vector<unsigned char> header =
        MakeBmpFileHeader(size.bmWidth, size.bmHeight, static_cast<std::uint32_t>(rows.size()));
    return WriteNewFile(path, {{header.data(), static_cast<DWORD>(header.size())},
                               {rows.data(), static_cast<DWORD>(rows.size())}});
}

bool SavePictureObjectAsBmp(HWND window, IDataObject* picture, const char* path, int limit)
{
    if (!path || static_cast<int>(std::strlen(path)) >= limit) {
        ShowErrorMessage(window, "The file path is too long (maximum 100 characters are allowed)", ProgramTitle);
        return false;
    }
    FORMATETC format = {CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT};
    STGMEDIUM medium = {};
    if (!picture || FAILED(picture->GetData(&format, &medium)))
        return false;
    bool saved = false;
    if (medium.tymed == TYMED_MFPICT) {
        if (const METAFILEPICT* metafile = static_cast<const METAFILEPICT*>(GlobalLock(medium.hMetaFilePict))) {
            saved = SaveBitmapAsBmpFile(window, *metafile, path);
            GlobalUnlock(medium.hMetaFilePict);
        }
    }
    ReleaseStgMedium(&medium);
    return saved;
}

void SaveImageAsDialog(HWND window, IDataObject* picture, const char* initialName, int limit)
{
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s", initialName ? initialName : "");
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = "Bitmap (*.BMP)\0*.BMP\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrDefExt = "BMP";
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (GetSaveFileNameA(&dialog))
        SavePictureObjectAsBmp(window, picture, path, limit);
}

bool SaveIconToFile(HICON icon, const char* path, bool thirtyTwoBits)
{
    ICONINFO parts = {};
    if (!GetIconInfo(icon, &parts))
        return false;
    bool saved = false;
    BITMAP color = {};
    BITMAP mask = {};
    if (parts.hbmColor && parts.hbmMask && GetObjectA(parts.hbmColor, sizeof color, &color) &&
        GetObjectA(parts.hbmMask, sizeof mask, &mask)) {
        int bitCount = thirtyTwoBits ? 32 : 24;
        std::vector<BYTE> colorRows;
        std::vector<BYTE> maskRows;
        CClientDC screen(nullptr);
        if (!ReadBitmapRows(screen.GetHandle(), parts.hbmColor, color.bmWidth, color.bmHeight, bitCount, colorRows)) {
            WriteLastErrorLog("Error saving the icon(color bitmap)\r\n");
        } else if (!ReadBitmapRows(screen.GetHandle(), parts.hbmMask, mask.bmWidth, mask.bmHeight, 1, maskRows)) {
            WriteLastErrorLog("Error saving the icon(mask bitmap)\r\n");
        } else {
            std::vector<unsigned char> header =
                MakeIconFileHeader(color.bmWidth, color.bmHeight, mask.bmHeight, bitCount,
                                   static_cast<std::uint32_t>(colorRows.size()),
                                   static_cast<std::uint32_t>(maskRows.size()));
            saved = WriteNewFile(path, {{header.data(), static_cast<DWORD>(header.size())},
                                        {colorRows.data(), static_cast<DWORD>(colorRows.size())},
                                        {maskRows.data(), static_cast<DWORD>(maskRows.size())}});
        }
    }
    if (parts.hbmColor)
        DeleteObject(parts.hbmColor);
    if (parts.hbmMask)
        DeleteObject(parts.hbmMask);
    return saved;
}
