#include <winsock2.h>

#include "shell/RescueBackup.h"

#include <cstdio>

#include "foundation/Clock.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/GenericException.h"
#include "shell/BackupRestore.h"
#include "store/BackupFolderCheck.h"
#include "xmlfiles/BackupList.h"

namespace {
const char kLogPrefix[] = "CRescueBackup::Keep(): ";
// Names tried within one second before giving up.
const int kMostCopies = 99;

// "Unstored 20260305090512.QPK", and from the second copy of that second on
// "Unstored 20260305090512 (2).QPK".
std::string RescueBackupName(const SYSTEMTIME& now, int copy)
{
    char name[64];
    std::snprintf(name, sizeof name, "Unstored %04d%02d%02d%02d%02d%02d", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    std::string text = name;
    if (copy > 1)
        text += " (" + std::to_string(copy) + ")";
    return text + ".QPK";
}

bool FileHolds(const std::string& path, const std::string& bytes)
{
    std::string found;
    return ReadSmallFile(path, static_cast<DWORD>(bytes.size()), found) && found == bytes;
}

// The bytes in a file of that path made new: the open fails with
// ERROR_FILE_EXISTS when the name is taken, so no file is ever replaced.
// ERROR_SUCCESS, or the system's error; a file written only in part is deleted.
DWORD WriteNewFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    const DWORD size = static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes.data(), size, &written, nullptr) && written == size &&
                       FlushFileBuffers(file);
    const DWORD error = whole ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file);
    if (whole)
        return ERROR_SUCCESS;
    DeleteFileA(path.c_str());
    return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
}

void LogFailure(const std::string& path, DWORD error)
{
    char description[400] = "";
    FormatLastErrorText(error, description, sizeof description);
    WriteErrorLog(kLogPrefix, ("the notes could not be written to the rescue backup " + path + description).c_str());
}
}

std::string CRescueBackup::Keep(CWindowController& app)
{
    std::string bytes;
    try {
        bytes = BackupNotesText(app);
    } catch (const CGenericException& failure) {
        WriteErrorLog(kLogPrefix, failure.GetErrorText());
        return "";
    } catch (...) {
        WriteErrorLog(kLogPrefix, "Unknown exception");
        return "";
    }
    if (!m_lastPath.empty() && FileHolds(m_lastPath, bytes))
        return m_lastPath;
    EnsureBackupFolderQuietly();
    const SYSTEMTIME now = GetLocalNow();
    for (int copy = 1; copy <= kMostCopies; ++copy) {
        const std::string path = BackupFilePath(RescueBackupName(now, copy));
        const DWORD error = WriteNewFile(path, bytes);
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            continue;
        if (error != ERROR_SUCCESS) {
            LogFailure(path, error);
            return "";
        }
        m_lastPath = path;
        WriteErrorLog(kLogPrefix, ("changes could not be stored; the notes as they are now are in " + path).c_str());
        return path;
    }
    LogFailure(BackupFilePath(RescueBackupName(now, kMostCopies)), ERROR_FILE_EXISTS);
    return "";
}
