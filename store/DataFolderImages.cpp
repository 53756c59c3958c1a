#include "store/DataFolderImages.h"

#include <windows.h>

#include <cstdio>
#include <initializer_list>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/FileSearch.h"

const char kNoImageName[] = "  NoImage";

namespace {
// Joins a folder and a name; false when the path would not fit.
bool JoinImagePath(char (&path)[MAX_PATH], const char* folder, const char* name)
{
    int length = std::snprintf(path, sizeof path, "%s\\%s", folder ? folder : "", name ? name : "");
    return length > 0 && length < static_cast<int>(sizeof path);
}
}

int AvatarFileExists(const char* pictureName)
{
    if (!pictureName)
        return 0;
    if (lstrcmpiA(pictureName, kNoImageName) == 0)
        return 1;
    char path[MAX_PATH];
    return JoinImagePath(path, DataFilePath(DataName::kChatFolder).c_str(), pictureName) && FileExists(path) ? 1 : 0;
}

void CopyImageFiles(const char* destinationFolder, const char* sourceFolder)
{
    for (const char* pattern : {"*.BMP", "*.JPG", "*.GIF"}) {
        char search[MAX_PATH];
        if (!JoinImagePath(search, sourceFolder, pattern))
            continue;
        ForEachFileMatch(search, [&](const WIN32_FIND_DATAA& found) {
            char source[MAX_PATH];
            char target[MAX_PATH];
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                JoinImagePath(source, sourceFolder, found.cFileName) &&
                JoinImagePath(target, destinationFolder, found.cFileName))
                CopyFileA(source, target, TRUE);
            return true;
        });
    }
}
