#pragma once

#include <windows.h>

// Makes the program's shared image lists before the main window exists: the
// menus' pictures (ImageList(kMenuImageList)), the small program icons and
// the favourites' list, which the favourites fill again each time they read
// their folder. A failure throws CGenericException.
void CreateImageLists(HINSTANCE instance);
