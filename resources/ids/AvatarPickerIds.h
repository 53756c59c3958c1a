#pragma once

#include "resources/ids/PictureListIds.h"

// The "Select chat icon" dialog, its "no image" picture and its help topic.
#define IDD_AVATAR_PICKER 791
#define IDB_AVATAR_NO_IMAGE 792
#define IDH_AVATAR_PICKER 842
