#pragma once

#include "resources/ids/PictureListIds.h"

// The "Select an image for the note background" dialog, its "no image"
// picture, its help topic and its choice of tiled or stretched pictures.
#define IDD_TEXTURE_PICKER 676
#define IDB_TEXTURE_NO_IMAGE 679
#define IDH_TEXTURE_PICKER 824
#define IDC_TEXTURE_TILE 1255
#define IDC_TEXTURE_STRETCH 1256
