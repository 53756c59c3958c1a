#include "foundation/win/TransparentBitmap.h"

#include "foundation/bytes/GenericException.h"
#include "foundation/win/BitmapHelpers.h"

namespace {
// A memory DC with one bitmap selected in it; an owned bitmap goes with it.
struct ScratchDC {
    ScratchDC(HDC reference, HBITMAP bitmap, bool ownsBitmap)
        : owned(ownsBitmap ? bitmap : nullptr), dc(reference), selected(dc.GetHandle(), bitmap)
    {
    }
    HDC Get() const { return dc.GetHandle(); }

    CBitmapHolder owned;
    CCompatibleDC dc;
    CBitmapConnector selected;
};

void DrawThroughMasks(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent)
{
    BITMAP header;
    if (!GetObjectA(bitmap, sizeof header, &header))
        return;
    ScratchDC source(dc, bitmap, false);
    SetMapMode(source.Get(), GetMapMode(dc));
    POINT size = {header.bmWidth, header.bmHeight};
    DPtoLP(source.Get(), &size, 1);
    int w = size.x;
    int h = size.y;

    ScratchDC mask(dc, CreateBitmap(w, h, 1, 1, nullptr), true);
    ScratchDC inverseMask(dc, CreateBitmap(w, h, 1, 1, nullptr), true);
    ScratchDC result(dc, CreateCompatibleBitmap(dc, w, h), true);
    ScratchDC saved(dc, CreateCompatibleBitmap(dc, w, h), true);
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
}

void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent)
{
    if (!dc || !bitmap)
        return;
    // A bitmap or DC that cannot be had leaves the destination as it was.
    try {
        DrawThroughMasks(dc, bitmap, x, y, transparent);
    } catch (const CGenericException&) {
    }
}
