#include "foundation/FolderIdentity.h"

#include <windows.h>

namespace {
// The folder's place on its volume; false when it cannot be opened.
bool IdentityOf(const std::string& folder, BY_HANDLE_FILE_INFORMATION& identity)
{
    HANDLE handle = CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool known = GetFileInformationByHandle(handle, &identity) != 0;
    CloseHandle(handle);
    return known && (identity.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The full path with backslashes only and none at the end (but that of a
// drive's root); the path as given when the system cannot make it full.
std::string FullPathOf(const std::string& folder)
{
    char full[MAX_PATH * 2] = "";
    const DWORD length = GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
    std::string path = length > 0 && length < sizeof full ? std::string(full, length) : folder;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}
}

bool IsSameFolder(const std::string& first, const std::string& second)
{
    if (first.empty() || second.empty())
        return first.empty() && second.empty();
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    if (IdentityOf(first, a) && IdentityOf(second, b))
        return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
               a.nFileIndexLow == b.nFileIndexLow;
    return lstrcmpiA(FullPathOf(first).c_str(), FullPathOf(second).c_str()) == 0;
}
