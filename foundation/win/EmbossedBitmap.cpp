#include "foundation/win/EmbossedBitmap.h"

#include "foundation/win/BitmapHelpers.h"

namespace {
// Paints the brush where the source is black and keeps the destination where
// it is white.
const DWORD kBrushWhereBlack = 0xB8074A;

struct MonochromeInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
};
}

void DrawEmbossedBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, int sourceX, int sourceY)
{
    if (width <= 0 || height <= 0)
        return;
    MonochromeInfo info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.colors[1] = RGBQUAD{255, 255, 255, 0};
    void* bits = nullptr;
    CBitmapHolder mask(CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!mask.Get())
        return;
    CCompatibleDC maskDC(dc);
    CCompatibleDC sourceDC(dc);
    CObjectSelector maskSelected(maskDC.GetHandle(), mask.Get());
    CObjectSelector sourceSelected(sourceDC.GetHandle(), bitmap);
    // Light pixels become white, dark ones black.
    BitBlt(maskDC.GetHandle(), 0, 0, width, height, sourceDC.GetHandle(), sourceX, sourceY, SRCCOPY);

    RECT rect = {x, y, x + width, y + height};
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    BitBlt(dc, x + 1, y + 1, width, height, maskDC.GetHandle(), 0, 0, kBrushWhereBlack);
    SelectObject(dc, GetSysColorBrush(COLOR_BTNSHADOW));
    BitBlt(dc, x, y, width, height, maskDC.GetHandle(), 0, 0, kBrushWhereBlack);
    SelectObject(dc, oldBrush);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}
