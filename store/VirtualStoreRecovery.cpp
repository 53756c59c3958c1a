#include "store/VirtualStoreRecovery.h"

#include <windows.h>

#include <cstring>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/FolderTree.h"
#include "foundation/StartupValues.h"

namespace {
bool VirtualStoreIsFolder(const std::string& path)
{
    int isFolder = 0;
    return FileExists(path.c_str(), &isFolder) && isFolder;
}
}

std::string VirtualStoreFolder()
{
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string drive = windows;
    size_t backslash = drive.find('\\');
    drive = backslash == std::string::npos ? drive + "\\" : drive.substr(0, backslash + 1);
    return drive + "Users\\" + GetStartupValues().userName + "\\AppData\\Local\\VirtualStore\\Program Files\\Quillnet";
}

void RecoverVirtualStoreData(bool discard)
{
    std::string store = VirtualStoreFolder();
    if (!VirtualStoreIsFolder(store))
        return;
    const char* programFolder = GetStartupValues().programFolder;
    if (!discard && programFolder[0] && std::strstr(programFolder, "Program Files")) {
        std::string backup = ProgramFilePath(DataName::kBackupFolder);
        if (!VirtualStoreIsFolder(backup))
            CreateDirectoryA(backup.c_str(), nullptr);
        for (const char* pattern : {"*.qps", "*.qpd", "*.ql"})
            CopyDirectoryTree(programFolder, store.c_str(), pattern);
        CopyDirectoryTree(backup.c_str(), (store + "\\" + DataName::kBackupFolder).c_str(), "*.qpk");
    }
    DeleteDirectoryTree(store.c_str());
}
