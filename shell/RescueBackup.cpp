#include <winsock2.h>

#include "shell/RescueBackup.h"

#include "foundation/Clock.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/HeldNewFile.h"
#include "foundation/bytes/GenericException.h"
#include "shell/BackupRestore.h"
#include "shell/RescueNames.h"
#include "shell/WindowController.h"
#include "store/BackupFolderCheck.h"
#include "xmlfiles/BackupList.h"

namespace {
// A rescue backup's record of the notes table comes within its first bytes.
const DWORD kRecordWithin = 512;
// A mark is a few lines of the program's own.
const DWORD kMostRescueMarkBytes = 4096;

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

// The bytes whole in a file of their own, under a passing name: a rescue cut
// short by a crash is never offered. The file is held until it has taken its
// name, so that no start of another run takes it for a leftover. False when
// the folder took none (error.txt says why).
bool WriteAside(const std::string& folder, const std::string& bytes, CHeldNewFile& aside)
{
    const std::string path = NewRescuePassingPath(folder);
    const DWORD error = aside.Write(path, bytes.data(), static_cast<DWORD>(bytes.size()));
    if (error == ERROR_SUCCESS)
        return true;
    LogRescueFailure(path, error);
    return false;
}

// The bytes in a new file of the folder, given the first of the second's
// names that is free only once they are whole there, and marked before they
// take it; empty when the folder took none (error.txt says why).
NamedRescue WriteInFolder(const std::string& folder, const SYSTEMTIME& now, const std::string& bytes,
                          unsigned long long tableTime)
{
    CHeldNewFile aside;
    if (!WriteAside(folder, bytes, aside))
        return NamedRescue();
    const NamedRescue named =
        NameRescue(folder, now, &tableTime, [&aside](const std::string& path) { return aside.MoveTo(path, 0); });
    if (named.path.empty())
        LogRescueFailure(named.lastTried, named.error);
    return named;
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
    LogRescueFailure(path, GetLastError());
    return false;
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
        WriteErrorLog(kRescueLogPrefix, failure.GetErrorText());
        return "";
    } catch (...) {
        WriteErrorLog(kRescueLogPrefix, "Unknown exception");
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
    NamedRescue named = WriteInFolder(BackupFolderPath(), now, bytes, tableTime);
    const bool inDataFolder = named.path.empty();
    if (inDataFolder)
        named = WriteInFolder(GetDataFolder(), now, bytes, tableTime);
    if (named.path.empty())
        return "";
    // Marked before it took its name, and before anything older is removed:
    // the next start offers it whenever the program ends from here on.
    if (!named.markPath.empty())
        m_marks.push_back(named.markPath);
    const std::string path = named.path;
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
    WriteErrorLog(kRescueLogPrefix, (std::string(why) +
                               (inDataFolder ? "; the backup folder could not take the file, so" : ";") +
                               " the notes as they are now are in " + path)
                                  .c_str());
}

void CRescueBackup::InCaseNeeded(const char* what)
{
    if (m_inCasePath == m_unannounced)
        Announce(what, m_inCasePath, m_unannouncedInDataFolder);
    else
        WriteErrorLog(kRescueLogPrefix, (std::string(what) + "; they are in " + m_inCasePath).c_str());
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
        WriteErrorLog(kRescueLogPrefix,
                      (m_unnamedPath + " was removed: " + path + " holds the notes as they are now").c_str());
    m_unnamedPath = written ? path : std::string();
    return path;
}

bool CRescueBackup::Remove(const std::string& rescuePath)
{
    if (!DeleteFileA(rescuePath.c_str()))
        return false;
    const std::string mark = RescueMarkPathOf(rescuePath);
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
        WriteErrorLog(kRescueLogPrefix, (path + " was removed: " + why).c_str());
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
    const std::string mark = RescueMarkPathOf(rescuePath);
    if (mark.empty())
        return;
    const bool ours = MarkedThisRun(mark);
    if (ours)
        DeleteFileA(mark.c_str());
    const std::string text = RescueMarkText(FileNameOf(rescuePath), NotesTableWriteTime());
    const DWORD error = WriteNewFile(mark, text.data(), static_cast<DWORD>(text.size()));
    if (error != ERROR_SUCCESS) {
        LogRescueFailure(mark, error);
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
    if (ReadFileStart(rescuePath, kRecordWithin, start) && ReadRescueTableTime(start, measured))
        return measured != NotesTableWriteTime();
    // A rescue of an earlier version records nothing itself: its mark does.
    std::string mark;
    return !ReadSmallFile(RescueMarkPathOf(rescuePath), kMostRescueMarkBytes, mark) ||
           !ReadRescueMarkMeasuredTime(mark, measured) || measured != NotesTableWriteTime();
}

unsigned long long NotesTableWriteTime()
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(DataFilePath(DataName::kNotesTable).c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}
