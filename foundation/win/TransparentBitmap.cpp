#include "foundation/win/TransparentBitmap.h"

namespace {
// A memory DC with one bitmap selected, both freed together.
class ScratchDC {
public:
    ScratchDC(HDC reference, HBITMAP bitmap, bool ownsBitmap)
        : m_dc(CreateCompatibleDC(reference)), m_bitmap(bitmap), m_ownsBitmap(ownsBitmap)
    {
        m_previous = m_dc && bitmap ? SelectObject(m_dc, bitmap) : nullptr;
    }
    ~ScratchDC()
    {
        if (m_previous)
            SelectObject(m_dc, m_previous);
        if (m_dc)
            DeleteDC(m_dc);
        if (m_ownsBitmap && m_bitmap)
            DeleteObject(m_bitmap);
    }
    ScratchDC(const ScratchDC&) = delete;
    ScratchDC& operator=(const ScratchDC&) = delete;

    HDC Get() const { return m_dc; }
    bool IsReady() const { return m_previous != nullptr; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    bool m_ownsBitmap;
    HGDIOBJ m_previous;
};
}

void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent)
{
    BITMAP header;
    if (!dc || !bitmap || !GetObjectA(bitmap, sizeof header, &header))
        return;
    ScratchDC source(dc, bitmap, false);
    if (!source.IsReady())
        return;
    SetMapMode(source.Get(), GetMapMode(dc));
    POINT size = {header.bmWidth, header.bmHeight};
    DPtoLP(source.Get(), &size, 1);
    int w = size.x;
    int h = size.y;

    ScratchDC mask(dc, CreateBitmap(w, h, 1, 1, nullptr), true);
    ScratchDC inverseMask(dc, CreateBitmap(w, h, 1, 1, nullptr), true);
    ScratchDC result(dc, CreateCompatibleBitmap(dc, w, h), true);
    ScratchDC saved(dc, CreateCompatibleBitmap(dc, w, h), true);
    if (!mask.IsReady() || !inverseMask.IsReady() || !result.IsReady() || !saved.IsReady())
        return;
    SetMapMode(result.Get(), GetMapMode(dc));

    // The source bitmap is masked in place below; keep it to put it back.
    BitBlt(saved.Get(), 0, 0, w, h, source.Get(), 0, 0, SRCCOPY);
    // Mask: transparent pixels white, all others black.
    COLORREF previousBack = SetBkColor(source.Get(), transparent);
    BitBlt(mask.Get(), 0, 0, w, h, source.Get(), 0, 0, SRCCOPY);
    SetBkColor(source.Get(), previousBack);
    BitBlt(inverseMask.Get(), 0, 0, w, h, mask.Get(), 0, 0, NOTSRCCOPY);
    // Destination with holes where the picture goes, picture with holes where
    // the destination shows, then both together.
    BitBlt(result.Get(), 0, 0, w, h, dc, x, y, SRCCOPY);
    BitBlt(result.Get(), 0, 0, w, h, mask.Get(), 0, 0, SRCAND);
    BitBlt(source.Get(), 0, 0, w, h, inverseMask.Get(), 0, 0, SRCAND);
    BitBlt(result.Get(), 0, 0, w, h, source.Get(), 0, 0, SRCPAINT);
    BitBlt(dc, x, y, w, h, result.Get(), 0, 0, SRCCOPY);
    BitBlt(source.Get(), 0, 0, w, h, saved.Get(), 0, 0, SRCCOPY);
}
