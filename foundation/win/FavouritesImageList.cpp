#include "foundation/win/FavouritesImageList.h"

#include <cstdio>

#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"

void CFavouritesImageList::Create(int width, int height, UINT flags, int initialCount, int growth)
{
    Destroy();
    m_list = ImageList_Create(width, height, flags, initialCount, growth);
    if (!m_list)
        throw CGenericException("The imagelist could not be created");
}

int CFavouritesImageList::AddIcon(HICON icon)
{
    int index = m_list ? ImageList_ReplaceIcon(m_list, -1, icon) : -1;
    if (index == -1)
        throw CGenericException("CFavouritesImageList AddIcon failed");
    return index;
}

void CFavouritesImageList::AddBitmapStrip(HINSTANCE module, UINT bitmapId, COLORREF maskColor)
{
    HBITMAP strip = LoadBitmapA(module, MAKEINTRESOURCEA(bitmapId));
    if (!strip)
        throw CGenericException("The imagelist bitmap could not be loaded");
    ImageList_AddMasked(m_list, strip, maskColor);
    if (m_strip && m_strip != strip)
        DeleteObject(m_strip);
    m_strip = strip;
}

HICON CFavouritesImageList::GetIcon(int index, UINT flags) const
{
    return ImageList_GetIcon(m_list, index, flags);
}

int CFavouritesImageList::Draw(HDC dc, int index, int x, int y) const
{
    if (ImageList_Draw(m_list, index, dc, x, y, ILD_TRANSPARENT))
        return 1;
    char caption[16];
    std::snprintf(caption, sizeof caption, "%d", index);
    ShowMessageBox(nullptr, "ImageList_Draw failed", caption, kMbOk);
    return 0;
}

void CFavouritesImageList::Destroy()
{
    if (m_strip)
        DeleteObject(m_strip);
    if (m_list)
        ImageList_Destroy(m_list);
    m_strip = nullptr;
    m_list = nullptr;
}
