// Painting a line of the picture list: its thumbnail in the cell and the frame
// that marks the selected line.
#include <cstring>

#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/TransparentBitmap.h"
#include "noteprops/PictureList.h"
#include "store/DataFolderImages.h"

namespace {
// A background picture as it will cover a note: stretched over the space, or
// tiled from its corner.
void FillCell(HDC dc, const CLoadedBitmap& picture, const RECT& space, bool stretch)
{
    if (!picture.GetBitmap())
        return;
    CCompatibleDC source(dc);
    if (!source.GetHandle())
        return;
    CObjectSelector selected(source.GetHandle(), picture.GetBitmap());
    DrawPictureOver(dc, source.GetHandle(), picture.GetWidth(), picture.GetHeight(), space, stretch);
}

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
    FillCell(dc, picture, space, true);
}
}

void CPictureList::SetStretch(bool stretch)
{
    m_stretch = stretch;
    InvalidateRect(m_list, nullptr, TRUE);
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
        if (noImage || !m_kind.fillsCell)
            DrawThumbnail(item.hDC, noImage ? m_noImage : entry->picture, space, m_kind.transparent);
        else
            FillCell(item.hDC, entry->picture, space, m_stretch);
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FrameRect(item.hDC, &cell, static_cast<HBRUSH>(GetStockObject(selected ? BLACK_BRUSH : WHITE_BRUSH)));
}
