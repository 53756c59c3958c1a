#include "store/UpgradeFileSteps.h"

#include <windows.h>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/GenericException.h"
#include "store/DbfFile.h"
#include "store/FileStepRetries.h"

namespace {
const char kUpgradePrefix[] = "InstallDataFiles(): ";
}

void CopyWhole(const std::string& from, const std::string& to, const std::string& fromName, const std::string& toName)
{
    std::string working = to + ".new";
    std::string copyFailure = "\r\nError copying file \"" + fromName + "\" Iteration ";
    std::string renameFailure = "\r\nError renaming file \"" + toName + ".new\" Iteration ";
    if (RetryFileStep({FileStepKind::kCopy, from},
                      [&] { return CopyFileA(from.c_str(), working.c_str(), FALSE) != 0; }, kUpgradePrefix,
                      copyFailure.c_str()) &&
        RetryFileStep({FileStepKind::kRename, to},
                      [&] { return ReplaceWithWorkingCopy(working.c_str(), to.c_str()); }, kUpgradePrefix,
                      renameFailure.c_str()))
        return;
    DeleteFileA(working.c_str());
    throw CGenericException(("'" + fromName + "' could not be copied to '" + toName + "'").c_str());
}

namespace {
void PutBack(const char* name, const char* oldName)
{
    CopyWhole(DataFilePath(oldName), DataFilePath(name), oldName, name);
}
}

void CopyFromUpgrade(const char* name)
{
    CopyWhole(UpgradeFilePath(name), DataFilePath(name), std::string(DataName::kUpgradeFolder) + "\\" + name, name);
}

void KeepOldCopy(const char* name, const char* oldName)
{
    CopyWhole(DataFilePath(name), DataFilePath(oldName), name, oldName);
}

void KeepOrPutBack(const char* name, const char* oldName, bool replacedBefore)
{
    if (replacedBefore && FileExists(DataFilePath(oldName).c_str()))
        PutBack(name, oldName);
    else
        KeepOldCopy(name, oldName);
}

void KeepOrPutBack(const char* name, const char* oldName, const char* memo, const char* oldMemo, bool replacedBefore)
{
    if (replacedBefore && FileExists(DataFilePath(oldName).c_str()) && FileExists(DataFilePath(oldMemo).c_str())) {
        PutBack(memo, oldMemo);
        PutBack(name, oldName);
        return;
    }
    KeepOldCopy(name, oldName);
    KeepOldCopy(memo, oldMemo);
}

bool TableHasField(const std::string& path, const char* field)
{
    CDbfFile table;
    table.SetTable(path.c_str(), true);
    table.Open("READ");
    bool found = table.FieldExists(field);
    table.Close();
    return found;
}
