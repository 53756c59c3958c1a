#include "foundation/win/BitmapHelpers.h"

#include <commctrl.h>

#include <vector>

#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/LoadedBitmap.h"

CBitmapConnector::CBitmapConnector(HDC dc, HBITMAP bitmap) : CObjectSelector(dc, bitmap)
{
    // A bitmap lives in one device context at a time; selecting it elsewhere fails.
    if (GetCurrentObject(dc, OBJ_BITMAP) != bitmap)
        throw CGenericException(
            "CBitmapConnector constructor failed. The bitmap is already selected in another device context. ");
}

namespace {
SIZE BitmapDimensions(HBITMAP bitmap)
{
    BITMAP header;
    if (!bitmap || !GetObjectA(bitmap, sizeof header, &header))
        return SIZE{0, 0};
    return SIZE{header.bmWidth, header.bmHeight};
}
}

HBITMAP CopyBitmap(HBITMAP bitmap)
{
    SIZE size = BitmapDimensions(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return nullptr;
    CClientDC screen(nullptr);
    CBitmapHolder copy(CreateCompatibleBitmap(screen.GetHandle(), size.cx, size.cy));
    if (!copy.Get())
        return nullptr;
    CCompatibleDC from(screen.GetHandle());
    CCompatibleDC to(screen.GetHandle());
    CBitmapConnector source(from.GetHandle(), bitmap);
    CBitmapConnector target(to.GetHandle(), copy.Get());
    BitBlt(to.GetHandle(), 0, 0, size.cx, size.cy, from.GetHandle(), 0, 0, SRCCOPY);
    target.Restore();
    return copy.Detach();
}

void ReplaceBitmapColor(HBITMAP bitmap, COLORREF oldColor, COLORREF newColor)
{
    SIZE size = BitmapDimensions(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return;
    // The pixels as 32-bit quads (blue, green, red, unused), one pass over them.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
    auto asQuad = [](COLORREF color) {
        return static_cast<DWORD>(GetRValue(color)) << 16 | static_cast<DWORD>(GetGValue(color)) << 8 |
               GetBValue(color);
    };
    DWORD from = asQuad(oldColor);
    DWORD to = asQuad(newColor);
    CClientDC screen(nullptr);
    if (GetDIBits(screen.GetHandle(), bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS) != size.cy)
        return;
    for (DWORD& pixel : pixels)
        if ((pixel & 0xFFFFFF) == from)
            pixel = to;
    SetDIBits(screen.GetHandle(), bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS);
}

void DrawBitmapAt(HDC dc, HBITMAP bitmap, int x, int y)
{
    SIZE size = BitmapDimensions(bitmap);
    CCompatibleDC memory(dc);
    CBitmapConnector selected(memory.GetHandle(), bitmap);
    BitBlt(dc, x, y, size.cx, size.cy, memory.GetHandle(), 0, 0, SRCCOPY);
}

HICON ConvertBitmapToIcon(HBITMAP bitmap, COLORREF maskColor)
{
    SIZE size = BitmapDimensions(bitmap);
    HIMAGELIST list = ImageList_Create(size.cx, size.cy, ILC_COLOR8 | ILC_MASK, 1, 0);
    if (!list) {
        ShowErrorMessage(nullptr, "ConvertBitmapToIcon failed", ProgramTitle);
        return nullptr;
    }
    HICON icon = nullptr;
    if (ImageList_AddMasked(list, bitmap, maskColor) == -1)
        ShowErrorMessage(nullptr, "ImageList_AddMasked chat button failed", ProgramTitle);
    else if (!(icon = ImageList_GetIcon(list, 0, ILD_NORMAL)))
        ShowErrorMessage(nullptr, "ConvertBitmapToIcon failed", ProgramTitle);
    ImageList_Destroy(list);
    return icon;
}

HBITMAP PlayMetafilePicture(HWND window, const METAFILEPICT& picture)
{
    CClientDC windowDC(window);
    int width = picture.xExt;
    int height = picture.yExt;
    if (picture.mm == MM_ANISOTROPIC) {
        width = HimetricToPixels(picture.xExt, GetDeviceCaps(windowDC.GetHandle(), LOGPIXELSX));
        height = HimetricToPixels(picture.yExt, GetDeviceCaps(windowDC.GetHandle(), LOGPIXELSY));
    }
    if (width <= 0 || height <= 0)
        return nullptr;
    CBitmapHolder bitmap(CreateCompatibleBitmap(windowDC.GetHandle(), width, height));
    if (!bitmap.Get())
        return nullptr;
    CCompatibleDC memory(windowDC.GetHandle());
    CBitmapConnector selected(memory.GetHandle(), bitmap.Get());
    SetMapMode(memory.GetHandle(), picture.mm);
    SetViewportExtEx(memory.GetHandle(), width, height, nullptr);
    PlayMetaFile(memory.GetHandle(), picture.hMF);
    selected.Restore();
    return bitmap.Detach();
}

bool ConvertClipboardMetafile(HWND window)
{
    if (!IsClipboardFormatAvailable(CF_METAFILEPICT) || !OpenClipboard(window))
        return false;
    bool added = false;
    HANDLE data = GetClipboardData(CF_METAFILEPICT);
    const METAFILEPICT* picture = data ? static_cast<const METAFILEPICT*>(GlobalLock(data)) : nullptr;
    if (picture) {
        HBITMAP bitmap = nullptr;
        try {
            bitmap = PlayMetafilePicture(window, *picture);
        } catch (...) {
            GlobalUnlock(data);
            CloseClipboard();
            throw;
        }
        GlobalUnlock(data);
        // From here on the clipboard owns the bitmap.
        added = bitmap && SetClipboardData(CF_BITMAP, bitmap);
        if (bitmap && !added)
            DeleteObject(bitmap);
    }
    CloseClipboard();
    return added;
}
