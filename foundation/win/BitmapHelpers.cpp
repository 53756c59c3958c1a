#include "foundation/win/BitmapHelpers.h"

#include <commctrl.h>

#include <vector>

#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/LoadedBitmap.h"

CBitmapConnector::CBitmapConnector(HDC dc, HBITMAP bitmap) : m_dc(dc)
{
    m_previous = SelectObject(dc, bitmap);
    if (!m_previous || m_previous == HGDI_ERROR)
        throw CGenericException(
            "CBitmapConnector constructor failed. The bitmap is already selected in another device context. ");
    m_selected = true;
}

void CBitmapConnector::Restore()
{
    if (!m_selected)
        return;
    SelectObject(m_dc, m_previous);
    m_selected = false;
}

namespace {
// A window's device context, released however the scope is left.
class WindowDC {
public:
    explicit WindowDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDC() { ReleaseDC(m_window, m_dc); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP header;
    if (!bitmap || !GetObjectA(bitmap, sizeof header, &header))
        return SIZE{0, 0};
    return SIZE{header.bmWidth, header.bmHeight};
}
}

HBITMAP CopyBitmap(HBITMAP bitmap)
{
    SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return nullptr;
    WindowDC screen(nullptr);
    CBitmapHolder copy(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    if (!copy.Get())
        return nullptr;
    CCompatibleDC from(screen.Get());
    CCompatibleDC to(screen.Get());
    CBitmapConnector source(from.GetHandle(), bitmap);
    CBitmapConnector target(to.GetHandle(), copy.Get());
    BitBlt(to.GetHandle(), 0, 0, size.cx, size.cy, from.GetHandle(), 0, 0, SRCCOPY);
    target.Restore();
    return copy.Detach();
}

void ReplaceBitmapColor(HBITMAP bitmap, COLORREF oldColor, COLORREF newColor)
{
    SIZE size = BitmapSize(bitmap);
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
    WindowDC screen(nullptr);
    if (GetDIBits(screen.Get(), bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS) != size.cy)
        return;
    for (DWORD& pixel : pixels)
        if ((pixel & 0xFFFFFF) == from)
            pixel = to;
    SetDIBits(screen.Get(), bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS);
}

void DrawBitmapAt(HDC dc, HBITMAP bitmap, int x, int y)
{
    SIZE size = BitmapSize(bitmap);
    CCompatibleDC memory(dc);
    CBitmapConnector selected(memory.GetHandle(), bitmap);
    BitBlt(dc, x, y, size.cx, size.cy, memory.GetHandle(), 0, 0, SRCCOPY);
}

HICON ConvertBitmapToIcon(HBITMAP bitmap, COLORREF maskColor)
{
    SIZE size = BitmapSize(bitmap);
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
    WindowDC windowDC(window);
    int width = picture.xExt;
    int height = picture.yExt;
    if (picture.mm == MM_ANISOTROPIC) {
        width = HimetricToPixels(picture.xExt, GetDeviceCaps(windowDC.Get(), LOGPIXELSX));
        height = HimetricToPixels(picture.yExt, GetDeviceCaps(windowDC.Get(), LOGPIXELSY));
    }
    if (width <= 0 || height <= 0)
        return nullptr;
    CBitmapHolder bitmap(CreateCompatibleBitmap(windowDC.Get(), width, height));
    if (!bitmap.Get())
        return nullptr;
    CCompatibleDC memory(windowDC.Get());
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
