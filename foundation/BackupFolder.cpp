#include "foundation/BackupFolder.h"

#include <cstring>

namespace {
char g_backupFolder[260] = "";
}

bool SetCurrentBackupFolder(const char* folder)
{
    if (!folder || std::strlen(folder) >= sizeof g_backupFolder)
        return false;
    std::memcpy(g_backupFolder, folder, std::strlen(folder) + 1);
    return true;
}

const char* GetCurrentBackupFolder()
{
    return g_backupFolder;
}
