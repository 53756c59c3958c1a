#include "shell/RescueLeftovers.h"

#include <windows.h>

#include <string>

#include "foundation/DiagnosticLog.h"
#include "foundation/FileSearch.h"
#include "foundation/HeldNewFile.h"
#include "shell/RescueNames.h"
#include "xmlfiles/BackupList.h"
#include "xmlfiles/bytes/BackupNames.h"

namespace {
// A rescue backup's record of the notes table comes within its first bytes.
const DWORD kLeftRecordWithin = 512;

// What the read of a file left under a passing name found.
struct LeftRescue {
    bool read = false;  // false: a program holds it, or it went meanwhile
    bool whole = false;
    FILETIME written{};
    bool recorded = false;
    unsigned long long tableTime = 0;
};

// Up to that many bytes from the place in the file.
bool ReadLeftBytes(HANDLE file, LONGLONG from, DWORD most, std::string& bytes)
{
    LARGE_INTEGER place{};
    place.QuadPart = from;
    char buffer[kLeftRecordWithin];
    static_assert(sizeof buffer >= kWholeRescueEndBytes, "the end of a rescue fits in the buffer");
    DWORD read = 0;
    if (most > sizeof buffer || !SetFilePointerEx(file, place, nullptr, FILE_BEGIN) ||
        !ReadFile(file, buffer, most, &read, nullptr))
        return false;
    bytes.assign(buffer, read);
    return true;
}

// The file opened sharing nothing, so that no program writes or names it
// while it is read: its start (the record) and its end (whole or not).
LeftRescue ReadLeftRescue(const std::string& path)
{
    LeftRescue left;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return left;
    LARGE_INTEGER size{};
    std::string start, end;
    left.read = GetFileSizeEx(file, &size) && GetFileTime(file, nullptr, nullptr, &left.written) &&
                ReadLeftBytes(file, 0, kLeftRecordWithin, start) &&
                ReadLeftBytes(file, size.QuadPart > kWholeRescueEndBytes ? size.QuadPart - kWholeRescueEndBytes : 0,
                              kWholeRescueEndBytes, end);
    CloseHandle(file);
    left.whole = left.read && EndsAsWholeRescue(end);
    left.recorded = left.whole && ReadRescueTableTime(start, left.tableTime);
    return left;
}

// The dated name of a rescue written at that moment, in local time as every
// rescue's name is.
SYSTEMTIME LocalMomentOf(const FILETIME& written)
{
    FILETIME local{};
    SYSTEMTIME moment{};
    FileTimeToLocalFileTime(&written, &local);
    FileTimeToSystemTime(&local, &moment);
    return moment;
}

void TakeInLeftRescue(const std::string& folder, const std::string& path)
{
    const LeftRescue left = ReadLeftRescue(path);
    if (!left.read)
        return;
    if (!left.whole) {
        if (DeleteIfNobodyHolds(path))
            WriteErrorLog(kRescueLogPrefix,
                          (path + ", a rescue backup cut short when the program ended, was removed").c_str());
        return;
    }
    const NamedRescue named =
        NameRescue(folder, LocalMomentOf(left.written), left.recorded ? &left.tableTime : nullptr,
                   [&path](const std::string& target) { return MoveFileExA(path.c_str(), target.c_str(), 0) != FALSE; });
    if (!named.path.empty()) {
        WriteErrorLog(kRescueLogPrefix,
                      (path + ", a rescue backup written whole when the program ended, was named " + named.path).c_str());
        return;
    }
    char description[400] = "";
    FormatLastErrorText(named.error, description, sizeof description);
    WriteErrorLog(kRescueLogPrefix, (path + ", a rescue backup written whole when the program ended, could not be named " +
                                     named.lastTried + description + "; the next start tries again")
                                        .c_str());
}
}

void TakeInRescuesLeftUnnamed()
{
    for (const std::string& folder : RescueBackupFolders()) {
        ForEachFileMatch(RescuePassingPattern(folder), [&folder](const WIN32_FIND_DATAA& match) {
            if (!(match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsRescuePassingName(match.cFileName))
                TakeInLeftRescue(folder, folder + "\\" + match.cFileName);
            return true;
        });
    }
}

void DeleteTempFilesNobodyHolds(const char* folder)
{
    const std::string where = folder;
    ForEachFileMatch(where + "\\*.tmp", [&where](const WIN32_FIND_DATAA& match) {
        if (!(match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsRescuePassingName(match.cFileName))
            DeleteIfNobodyHolds(where + "\\" + match.cFileName);
        return true;
    });
}
