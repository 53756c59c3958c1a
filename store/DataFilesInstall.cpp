#include "store/DataFilesInstall.h"

#include <windows.h>

#include <cmath>
#include <string>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/FolderTree.h"
#include "net/DestinationListOps.h"
#include "net/DestinationLists.h"
#include "net/SentToTable.h"
#include "net/TransactTable.h"
#include "shell/DataFileChecks.h"
#include "store/DbfFile.h"
#include "store/OldTablesImport.h"

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
}

void CopyFromUpgrade(const char* name)
{
    CopyFileA(UpgradeFilePath(name).c_str(), DataFilePath(name).c_str(), FALSE);
}

void KeepOldCopy(const char* name, const char* oldName)
{
    CopyFileA(DataFilePath(name).c_str(), DataFilePath(oldName).c_str(), FALSE);
}

int InstallDataFiles()
{
    if (IsFirstInstallation()) {
        for (const char* name : kTables)
            CopyFromUpgrade(name);
        InstallImageFolder(DataName::kTexturesFolder);
        InstallImageFolder(DataName::kChatFolder);
        RemoveUpgradeFolder();
        return 1;
    }
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
    if (version < 0)
        MigrateOldDataFiles();
    else if (version == 400)
        UpgradeSentToTransact();
    else if (version == 300 || version == 200)
        UpgradeConfig();
    else
        SetConfigVersion();
    RemoveUpgradeFolder();
    return 1;
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
    KeepOldCopy(DataName::kTransactionsTable, "transactOld.QPD");
    KeepOldCopy(DataName::kSentToTable, "senttoOld.QPD");

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
    SetConfigVersion();
}

void UpgradeConfig()
{
    KeepOldCopy(DataName::kSettingsTable, "configOld.QPD");
    KeepOldCopy(DataName::kSettingsMemo, "configOld.QPS");
    CopyFromUpgrade(DataName::kSettingsTable);
    CopyFromUpgrade(DataName::kSettingsMemo);
    UpgradeSentToTransact();
    CopyFromUpgrade(DataName::kSoundsTable);
}
