#pragma once

#include "foundation/win/OnDiskBitmap.h"

// Loads the picture of the code ("LG", "NG", "I1"...) into the bitmap from the
// settings table ("config.QPD" in the data folder), where it is kept enciphered
// in the memo of the row whose CONFIG is the code. Failures are shown in boxes;
// the bitmap then holds no picture.
bool ReadConfigFile(COnDiskBitmap& bitmap, const char* imageCode);
