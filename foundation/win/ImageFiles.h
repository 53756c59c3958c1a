#pragma once

#include <windows.h>
#include <objidl.h>

// Pictures saved as files: a note's picture as a 24-bit BMP, and icons.

// Plays the metafile picture into a bitmap of its size (extents in 0.01 mm for
// MM_ANISOTROPIC, else in pixels) and writes it as a 24-bit BMP whose header
// states the real file size. False, and no file left behind, when the picture is
// empty or the file cannot be written.
bool SaveBitmapAsBmpFile(HWND window, const METAFILEPICT& picture, const char* path);

// Saves the metafile picture of the data object as a BMP when the path is shorter
// than the limit; a path of limit characters or more is refused with a box.
bool SavePictureObjectAsBmp(HWND window, IDataObject* picture, const char* path, int limit);

// The Save As dialog for a BMP file, then SavePictureObjectAsBmp. Cancelling does nothing.
void SaveImageAsDialog(HWND window, IDataObject* picture, const char* initialName, int limit);

// Writes the icon as an icon file of one image, its colours at 32 bits per pixel
// with the flag, else 24. Returns true when all was written; on a failure no
// partial file is left (an existing file is kept when the icon cannot be read).
bool SaveIconToFile(HICON icon, const char* path, bool thirtyTwoBits);
