#include <winsock2.h>

#include "shell/RescueBackup.h"

#include <cctype>
#include <cstdio>

#include "foundation/Clock.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/FileSearch.h"
#include "foundation/HeldNewFile.h"
#include "foundation/bytes/GenericException.h"
#include "net/bytes/AttachmentName.h"
#include "shell/BackupRestore.h"
#include "shell/WindowController.h"
#include "store/BackupFolderCheck.h"
#include "xmlfiles/BackupList.h"

namespace {
const char kRescueBackupLogPrefix[] = "CRescueBackup::Keep(): ";
// The names of one second numbered as other kept files are, before those
// that hold a part nobody can foresee.
const unsigned kNumberedCopies = 99;
const unsigned kUnforeseeableCopies = 3;
// A rescue backup's record of the notes table comes within its first bytes.
const DWORD kRecordWithin = 512;

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
    const std::string base = kRescueBackupPrefix + StampOf(now);
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

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void LogFailure(const std::string& path, DWORD error)
{
    char description[400] = "";
    FormatLastErrorText(error, description, sizeof description);
    WriteErrorLog(kRescueBackupLogPrefix, ("the notes could not be written to the rescue backup " + path + description).c_str());
}

const char kBeingWritten[] = "being written ";
const char kBeingWrittenEnd[] = ".tmp";
// The unique part of a name being written: hexadecimal digits.
const size_t kUniqueDigits = 12;

// "Unstored being written 3F9A0C1B2D4E.tmp", and nothing else.
bool IsNameBeingWritten(const std::string& name)
{
    const std::string start = std::string(kRescueBackupPrefix) + kBeingWritten;
    const size_t end = name.size() - (sizeof kBeingWrittenEnd - 1);
    if (name.size() != start.size() + kUniqueDigits + sizeof kBeingWrittenEnd - 1 ||
        name.compare(0, start.size(), start) != 0 || lstrcmpiA(name.c_str() + end, kBeingWrittenEnd) != 0)
        return false;
    for (size_t at = start.size(); at < end; ++at) {
        if (!std::isxdigit(static_cast<unsigned char>(name[at])))
            return false;
    }
    return true;
}

// The bytes whole in a file of their own, under a name that no listing of
// backups takes and no other run chooses: a rescue cut short by a crash is
// never offered. The file is held until it has taken its name, so that no
// start of another run takes it for a leftover. False when the folder took
// none (error.txt says why).
bool WriteAside(const std::string& folder, const std::string& bytes, CHeldNewFile& aside)
{
    char unique[kUniqueDigits + 1];
    MakeUniqueName(unique, sizeof unique);
    const std::string path = folder + "\\" + kRescueBackupPrefix + kBeingWritten + unique + kBeingWrittenEnd;
    const DWORD error = aside.Write(path, bytes.data(), static_cast<DWORD>(bytes.size()));
    if (error == ERROR_SUCCESS)
        return true;
    LogFailure(path, error);
    return false;
}

// The bytes in a new file of the folder, under the first of the second's
// names that is free, given only once they are whole there; the path, or
// empty when the folder took none (error.txt says why).
std::string WriteInFolder(const std::string& folder, const SYSTEMTIME& now, const std::string& bytes)
{
    CHeldNewFile aside;
    if (!WriteAside(folder, bytes, aside))
        return "";
    std::string path;
    DWORD error = ERROR_FILE_EXISTS;
    for (unsigned copy = 1; copy <= kNumberedCopies + kUnforeseeableCopies; ++copy) {
        path = folder + "\\" + RescueBackupName(now, copy);
        // Never in the place of another file.
        if (aside.MoveTo(path, 0))
            return path;
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    LogFailure(path, error);
    return "";
}

// The rescue backup of this run made anew in its place, whole at once; false
// when it could not be (error.txt says why) and it is as it was.
bool WriteInPlace(const std::string& path, const std::string& bytes)
{
    CHeldNewFile aside;
    if (!WriteAside(FolderOf(path), bytes, aside))
        return false;
    if (aside.MoveTo(path, MOVEFILE_REPLACE_EXISTING))
        return true;
    LogFailure(path, GetLastError());
    return false;
}

std::string MarkPathOf(const std::string& rescuePath)
{
    const std::string name = RescueMarkName(FileNameOf(rescuePath));
    return name.empty() ? std::string() : FolderOf(rescuePath) + "\\" + name;
}
}

std::string CRescueBackup::Write(CWindowController& app, const char* why, bool& written)
{
    written = false;
    const unsigned long long tableTime = NotesTableWriteTime();
    std::string bytes;
    try {
        bytes = RescueBackupText(app, tableTime);
    } catch (const CGenericException& failure) {
        WriteErrorLog(kRescueBackupLogPrefix, failure.GetErrorText());
        return "";
    } catch (...) {
        WriteErrorLog(kRescueBackupLogPrefix, "Unknown exception");
        return "";
    }
    if (!m_lastPath.empty() && (FileHolds(m_lastPath, bytes) || SameNotesMadeAnew(bytes, tableTime))) {
        // Still unstored now: the mark says so as of this moment.
        Mark(m_lastPath);
        return m_lastPath;
    }
    EnsureBackupFolderQuietly();
    const SYSTEMTIME now = GetLocalNow();
    // A backup folder that cannot take the file (a file in the place of the
    // folder, a full or read-only drive) leaves the data folder.
    std::string path = WriteInFolder(BackupFolderPath(), now, bytes);
    const bool inDataFolder = path.empty();
    if (inDataFolder)
        path = WriteInFolder(GetDataFolder(), now, bytes);
    if (path.empty())
        return "";
    if (why)
        Announce(why, path, inDataFolder);
    m_lastInDataFolder = inDataFolder;
    // The one written in case is older than this one, which holds every
    // change it did.
    if (!m_inCasePath.empty())
        RemoveInCase((path + " holds the notes as they are now").c_str());
    m_lastPath = path;
    m_lastTableTime = tableTime;
    written = true;
    Mark(path);
    return path;
}

// The last file holds these notes, measured against an earlier write of the
// table (a save stored some of them, or wrote the table as it was): it is
// made anew with this write, which a start's offer and a restore judge by.
bool CRescueBackup::SameNotesMadeAnew(const std::string& bytes, unsigned long long tableTime)
{
    const std::string now = RescueTableTimeComment(tableTime);
    const size_t at = bytes.find(now);
    if (tableTime == m_lastTableTime || at == std::string::npos)
        return false;
    std::string before = bytes;
    before.replace(at, now.size(), RescueTableTimeComment(m_lastTableTime));
    if (!FileHolds(m_lastPath, before) || !WriteInPlace(m_lastPath, bytes))
        return false;
    m_lastTableTime = tableTime;
    return true;
}

void CRescueBackup::Announce(const char* why, const std::string& path, bool inDataFolder)
{
    WriteErrorLog(kRescueBackupLogPrefix, (std::string(why) +
                               (inDataFolder ? "; the backup folder could not take the file, so" : ";") +
                               " the notes as they are now are in " + path)
                                  .c_str());
}

void CRescueBackup::InCaseNeeded(const char* what)
{
    if (m_inCasePath == m_unannounced)
        Announce(what, m_inCasePath, m_unannouncedInDataFolder);
    else
        WriteErrorLog(kRescueBackupLogPrefix, (std::string(what) + "; they are in " + m_inCasePath).c_str());
    m_inCasePath.clear();
    m_unannounced.clear();
}

std::string CRescueBackup::Keep(CWindowController& app)
{
    bool written = false;
    const std::string path = Write(app, "changes could not be stored", written);
    // Its caller may name it in a box: it stays.
    if (path == m_unnamedPath)
        m_unnamedPath.clear();
    if (!path.empty() && path == m_inCasePath)
        InCaseNeeded("changes could not be stored");
    return path;
}

std::string CRescueBackup::KeepInCase(CWindowController& app, const char* why)
{
    bool written = false;
    const std::string path = Write(app, why, written);
    if (written)
        m_inCasePath = path;
    return path;
}

std::string CRescueBackup::KeepBeforeSave(CWindowController& app)
{
    bool written = false;
    const std::string path = Write(app, nullptr, written);
    if (written) {
        m_inCasePath = path;
        m_unannounced = path;
        m_unannouncedInDataFolder = m_lastInDataFolder;
    }
    return path;
}

void CRescueBackup::InCaseOfRefusal(const char* why)
{
    if (m_inCasePath.empty() || m_inCasePath != m_unannounced)
        return;
    Announce(why, m_inCasePath, m_unannouncedInDataFolder);
    m_unannounced.clear();
}

void CRescueBackup::SaveDone(bool everythingStored)
{
    if (everythingStored)
        Settled();
    else if (!m_inCasePath.empty())
        InCaseNeeded("the save could not store every change");
}

std::string CRescueBackup::Renew(CWindowController& app, const char* why)
{
    bool written = false;
    const std::string path = Write(app, why, written);
    if (path.empty() || path == m_unnamedPath)
        return path;
    // The new file is whole: the older one of this stretch holds nothing it lacks.
    if (!m_unnamedPath.empty() && Remove(m_unnamedPath))
        WriteErrorLog(kRescueBackupLogPrefix,
                      (m_unnamedPath + " was removed: " + path + " holds the notes as they are now").c_str());
    m_unnamedPath = written ? path : std::string();
    return path;
}

bool CRescueBackup::Remove(const std::string& rescuePath)
{
    if (!DeleteFileA(rescuePath.c_str()))
        return false;
    const std::string mark = MarkPathOf(rescuePath);
    DeleteFileA(mark.c_str());
    for (auto it = m_marks.begin(); it != m_marks.end(); ++it) {
        if (lstrcmpiA(it->c_str(), mark.c_str()) == 0) {
            m_marks.erase(it);
            break;
        }
    }
    if (rescuePath == m_lastPath)
        m_lastPath.clear();
    return true;
}

void CRescueBackup::RemoveInCase(const char* why)
{
    const std::string path = m_inCasePath;
    const bool announced = path != m_unannounced;
    m_inCasePath.clear();
    m_unannounced.clear();
    if (Remove(path) && announced)
        WriteErrorLog(kRescueBackupLogPrefix, (path + " was removed: " + why).c_str());
}

void CRescueBackup::Settled()
{
    // Nobody needs to hear of a file written in case once nothing is left
    // to rescue.
    if (!m_inCasePath.empty())
        RemoveInCase("a save stored every change");
    m_unnamedPath.clear();
    for (const std::string& mark : m_marks)
        DeleteFileA(mark.c_str());
    m_marks.clear();
}

bool CRescueBackup::MarkedThisRun(const std::string& markPath) const
{
    for (const std::string& mark : m_marks)
        if (lstrcmpiA(mark.c_str(), markPath.c_str()) == 0)
            return true;
    return false;
}

// The mark is written anew at every rescue that still holds unstored
// changes, with the notes table as it is then; only a name that is free, or
// a mark of this run, is written.
void CRescueBackup::Mark(const std::string& rescuePath)
{
    const std::string mark = MarkPathOf(rescuePath);
    if (mark.empty())
        return;
    const bool ours = MarkedThisRun(mark);
    if (ours)
        DeleteFileA(mark.c_str());
    const std::string text = RescueMarkText(FileNameOf(rescuePath), NotesTableWriteTime());
    const DWORD error = WriteNewFile(mark, text.data(), static_cast<DWORD>(text.size()));
    if (error != ERROR_SUCCESS) {
        LogFailure(mark, error);
        return;
    }
    if (!ours)
        m_marks.push_back(mark);
}

bool NotesStoredSinceRescue(const std::string& rescuePath)
{
    // The record comes before the notes, within the file's first lines.
    std::string start;
    unsigned long long measured = 0;
    return !ReadFileStart(rescuePath, kRecordWithin, start) || !ReadRescueTableTime(start, measured) ||
           measured != NotesTableWriteTime();
}

unsigned long long NotesTableWriteTime()
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(DataFilePath(DataName::kNotesTable).c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

void RemoveRescuesCutShort()
{
    for (const std::string& folder : RescueBackupFolders()) {
        const std::string pattern = folder + "\\" + kRescueBackupPrefix + kBeingWritten + "*" + kBeingWrittenEnd;
        ForEachFileMatch(pattern, [&folder](const WIN32_FIND_DATAA& match) {
            const std::string path = folder + "\\" + match.cFileName;
            if (!(match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsNameBeingWritten(match.cFileName) &&
                DeleteIfNobodyHolds(path))
                WriteErrorLog(kRescueBackupLogPrefix, (path + ", a rescue backup cut short when the program ended, was removed")
                                              .c_str());
            return true;
        });
    }
}
