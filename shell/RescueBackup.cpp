#include <winsock2.h>

#include "shell/RescueBackup.h"

#include <cstdio>

#include "foundation/Clock.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/FileSearch.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/ProgramGlobals.h"
#include "net/bytes/AttachmentName.h"
#include "shell/BackupRestore.h"
#include "shell/WindowController.h"
#include "store/BackupFolderCheck.h"
#include "xmlfiles/BackupList.h"

namespace {
const char kLogPrefix[] = "CRescueBackup::Keep(): ";
// The names of one second numbered as other kept files are, before those
// that hold a part nobody can foresee.
const unsigned kNumberedCopies = 99;
const unsigned kUnforeseeableCopies = 3;
// A mark is a few lines of the program's own.
const DWORD kMostMarkBytes = 4096;

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

// The last write of the notes table: a save that stores a note writes it
// anew. 0 while it is missing.
unsigned long long NotesTableWriteTime()
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(DataFilePath(DataName::kNotesTable).c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string MarkPathOf(const std::string& rescuePath)
{
    const std::string name = RescueMarkName(FileNameOf(rescuePath));
    return name.empty() ? std::string() : FolderOf(rescuePath) + "\\" + name;
}
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
    if (!m_lastPath.empty() && FileHolds(m_lastPath, bytes)) {
        // Still unstored now: the mark says so as of this moment.
        Mark(m_lastPath);
        return m_lastPath;
    }
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
        Remove(m_beforeSavePath);
        m_beforeSavePath.clear();
    }
    m_lastPath = path;
    written = true;
    Mark(path);
    return path;
}

std::string CRescueBackup::Keep(CWindowController& app)
{
    bool written = false;
    const std::string path = Write(app, written);
    if (written)
        LogKept(path);
    // Its caller may name it in a box: it stays.
    if (path == m_unnamedPath)
        m_unnamedPath.clear();
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
    Remove(path);
}

std::string CRescueBackup::Renew(CWindowController& app)
{
    bool written = false;
    const std::string path = Write(app, written);
    if (written)
        LogKept(path);
    if (path.empty() || path == m_unnamedPath)
        return path;
    // The new file is whole: the older one of this stretch holds nothing it lacks.
    if (!m_unnamedPath.empty() && Remove(m_unnamedPath))
        WriteErrorLog(kLogPrefix,
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
    return true;
}

void CRescueBackup::LogKept(const std::string& path)
{
    WriteErrorLog(kLogPrefix, ("changes could not be stored; the notes as they are now are in " + path).c_str());
}

void CRescueBackup::Settled()
{
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

namespace {
struct FoundMark {
    std::string path;
    std::string rescuePath;
    FILETIME written{};
    bool unstored = false;
};

// The marks of earlier runs in the folders of rescue backups; unstored when
// its rescue backup is there and no save wrote the notes table since.
std::vector<FoundMark> MarksOfEarlierRuns(const CRescueBackup& rescue)
{
    std::vector<FoundMark> found;
    const unsigned long long tableTime = NotesTableWriteTime();
    for (const std::string& folder : RescueBackupFolders()) {
        ForEachFileMatch(folder + "\\" + kRescueBackupPrefix + "*.txt", [&](const WIN32_FIND_DATAA& match) {
            const std::string rescueName = RescueOfMarkName(match.cFileName);
            FoundMark mark;
            mark.path = folder + "\\" + match.cFileName;
            if (rescueName.empty() || (match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
                rescue.MarkedThisRun(mark.path))
                return true;
            mark.rescuePath = folder + "\\" + rescueName;
            mark.written = match.ftLastWriteTime;
            std::string text;
            unsigned long long markedTime = 0;
            mark.unstored = FileExists(mark.rescuePath.c_str()) && ReadSmallFile(mark.path, kMostMarkBytes, text) &&
                            ReadRescueMarkTableTime(text, markedTime) && markedTime == tableTime;
            found.push_back(mark);
            return true;
        });
    }
    return found;
}
}

void OfferRescueOfLastEnd(CWindowController& app)
{
    if (GetProgramFlags().closing)
        return;
    const std::vector<FoundMark> marks = MarksOfEarlierRuns(app.Rescue());
    const FoundMark* newest = nullptr;
    for (const FoundMark& mark : marks) {
        if (mark.unstored && (!newest || CompareFileTime(&mark.written, &newest->written) > 0))
            newest = &mark;
    }
    for (const FoundMark& mark : marks) {
        if (!DeleteFileA(mark.path.c_str()))
            WriteErrorLog("OfferRescueOfLastEnd(): the mark could not be deleted: ", mark.path.c_str());
    }
    if (!newest)
        return;
    const std::string question =
        "When Quillnet+ ended last time, some changes to your notes could not be stored. Your notes, as they were "
        "then, are kept in this backup file:\r\n    " +
        newest->rescuePath +
        "\r\n\r\nRestore your notes from it now? You can also restore it later with the 'Restore...' tray icon menu "
        "option.";
    if (ShowMessageBox(app.GetWindow(), question.c_str(), ProgramTitle, kMbYesNo | kMbIconQuestion) == kIdYes)
        RestoreFromBackup(app, -1, false, newest->rescuePath.c_str());
}
