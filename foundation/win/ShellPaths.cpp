#include "foundation/win/ShellPaths.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "foundation/DiagnosticLog.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"

int GetLongDisplayPath(char* out, size_t size, const char* path)
{
    if (!out || size == 0 || !path || !std::strstr(path, ":\\"))
        return 0;
    char longPath[MAX_PATH + 1];
    DWORD length = GetLongPathNameA(path, longPath, sizeof longPath);
    const char* chosen = length > 0 && length < sizeof longPath ? longPath : path;
    if (std::strlen(chosen) >= size)
        return 0;
    std::snprintf(out, size, "%s", chosen);
    return 1;
}

bool ChangeWorkingDirectory(HMODULE module)
{
    StartupValues& values = GetStartupValues();
    char path[MAX_PATH + 1] = "";
    DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        ShowErrorMessage(nullptr, "ChangeWorkingDirectory, GetModuleFileName() failed ??", ProgramTitle);
        return false;
    }
    if (std::strchr(path, '~')) {
        char longPath[MAX_PATH];
        if (GetLongDisplayPath(longPath, sizeof longPath, path))
            std::snprintf(path, sizeof path, "%s", longPath);
    }
    if (char* lastSlash = std::strrchr(path, '\\'))
        *lastSlash = 0;
    std::snprintf(values.programFolder, sizeof values.programFolder, "%s", path);
    if (SetCurrentDirectoryA(path))
        return true;
    char description[400];
    FormatLastErrorText(GetLastError(), description, sizeof description);
    char text[MAX_PATH + 450];
    std::snprintf(text, sizeof text, "SetCurrentDirectory failed (%s)\r\n%s", path, description);
    ShowErrorMessage(nullptr, text, ProgramTitle);
    return false;
}

bool GetSpecialFolderPath(char* buffer, size_t size, int csidl)
{
    if (!buffer || size == 0)
        return false;
    buffer[0] = 0;
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items)
        return false;
    char path[MAX_PATH] = "";
    bool found = SHGetPathFromIDListA(items, path) && std::strlen(path) < size;
    CoTaskMemFree(items);
    if (found)
        std::snprintf(buffer, size, "%s", path);
    return found;
}

bool IsNetworkPath(const char* path)
{
    if (!path)
        return false;
    if (path[0] == '\\' && path[1] == '\\')
        return std::strchr(path + 2, '\\') != nullptr;
    bool isLetter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
    if (!isLetter || path[1] != ':' || path[2] != '\\')
        return false;
    char root[] = {path[0], ':', '\\', 0};
    return GetDriveTypeA(root) == DRIVE_REMOTE;
}
