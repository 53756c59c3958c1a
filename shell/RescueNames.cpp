#include "shell/RescueNames.h"

#include <cctype>
#include <cstdio>

#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "net/bytes/AttachmentName.h"
#include "xmlfiles/bytes/BackupNames.h"
#include "xmlfiles/bytes/BackupWriting.h"
#include "xmlfiles/bytes/XmlLines.h"

const char kRescueLogPrefix[] = "CRescueBackup::Keep(): ";

namespace {
const char kPassingPart[] = "being written ";
const char kPassingEnd[] = ".tmp";
// The unique part of a passing name: hexadecimal digits.
const size_t kPassingDigits = 12;
// The names of one second numbered as other kept files are, before those
// that hold a part nobody can foresee.
const unsigned kNumberedRescueCopies = 99;
const unsigned kUnforeseeableRescueCopies = 3;

std::string RescueStampOf(const SYSTEMTIME& moment)
{
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", moment.wYear, moment.wMonth, moment.wDay,
                  moment.wHour, moment.wMinute, moment.wSecond);
    return stamp;
}

// "Unstored 20260305090512.QPK", from the second copy of that second on
// "Unstored 20260305090512 (2).QPK", and past the numbered names, which
// another program may have taken, "Unstored 20260305090512 (100-3F9A0C1B2D4E).QPK".
std::string RescueBackupName(const SYSTEMTIME& moment, unsigned copy)
{
    const std::string base = kRescueBackupPrefix + RescueStampOf(moment);
    if (copy <= kNumberedRescueCopies)
        return NumberedFileName(base + ".QPK", copy);
    char unique[13];
    MakeUniqueName(unique, sizeof unique);
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, " (%u-%s).QPK", copy, unique);
    return base + suffix;
}

std::string FolderOfRescue(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The mark of that name written new; ERROR_FILE_EXISTS when the name is taken.
DWORD WriteRescueMark(const std::string& markPath, const std::string& rescuePath, unsigned long long tableTime)
{
    const std::string text = RescueMarkText(FileNameOf(rescuePath), tableTime);
    return WriteNewFile(markPath, text.data(), static_cast<DWORD>(text.size()));
}
}

std::string NewRescuePassingPath(const std::string& folder)
{
    char unique[kPassingDigits + 1];
    MakeUniqueName(unique, sizeof unique);
    return folder + "\\" + kRescueBackupPrefix + kPassingPart + unique + kPassingEnd;
}

bool IsRescuePassingName(const std::string& name)
{
    const std::string start = std::string(kRescueBackupPrefix) + kPassingPart;
    if (name.size() != start.size() + kPassingDigits + sizeof kPassingEnd - 1 ||
        name.compare(0, start.size(), start) != 0)
        return false;
    const size_t end = name.size() - (sizeof kPassingEnd - 1);
    if (lstrcmpiA(name.c_str() + end, kPassingEnd) != 0)
        return false;
    for (size_t at = start.size(); at < end; ++at) {
        if (!std::isxdigit(static_cast<unsigned char>(name[at])))
            return false;
    }
    return true;
}

std::string RescuePassingPattern(const std::string& folder)
{
    return folder + "\\" + kRescueBackupPrefix + kPassingPart + "*" + kPassingEnd;
}

std::string RescueMarkPathOf(const std::string& rescuePath)
{
    const std::string name = RescueMarkName(FileNameOf(rescuePath));
    return name.empty() ? std::string() : FolderOfRescue(rescuePath) + "\\" + name;
}

bool EndsAsWholeRescue(const std::string& lastBytes)
{
    const std::string end = XmlEndTagLine(kBackupRootName, 0) + kXmlLineEnd;
    return lastBytes.size() >= end.size() && lastBytes.compare(lastBytes.size() - end.size(), end.size(), end) == 0;
}

NamedRescue NameRescue(const std::string& folder, const SYSTEMTIME& moment, const unsigned long long* tableTime,
                       const std::function<bool(const std::string&)>& rename)
{
    NamedRescue named;
    named.error = ERROR_FILE_EXISTS;
    for (unsigned copy = 1; copy <= kNumberedRescueCopies + kUnforeseeableRescueCopies; ++copy) {
        const std::string path = folder + "\\" + RescueBackupName(moment, copy);
        named.lastTried = path;
        // A name is taken only with its mark's name free: a mark left
        // beside no file would otherwise tell of this one.
        if (FileExists(path.c_str()))
            continue;
        const std::string mark = RescueMarkPathOf(path);
        bool marked = false;
        if (tableTime) {
            const DWORD markError = WriteRescueMark(mark, path, *tableTime);
            if (markError == ERROR_FILE_EXISTS || markError == ERROR_ALREADY_EXISTS)
                continue;
            if (markError == ERROR_SUCCESS)
                marked = true;
            else
                LogRescueFailure(mark, markError);
        }
        // Never in the place of another file.
        if (rename(path)) {
            named.path = path;
            named.markPath = marked ? mark : std::string();
            named.error = ERROR_SUCCESS;
            return named;
        }
        named.error = GetLastError();
        if (marked)
            DeleteFileA(mark.c_str());
        if (named.error != ERROR_FILE_EXISTS && named.error != ERROR_ALREADY_EXISTS)
            break;
    }
    return named;
}

void LogRescueFailure(const std::string& path, DWORD error)
{
    char description[400] = "";
    FormatLastErrorText(error, description, sizeof description);
    WriteErrorLog(kRescueLogPrefix,
                  ("the notes could not be written to the rescue backup " + path + description).c_str());
}
