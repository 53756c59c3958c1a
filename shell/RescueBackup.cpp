#include <winsock2.h>

#include "shell/RescueBackup.h"

#include <cstdio>

#include "foundation/Clock.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/GenericException.h"
#include "net/bytes/AttachmentName.h"
#include "shell/BackupRestore.h"
#include "store/BackupFolderCheck.h"
#include "xmlfiles/BackupList.h"

namespace {
const char kLogPrefix[] = "CRescueBackup::Keep(): ";
// The names of one second numbered as other kept files are, before those
// that hold a part nobody can foresee.
const unsigned kNumberedCopies = 99;
const unsigned kUnforeseeableCopies = 3;

std::string StampOf(const SYSTEMTIME& now)
{
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return stamp;
}

// "Unstored 20260305090512.QPK", from the second copy of that second on
// "Unstored 20260305090512 (2).QPK", and past the numbered names, which
// another program may have taken, "Unstored 20260305090512 (100-3F9A0C1B2D4E).QPK".
std::string RescueBackupName(const SYSTEMTIME& now, unsigned copy)
{
    const std::string base = "Unstored " + StampOf(now);
    if (copy <= kNumberedCopies)
        return NumberedFileName(base + ".QPK", copy);
    char unique[13];
    MakeUniqueName(unique, sizeof unique);
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, " (%u-%s).QPK", copy, unique);
    return base + suffix;
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

// The bytes in a new file of the folder, under the first of the second's
// names that is free; the path, or empty when the folder took none (error.txt
// says why).
std::string WriteInFolder(const std::string& folder, const SYSTEMTIME& now, const std::string& bytes)
{
    std::string path;
    for (unsigned copy = 1; copy <= kNumberedCopies + kUnforeseeableCopies; ++copy) {
        path = folder + "\\" + RescueBackupName(now, copy);
        const DWORD error = WriteNewFile(path, bytes.data(), static_cast<DWORD>(bytes.size()));
        if (error == ERROR_SUCCESS)
            return path;
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            LogFailure(path, error);
            return "";
        }
    }
    LogFailure(path, ERROR_FILE_EXISTS);
    return "";
}
}

std::string CRescueBackup::Keep(CWindowController& app)
{
    bool written = false;
    const std::string path = Write(app, written);
    if (written)
        LogKept(path);
    return path;
}

std::string CRescueBackup::KeepBeforeSave(CWindowController& app)
{
    bool written = false;
    const std::string path = Write(app, written);
    if (written)
        m_beforeSavePath = path;
    return path;
}

void CRescueBackup::SaveDone(bool everythingStored)
{
    const std::string path = m_beforeSavePath;
    m_beforeSavePath.clear();
    if (path.empty() || path != m_lastPath)
        return;
    if (!everythingStored) {
        LogKept(path);
        return;
    }
    // Nobody needs to hear of a file that rescued nothing.
    m_lastPath.clear();
    DeleteFileA(path.c_str());
}

std::string CRescueBackup::Write(CWindowController& app, bool& written)
{
    written = false;
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
    // A backup folder that cannot take the file (a file in the place of the
    // folder, a full or read-only drive) leaves the data folder.
    std::string path = WriteInFolder(BackupFolderPath(), now, bytes);
    if (path.empty())
        path = WriteInFolder(GetDataFolder(), now, bytes);
    if (path.empty())
        return "";
    // One written before a save that has not settled it yet (nobody has
    // heard of it) is older than this one, which holds every change it did.
    if (!m_beforeSavePath.empty()) {
        DeleteFileA(m_beforeSavePath.c_str());
        m_beforeSavePath.clear();
    }
    m_lastPath = path;
    written = true;
    return path;
}

void CRescueBackup::LogKept(const std::string& path)
{
    WriteErrorLog(kLogPrefix, ("changes could not be stored; the notes as they are now are in " + path).c_str());
}
