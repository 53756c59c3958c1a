#include <winsock2.h>

#include "shell/RescueBackup.h"

#include <cstdio>

#include "foundation/Clock.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/GenericException.h"
#include "net/bytes/AttachmentName.h"
#include "shell/BackupRestore.h"
#include "store/BackupFolderCheck.h"
#include "xmlfiles/BackupList.h"

namespace {
const char kLogPrefix[] = "CRescueBackup::Keep(): ";
// Names tried within one second before giving up.
const unsigned kMostCopies = 99;

// "Unstored 20260305090512.QPK", and from the second copy of that second on
// "Unstored 20260305090512 (2).QPK".
std::string RescueBackupName(const SYSTEMTIME& now, unsigned copy)
{
    char name[64];
    std::snprintf(name, sizeof name, "Unstored %04d%02d%02d%02d%02d%02d.QPK", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    return NumberedFileName(name, copy);
}

bool FileHolds(const std::string& path, const std::string& bytes)
{
    std::string found;
    return ReadSmallFile(path, static_cast<DWORD>(bytes.size()), found) && found == bytes;
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
    for (unsigned copy = 1; copy <= kMostCopies; ++copy) {
        const std::string path = BackupFilePath(RescueBackupName(now, copy));
        const DWORD error = WriteNewFile(path, bytes.data(), static_cast<DWORD>(bytes.size()));
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
