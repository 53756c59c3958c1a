#include "foundation/win/BackupFileType.h"

#include <windows.h>

#include <string>

#include "foundation/RegistryKey.h"

namespace {
const char kExtension[] = ".QPK";
const char kFileType[] = "QPK_auto_file";

bool KeyExists(const char* path)
{
    CRegistryKey key(HKEY_CLASSES_ROOT, path);
    return key.Open(KEY_READ);
}

bool CreateWithDefault(const char* path, const char* value)
{
    CRegistryKey key(HKEY_CLASSES_ROOT, path);
    return key.Create(path) && key.SetStringValue(nullptr, value);
}
}

bool RegisterBackupFileType()
{
    bool extensionKnown = KeyExists(kExtension) || CreateWithDefault(kExtension, kFileType);
    if (KeyExists(kFileType))
        return extensionKnown;
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string openCommand = std::string(windows) + "\\notepad.exe \"%1\"";
    CRegistryKey command(HKEY_CLASSES_ROOT, "");
    bool typeWritten = CreateWithDefault(kFileType, "QPK File") &&
                       command.CreateNested("QPK_auto_file\\shell\\Open With Notepad", "command") &&
                       command.SetStringValue(nullptr, openCommand.c_str());
    return extensionKnown && typeWritten;
}
