#include "foundation/ProgramPaths.h"

#include <cstring>

namespace {
const size_t kPathSize = 260;
char g_programFolder[kPathSize] = "";
char g_backupFolder[kPathSize] = "";

bool Store(char* target, const char* folder)
{
    if (!folder || std::strlen(folder) >= kPathSize)
        return false;
    std::memcpy(target, folder, std::strlen(folder) + 1);
    return true;
}
}

bool SetProgramFolder(const char* folder)
{
    return Store(g_programFolder, folder);
}

const char* GetProgramFolder()
{
    return g_programFolder;
}

bool IsProgramFolderKnown()
{
    return g_programFolder[0] != 0;
}

bool SetBackupFolder(const char* folder)
{
    return Store(g_backupFolder, folder);
}

const char* GetBackupFolder()
{
    return g_backupFolder;
}
