#include "xmlfiles/UnrestoreSet.h"

#include <windows.h>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/FileSearch.h"
#include "foundation/FolderTree.h"
#include "foundation/FormatSettings.h"
#include "foundation/GenericFile.h"
#include "store/BackupFolderCheck.h"
#include "xmlfiles/BackupList.h"

const char* const kUnrestoreTables[7] = {"config.qpd", "config.qps", "users.qpd",   "notes.qpd",
                                         "notes.qps",  "sentto.qpd", "transact.qpd"};

namespace {
const char* const kOptionalTables[] = {"apps.qpd", "noteman.qpd", "calendar.qpd", "chatnote.qpd"};
const long long kKeptMinutes = 30;

std::string InUndoFolder(const char* name)
{
    return UnrestoreFolderPath() + "\\" + name;
}

bool FolderExists(const std::string& folder)
{
    DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteMarker(const BackupStamp& now)
{
    const int month = now.month >= 1 && now.month <= 12 ? now.month : 0;
    const std::string text = UnrestoreMarkerText(MonthNames[month], now);
    try {
        CGenericFile marker;
        marker.CreateOverwrite(InUndoFolder(BackupFileName(now, ".txt").c_str()).c_str());
        marker.WriteToFile(text.data(), static_cast<DWORD>(text.size()));
        marker.Close();
        return true;
    } catch (const CGenericException&) {
        return false;
    }
}
}

std::string UnrestoreFolderPath()
{
    return BackupFilePath(DataName::kUnrestoreFolder);
}

bool HasCompleteUnrestoreSet()
{
    const std::string folder = UnrestoreFolderPath();
    for (const char* table : kUnrestoreTables) {
        if (!FileExistsInFolder(folder.c_str(), table))
            return false;
    }
    return true;
}

bool CopyDataFilesToUnrestore(const BackupStamp& now)
{
    EnsureBackupFolder(nullptr);
    const std::string folder = UnrestoreFolderPath();
    if (!FolderExists(folder))
        CreateDirectoryA(folder.c_str(), nullptr);
    bool complete = true;
    for (const char* table : kUnrestoreTables)
        complete = CopyFileA(DataFilePath(table).c_str(), InUndoFolder(table).c_str(), FALSE) && complete;
    for (const char* table : kOptionalTables) {
        const std::string source = DataFilePath(table);
        if (FileExists(source.c_str()))
            complete = CopyFileA(source.c_str(), InUndoFolder(table).c_str(), FALSE) && complete;
        else
            DeleteFileA(InUndoFolder(table).c_str());
    }
    return WriteMarker(now) && complete;
}

bool FindUnrestoreMarker(std::string& text, BackupStamp& date)
{
    EnsureBackupFolder(nullptr);
    text.clear();
    bool found = false;
    ForEachFileMatch(InUndoFolder("*.txt"), [&](const WIN32_FIND_DATAA& match) {
        BackupStamp stamp;
        if (IsBackupFileName(match.cFileName) && ParseBackupFileName(stamp, match.cFileName)) {
            date = stamp;
            found = true;
        }
        return true;
    });
    if (found) {
        std::string shown = BackupDisplayText(date);
        // The list's three closing blanks give way to a comma here.
        shown.erase(shown.find_last_not_of(' ') + 1);
        text = shown + ",";
    }
    return found;
}

void ExpireUnrestoreSet(bool force, const BackupStamp& now)
{
    std::string text;
    BackupStamp marked;
    if (!FindUnrestoreMarker(text, marked))
        marked = BackupStamp{};
    if (!force && !IsLaterThan(now, marked, kKeptMinutes))
        return;
    DeleteUnrestoreSet();
}

std::vector<std::string> CopyUnrestoreSetBack()
{
    EnsureBackupFolder(nullptr);
    std::vector<std::string> failed;
    for (const char* table : kUnrestoreTables) {
        if (!CopyFileA(InUndoFolder(table).c_str(), DataFilePath(table).c_str(), FALSE))
            failed.emplace_back(table);
    }
    // A file the data folder did not have before the restore goes again, so
    // that what the restore wrote there (its groups, its associations) goes too.
    for (const char* table : kOptionalTables) {
        const std::string copy = InUndoFolder(table);
        const std::string data = DataFilePath(table);
        if (FileExists(copy.c_str())) {
            if (!CopyFileA(copy.c_str(), data.c_str(), FALSE))
                failed.emplace_back(table);
        } else if (FileExists(data.c_str()) && !DeleteFileA(data.c_str())) {
            failed.emplace_back(table);
        }
    }
    return failed;
}

bool DeleteUnrestoreSet()
{
    const std::string folder = UnrestoreFolderPath();
    return !FolderExists(folder) || DeleteDirectoryTree(folder.c_str());
}
