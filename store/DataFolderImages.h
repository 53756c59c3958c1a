#pragma once

// Avatar and texture pictures in the folders of the data folder.

// The name that stands for "no picture".
extern const char kNoImageName[];

// 1 for the no-picture name (any case) or when "CHAT\<name>" exists in the
// data folder; 0 otherwise.
int AvatarFileExists(const char* pictureName);

// Copies the .BMP, then .JPG, then .GIF files of the source folder into the
// destination folder under the same names; existing files are kept.
void CopyImageFiles(const char* destinationFolder, const char* sourceFolder);
