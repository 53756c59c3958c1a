#pragma once

#include <windows.h>

// The 32-bit sum of the file's bytes and its size; an empty file gives 0 and 0
// with true, a file that cannot be mapped 0 and 0 with false.
bool GetFileChecksum(const char* path, DWORD* sum, DWORD* size);

// Copies every match of source\pattern into the target, folders recursively;
// existing target files are replaced even when read-only or hidden. Junctions
// and symbolic links, in the source or in the target, are left alone: the copy
// never goes through them.
void CopyDirectoryTree(const char* targetFolder, const char* sourceFolder, const char* pattern);

// Deletes the folder with everything below it; the result is that of removing
// the folder itself. A junction or a symbolic link, at the top or anywhere
// below, is removed itself: nothing is deleted through it.
bool DeleteDirectoryTree(const char* folder);
