#include "foundation/FolderTree.h"

#include <cstdio>
#include <string>

#include "foundation/FileHelpers.h"
#include "foundation/FileSearch.h"
#include "foundation/GenericFile.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
// "." and ".." (and any folder named like them) are not walked into; files are
// all taken, whatever their names.
bool IsDotFolder(const WIN32_FIND_DATAA& found)
{
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] == '.';
}

// A junction or a symbolic link stands for something elsewhere, perhaps a folder
// above it: a tree walk that went through it would copy or delete files outside
// the tree, or go round until the stack is gone.
bool IsLink(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Removes the link itself, its attributes untouched: changing them would change
// those of what it stands for.
bool RemoveLink(const std::string& path, DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return RemoveDirectoryA(path.c_str()) != 0;
    return DeleteFileA(path.c_str()) != 0;
}
}

bool GetFileChecksum(const char* path, DWORD* sum, DWORD* size)
{
    *sum = 0;
    *size = 0;
    try {
        CGenericFile file;
        file.OpenReadOnly(path);
        if (file.GetSize() == 0)
            return true;
        if (!file.CreateMappingReadOnly())
            return false;
        const BYTE* bytes = file.GetView();
        DWORD total = 0;
        for (DWORD i = 0; i < file.GetViewSize(); ++i)
            total += bytes[i];
        *sum = total;
        *size = file.GetViewSize();
        return true;
    } catch (const CGenericException& failure) {
        ShowWarningMessage(ForegroundOwner(), failure.GetErrorText(), ProgramTitle);
        *sum = 0;
        *size = 0;
        return false;
    }
}

void CopyDirectoryTree(const char* targetFolder, const char* sourceFolder, const char* pattern)
{
    std::string source = sourceFolder;
    std::string target = targetFolder;
    ForEachFileMatch(source + "\\" + pattern, [&](const WIN32_FIND_DATAA& found) {
        if (IsDotFolder(found) || IsLink(found.dwFileAttributes))
            return true;
        std::string from = source + "\\" + found.cFileName;
        std::string to = target + "\\" + found.cFileName;
        if (IsLink(GetFileAttributesA(to.c_str())))
            return true;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CreateDirectoryA(to.c_str(), nullptr);
            CopyDirectoryTree(to.c_str(), from.c_str(), pattern);
        } else {
            ClearReadOnlyAttribute(to.c_str());
            CopyFileA(from.c_str(), to.c_str(), FALSE);
        }
        return true;
    });
}

bool DeleteDirectoryTree(const char* folder)
{
    // A link is removed itself; what it stands for stays.
    DWORD attributes = GetFileAttributesA(folder);
    if (IsLink(attributes))
        return RemoveLink(folder, attributes);
    std::string root = folder;
    ForEachFileMatch(root + "\\*", [&](const WIN32_FIND_DATAA& found) {
        if (IsDotFolder(found))
            return true;
        std::string path = root + "\\" + found.cFileName;
        if (IsLink(found.dwFileAttributes)) {
            RemoveLink(path, found.dwFileAttributes);
        } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            DeleteDirectoryTree(path.c_str());
        } else {
            ClearReadOnlyAttribute(path.c_str());
            DeleteFileA(path.c_str());
        }
        return true;
    });
    return RemoveDirectoryA(folder) != 0;
}
