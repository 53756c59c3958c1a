#include "foundation/DataFolder.h"

#include <windows.h>

#include <atomic>

#include "foundation/DiagnosticLog.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/GenericException.h"

namespace {

std::string& DataFolder()
{
    static std::string folder;
    return folder;
}

std::atomic<bool> g_sealed{false};

// The error a sealed refusal carries: the data folder is as good as write-protected.
const DWORD kSealedRefusalCode = ERROR_WRITE_PROTECT;

std::string DataFolderPath(const std::string& folder, const char* name)
{
    if (folder.empty())
        return name;
    return folder + "\\" + name;
}

}  // namespace

void SetDataFolder(const char* folder)
{
    std::string& kept = DataFolder();
    kept = folder ? folder : "";
    while (!kept.empty() && (kept.back() == '\\' || kept.back() == '/'))
        kept.pop_back();
}

const std::string& GetDataFolder()
{
    return DataFolder();
}

std::string DataFilePath(const char* name)
{
    return DataFolderPath(DataFolder(), name);
}

std::string ProgramFilePath(const char* name)
{
    return DataFolderPath(GetStartupValues().programFolder, name);
}

std::string UpgradeFilePath(const std::string& name)
{
    return ProgramFilePath((std::string(DataName::kUpgradeFolder) + "\\" + name).c_str());
}

void SealDataFiles()
{
    g_sealed = true;
}

bool AreDataFilesSealed()
{
    return g_sealed;
}

void RefuseWritingWhenSealed(const char* path)
{
    if (!g_sealed || !path || !IsInDataFolder(path))
        return;
    const std::string text = std::string("Quillnet+ writes no data file until it starts again: ") + path;
    WriteErrorLog("Not written: ", text.c_str());
    SetLastError(kSealedRefusalCode);
    throw CGenericException(text.c_str());
}

bool IsSealedRefusal(const CGenericException& failure)
{
    return g_sealed && failure.GetErrorCode() == kSealedRefusalCode;
}

bool IsInDataFolder(const std::string& path)
{
    const std::string& folder = DataFolder();
    if (folder.empty() || path.size() <= folder.size() + 1 || path[folder.size()] != '\\')
        return false;
    return lstrcmpiA(path.substr(0, folder.size()).c_str(), folder.c_str()) == 0;
}
