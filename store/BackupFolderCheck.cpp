#include "store/BackupFolderCheck.h"

#include <string>

#include "foundation/BackupFolder.h"
#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
bool BackupFolderExists(const std::string& folder)
{
    DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Writes a small file into the folder and deletes it again.
bool CanWriteIn(const std::string& folder)
{
    std::string testFile = folder + "\\kjl.txt";
    HANDLE file = CreateFileA(testFile.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    static const char kText[] = "access test";
    DWORD written = 0;
    bool wrote = WriteFile(file, kText, sizeof kText - 1, &written, nullptr) && written == sizeof kText - 1;
    CloseHandle(file);
    DeleteFileA(testFile.c_str());
    return wrote;
}
}

bool EnsureBackupFolderQuietly()
{
    const std::string standard = DataFilePath(DataName::kBackupFolder);
    const std::string current = GetCurrentBackupFolder();
    if (current.empty() || !BackupFolderExists(current) || !CanWriteIn(current))
        SetCurrentBackupFolder(standard.c_str());
    if (!BackupFolderExists(standard))
        CreateDirectoryA(standard.c_str(), nullptr);
    return BackupFolderExists(standard);
}

BackupFolderTrouble EnsureBackupFolderTrouble()
{
    if (EnsureBackupFolderQuietly())
        return BackupFolderTrouble::kNone;
    const DWORD attributes = GetFileAttributesA(DataFilePath(DataName::kBackupFolder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)
               ? BackupFolderTrouble::kFileInTheWay
               : BackupFolderTrouble::kCannotBeMade;
}

int EnsureBackupFolder(HWND owner)
{
    if (EnsureBackupFolderQuietly())
        return 1;
    ShowErrorMessage(owner,
                     "The standard BACKUP location could not be created??\r\n\r\n"
                     " Please report this problem to Corvell Ltd.",
                     ProgramTitle);
    return 0;
}
