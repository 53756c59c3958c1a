// Painting a line of the picture list: its thumbnail in the cell and the frame
// that marks the selected line.
#include <cstring>

#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/TransparentBitmap.h"
#include "noteprops/PictureList.h"
#include "store/DataFolderImages.h"

namespace {
// A picture larger than the space is shrunk into it; a smaller one is drawn
// at its size in the middle, its transparent colour showing the cell.
void DrawThumbnail(HDC dc, const CLoadedBitmap& picture, const RECT& space, COLORREF transparent)
{
    const int width = picture.GetWidth();
    const int height = picture.GetHeight();
    if (!picture.GetBitmap() || width <= 0 || height <= 0)
        return;
    const int spaceWidth = space.right - space.left;
    const int spaceHeight = space.bottom - space.top;
    if (width <= spaceWidth && height <= spaceHeight) {
        DrawTransparentBitmap(dc, picture.GetBitmap(), space.left + (spaceWidth - width) / 2,
                              space.top + (spaceHeight - height) / 2, transparent);
        return;
    }
    CCompatibleDC source(dc);
    if (!source.GetHandle())
        return;
    CObjectSelector selected(source.GetHandle(), picture.GetBitmap());
    const int previousMode = SetStretchBltMode(dc, HALFTONE);
    POINT previousOrigin;
    SetBrushOrgEx(dc, 0, 0, &previousOrigin);
    StretchBlt(dc, space.left, space.top, spaceWidth, spaceHeight, source.GetHandle(), 0, 0, width, height, SRCCOPY);
    SetStretchBltMode(dc, previousMode);
    SetBrushOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
}
}

void CPictureList::DrawLine(const DRAWITEMSTRUCT& item) const
{
    if (item.itemID == static_cast<UINT>(-1) || !(item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)))
        return;
    const RECT cell = item.rcItem;
    FillRect(item.hDC, &cell, GetSysColorBrush(COLOR_WINDOW));
    RECT space = cell;
    InflateRect(&space, -m_kind.cellMargin, -m_kind.cellMargin);
    const auto* entry = reinterpret_cast<const CPictureEntry*>(item.itemData);
    if (entry && entry != reinterpret_cast<const CPictureEntry*>(LB_ERR)) {
        const bool noImage = std::strcmp(entry->fileName, kNoImageName) == 0;
        DrawThumbnail(item.hDC, noImage ? m_noImage : entry->picture, space, m_kind.transparent);
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FrameRect(item.hDC, &cell, static_cast<HBRUSH>(GetStockObject(selected ? BLACK_BRUSH : WHITE_BRUSH)));
}
