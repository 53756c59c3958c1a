#include "store/DataFilesInstall.h"

#include <windows.h>

#include <cmath>
#include <string>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/FolderTree.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/DestinationListOps.h"
#include "store/DestinationLists.h"
#include "store/SentToTable.h"
#include "store/TransactTable.h"
#include "store/DataFileChecks.h"
#include "store/DbfFile.h"
#include "store/OldTablesImport.h"
#include "store/UpgradeFileSteps.h"

namespace {
// The tables in the order they are checked.
const char* const kTables[] = {DataName::kSettingsTable, DataName::kSettingsMemo,     DataName::kNotesTable,
                               DataName::kNotesMemo,     DataName::kUsersTable,       DataName::kSentToTable,
                               DataName::kWebSearchSites, DataName::kSoundsTable,     DataName::kTransactionsTable};

bool DataFileThere(const char* name)
{
    return FileExists(DataFilePath(name).c_str());
}

void InstallImageFolder(const char* folder)
{
    std::string target = DataFilePath(folder);
    int isFolder = 0;
    if (!FileExists(target.c_str(), &isFolder) || !isFolder)
        CreateDirectoryA(target.c_str(), nullptr);
    std::string source = UpgradeFilePath(folder);
    isFolder = 0;
    if (!FileExists(source.c_str(), &isFolder) || !isFolder)
        return;
    for (const char* pattern : {"*.BMP", "*.JPG", "*.GIF"})
        CopyDirectoryTree(target.c_str(), source.c_str(), pattern);
}

bool IsFirstInstallation()
{
    for (const char* name : kTables)
        if (DataFileThere(name))
            return false;
    return true;
}

// The settings table's data version times 100; -1 for tables older than the field.
long ReadDataVersion()
{
    CDbfFile config;
    config.SetTable(DataFilePath(DataName::kSettingsTable).c_str(), true);
    config.Open("READ");
    config.GoTop();
    if (!config.FieldExists("VERSION"))
        return -1;
    return std::lround(config.GetDoubleValue("VERSION") * 100);
}

// The tables of a folder without any: all of them from "UPGRADE".
void InstallFirstTime()
{
    for (const char* name : kTables)
        CopyFromUpgrade(name);
    InstallImageFolder(DataName::kTexturesFolder);
    InstallImageFolder(DataName::kChatFolder);
}

// 1 when the tables are present and current, 0 when one is missing (the user
// was told which).
int CheckAndUpgrade()
{
    if (!DataFileThere(DataName::kWebSearchSites))
        CopyFromUpgrade(DataName::kWebSearchSites);
    if (!DataFileThere(DataName::kSoundsTable))
        CopyFromUpgrade(DataName::kSoundsTable);
    InstallImageFolder(DataName::kTexturesFolder);
    InstallImageFolder(DataName::kChatFolder);

    for (const char* name : kTables)
        if (!RequireDataFile(DataFilePath(name).c_str(), kDataFileOfProgramFolder))
            return 0;

    long version = ReadDataVersion();
    if (version < 0 || version == kImportUnfinishedVersion)
        MigrateOldDataFiles();
    else if (version == 400)
        UpgradeSentToTransact();
    else if (version == 300 || version == 200)
        UpgradeConfig();
    else
        SetConfigVersion();
    return 1;
}

// An upgrade that fails keeps "UPGRADE", so that the next start runs it again.
void ReportFailedUpgrade(const char* reason)
{
    std::string text = std::string("The data files could not be installed or upgraded: ") + reason +
                       ".\r\n\r\nThe 'UPGRADE' folder is kept, and the upgrade is run again at the next start "
                       "(see error.txt).\r\n\r\n- Quillnet+ will now stop.";
    WriteErrorLog("InstallDataFiles(): ", text.c_str());
    ShowErrorMessage(nullptr, text.c_str(), ProgramTitle);
}

// The tables of versions 2 and 3 and of version 4 have their sent-to and
// transaction tables rebuilt in the present layout, which has PLXREST.
void RebuildSendTables()
{
    KeepOrPutBack(DataName::kTransactionsTable, "transactOld.QPD",
                  TableHasField(DataFilePath(DataName::kTransactionsTable), "PLXREST"));
    KeepOrPutBack(DataName::kSentToTable, "senttoOld.QPD",
                  TableHasField(DataFilePath(DataName::kSentToTable), "PLXREST"));

    // Every row of every user, in the old layout, into the two lists.
    RowOwnership everyone;
    everyone.seesEveryone = true;
    LoadSentToTable(everyone);
    LoadTransactTable(everyone);

    CopyFromUpgrade(DataName::kSentToTable);
    CopyFromUpgrade(DataName::kTransactionsTable);
    RebuildTransactFreeRecords();

    // Start-up runs alone: no other thread touches the lists yet.
    for (auto* node = SentToList().GetFirst(); node; node = node->next)
        AppendSentToRowOfOwner(node->record);
    for (auto* node = TransactList().GetFirst(); node; node = node->next)
        if (node->record.m_userId != 0)
            AppendTransactIfNot(node->record, node->record.m_userId, everyone);
    SentToList().RemoveAll();
    TransactList().RemoveAll();
}
}

int InstallDataFiles()
{
    std::string failure;
    int result = 0;
    try {
        if (IsFirstInstallation()) {
            InstallFirstTime();
            result = 1;
        } else {
            result = CheckAndUpgrade();
        }
    } catch (const CGenericException& e) {
        failure = e.GetErrorText();
    } catch (...) {
        failure = "Unknown exception";
    }
    if (!failure.empty()) {
        SentToList().RemoveAll();
        TransactList().RemoveAll();
        ReportFailedUpgrade(failure.c_str());
        return 0;
    }
    if (result)
        RemoveUpgradeFolder();
    return result;
}

void SetConfigVersion()
{
    CDbfFile config;
    config.SetTable(DataFilePath(DataName::kSettingsTable).c_str(), true);
    config.Open("MAPPINGALL");
    config.GoTo(1);
    if (std::lround(config.GetDoubleValue("VERSION") * 100) != kCurrentDataVersion)
        config.SetDoubleValue(1, "VERSION", kCurrentDataVersion / 100.0);
    config.Close();
}

void UpgradeSentToTransact()
{
    RebuildSendTables();
    SetConfigVersion();
}

void UpgradeConfig()
{
    KeepOldCopy(DataName::kSettingsTable, "configOld.QPD");
    KeepOldCopy(DataName::kSettingsMemo, "configOld.QPS");
    RebuildSendTables();
    CopyFromUpgrade(DataName::kSoundsTable);
    // The new settings table carries the current version, so it comes last:
    // until it is in place, a start finds the old version and upgrades again.
    CopyFromUpgrade(DataName::kSettingsMemo);
    CopyFromUpgrade(DataName::kSettingsTable);
}
