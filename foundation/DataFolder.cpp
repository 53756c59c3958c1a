#include "foundation/DataFolder.h"

#include "foundation/StartupValues.h"

namespace {

std::string& DataFolder()
{
    static std::string folder;
    return folder;
}

std::string JoinPath(const std::string& folder, const char* name)
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
    return JoinPath(DataFolder(), name);
}

std::string ProgramFilePath(const char* name)
{
    return JoinPath(GetStartupValues().programFolder, name);
}

std::string UpgradeFilePath(const std::string& name)
{
    return ProgramFilePath((std::string(DataName::kUpgradeFolder) + "\\" + name).c_str());
}
