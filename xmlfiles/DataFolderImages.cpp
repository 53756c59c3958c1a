#include "xmlfiles/DataFolderImages.h"

#include <windows.h>

#include <cstdio>
#include <initializer_list>

const char kNoImageName[] = "  NoImage";

namespace {
// Joins a folder and a name; false when the path would not fit.
bool JoinPath(char (&path)[MAX_PATH], const char* folder, const char* name)
{
    int length = std::snprintf(path, sizeof path, "%s\\%s", folder ? folder : "", name ? name : "");
    return length > 0 && length < static_cast<int>(sizeof path);
}

bool PathMatches(const char* path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}
}

int AvatarFileExists(const char* pictureName)
{
    if (!pictureName)
        return 0;
    if (lstrcmpiA(pictureName, kNoImageName) == 0)
        return 1;
    char path[MAX_PATH];
    return JoinPath(path, "CHAT", pictureName) && PathMatches(path) ? 1 : 0;
}

void CopyImageFiles(const char* destinationFolder, const char* sourceFolder)
{
    for (const char* pattern : {"*.BMP", "*.JPG", "*.GIF"}) {
        char search[MAX_PATH];
        if (!JoinPath(search, sourceFolder, pattern))
            continue;
        WIN32_FIND_DATAA found;
        HANDLE finder = FindFirstFileA(search, &found);
        if (finder == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            char source[MAX_PATH];
            char target[MAX_PATH];
            if (JoinPath(source, sourceFolder, found.cFileName) && JoinPath(target, destinationFolder, found.cFileName))
                CopyFileA(source, target, TRUE);
        } while (FindNextFileA(finder, &found));
        FindClose(finder);
    }
}
