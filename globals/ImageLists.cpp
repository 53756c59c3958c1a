#include "globals/ImageLists.h"

#include <commctrl.h>

#include "globals/ProgramGlobals.h"
#include "resources/ids/GlobalsIds.h"

namespace {
const COLORREF kStripMaskColour = RGB(192, 192, 192);
const COLORREF kWhite = RGB(255, 255, 255);
// The program's own small icons; a build without one of them leaves it out.
const UINT kSmallIconIds[] = {602, 603, 718, 719};

void AddSmallIcons(HINSTANCE instance, CFavouritesImageList& list)
{
    const int width = GetSystemMetrics(SM_CXSMICON);
    const int height = GetSystemMetrics(SM_CYSMICON);
    for (UINT id : kSmallIconIds) {
        HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, 0));
        if (!icon)
            continue;
        list.AddIcon(icon);
        DestroyIcon(icon);
    }
}
}

void CreateImageLists(HINSTANCE instance)
{
    CFavouritesImageList& menus = ImageList(kMenuImageList);
    menus.Create(16, 16, ILC_MASK | ILC_COLOR8, 104, 1);
    menus.AddBitmapStrip(instance, IDB_MENU_PICTURES, kStripMaskColour);

    CFavouritesImageList& icons = ImageList(kSmallIconImageList);
    icons.Create(16, 16, ILC_MASK | ILC_COLOR32, 10, 1);
    ImageList_SetBkColor(icons.GetHandle(), kWhite);
    AddSmallIcons(instance, icons);

    CFavouritesImageList& favourites = ImageList(kFavouritesImageList);
    favourites.Create(16, 16, ILC_MASK | ILC_COLOR32, 20, 1);
    ImageList_SetBkColor(favourites.GetHandle(), kWhite);
}
