#include "xmlfiles/UnrestoreSet.h"

#include <windows.h>

#include <sstream>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/DiagnosticLog.h"
#include "store/FileSetReplacement.h"
#include "store/FileStepFailures.h"
#include "foundation/FileSearch.h"
#include "foundation/FolderTree.h"
#include "foundation/FormatSettings.h"
#include "foundation/GenericFile.h"
#include "foundation/bytes/BytesPrint.h"
#include "store/BackupFolderCheck.h"
#include "xmlfiles/BackupList.h"

const char* const kUnrestoreTables[7] = {"config.qpd", "config.qps", "users.qpd",   "notes.qpd",
                                         "notes.qps",  "sentto.qpd", "transact.qpd"};

namespace {
const char* const kOptionalTables[] = {"apps.qpd", "noteman.qpd", "calendar.qpd", "chatnote.qpd"};
const long long kKeptMinutes = 30;
// What the copy holds and which optional files the data folder did not have:
// lines "held <name>" and "absent <name>". Not a "*.txt" file, which could
// be taken for the marker.
const char kContentsName[] = "contents.lst";
const DWORD kMaxContentsSize = 4096;
// The print of the notes the last restore left; neither a "*.txt" file nor
// one the list names.
const char kPrintName[] = "restored.lst";
const DWORD kMaxPrintSize = 512;
// The files besides the notes' own pair are small; a larger one counts as
// unread.
const DWORD kMostUndoneFileBytes = 16 * 1024 * 1024;

std::string InUndoFolder(const char* name)
{
    return UnrestoreFolderPath() + "\\" + name;
}

bool FolderExists(const std::string& folder)
{
    DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteText(const std::string& path, const std::string& text)
{
    try {
        CGenericFile file;
        file.CreateOverwrite(path.c_str());
        file.WriteToFile(text.data(), static_cast<DWORD>(text.size()));
        file.Close();
        return true;
    } catch (const CGenericException&) {
        return false;
    }
}

// The file is named in the refusal with the system's cause, and in error.txt.
void NotCopied(std::vector<std::string>& failed, const char* name)
{
    const DWORD error = GetLastError();
    failed.push_back(name);
    const bool folderMissing = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) &&
                               (FileExists(DataFilePath(name).c_str()) || !FolderExists(UnrestoreFolderPath()));
    if (folderMissing)
        NoteFileFailure(name, "the UNRESTORE folder is missing or is not a folder");
    else
        NoteFileError(name, error);
    char description[400];
    FormatLastErrorText(error, description, sizeof description);
    WriteErrorLog("CopyDataFilesToUnrestore(): ", (std::string(name) + " could not be copied into the UNRESTORE "
                                                   "folder" + description).c_str());
}

bool WriteMarker(const BackupStamp& now)
{
    const int month = now.month >= 1 && now.month <= 12 ? now.month : 0;
    return WriteText(InUndoFolder(BackupFileName(now, ".txt").c_str()),
                     UnrestoreMarkerText(MonthNames[month], now));
}

struct SetContents {
    std::vector<const char*> held;
    std::vector<const char*> absent;
};

bool Lists(const std::vector<const char*>& names, const char* name)
{
    for (const char* listed : names)
        if (lstrcmpiA(listed, name) == 0)
            return true;
    return false;
}

// The program's own name of a file the list may name (compared without
// regard to case), or null.
const char* KnownName(const std::string& listed)
{
    for (const char* table : kUnrestoreTables) {
        if (lstrcmpiA(listed.c_str(), table) == 0)
            return table;
    }
    for (const char* table : kOptionalTables) {
        if (lstrcmpiA(listed.c_str(), table) == 0)
            return table;
    }
    return nullptr;
}

bool IsRequiredTable(const char* name)
{
    for (const char* table : kUnrestoreTables) {
        if (table == name)
            return true;
    }
    return false;
}

// False when the copy has no list of its contents that names each of the
// seven tables once as held and each optional file at most once (a copy cut
// short, or a list written by anyone but the program). The names kept are
// the program's own, never the list's text.
bool ReadContents(SetContents& contents)
{
    std::string text;
    if (!ReadSmallFile(InUndoFolder(kContentsName), kMaxContentsSize, text))
        return false;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string kind, listed, extra;
        if (!(words >> kind))
            continue;
        const char* name = (words >> listed) && !(words >> extra) ? KnownName(listed) : nullptr;
        if (!name || (kind != "held" && kind != "absent") || (kind == "absent" && IsRequiredTable(name)) ||
            Lists(contents.held, name) || Lists(contents.absent, name))
            return false;
        (kind == "held" ? contents.held : contents.absent).push_back(name);
    }
    for (const char* table : kUnrestoreTables) {
        if (!Lists(contents.held, table))
            return false;
    }
    return true;
}
}

std::string UnrestoreFolderPath()
{
    return BackupFilePath(DataName::kUnrestoreFolder);
}

bool HasCompleteUnrestoreSet()
{
    SetContents contents;
    if (!ReadContents(contents))
        return false;
    const std::string folder = UnrestoreFolderPath();
    for (const char* name : contents.held) {
        if (!FileExistsInFolder(folder.c_str(), name))
            return false;
    }
    return true;
}

bool CopyDataFilesToUnrestore(const BackupStamp& now, std::vector<std::string>& failed)
{
    failed.clear();
    EnsureBackupFolderQuietly();
    const std::string folder = UnrestoreFolderPath();
    if (!FolderExists(folder))
        CreateDirectoryA(folder.c_str(), nullptr);
    // A list left by an earlier copy goes first: until the new one is
    // written, the folder does not count as a copy. So do its print and its
    // marker, which the new copy's would otherwise meet.
    DeleteFileA(InUndoFolder(kContentsName).c_str());
    DeleteFileA(InUndoFolder(kPrintName).c_str());
    ForEachFileMatch(InUndoFolder("*.txt"), [](const WIN32_FIND_DATAA& match) {
        if (IsBackupFileName(match.cFileName))
            DeleteFileA(InUndoFolder(match.cFileName).c_str());
        return true;
    });
    std::string contents;
    for (const char* table : kUnrestoreTables) {
        if (!CopyFileA(DataFilePath(table).c_str(), InUndoFolder(table).c_str(), FALSE))
            NotCopied(failed, table);
        contents += std::string("held ") + table + "\r\n";
    }
    for (const char* table : kOptionalTables) {
        const std::string source = DataFilePath(table);
        if (FileExists(source.c_str())) {
            if (!CopyFileA(source.c_str(), InUndoFolder(table).c_str(), FALSE))
                NotCopied(failed, table);
            contents += std::string("held ") + table + "\r\n";
        } else {
            DeleteFileA(InUndoFolder(table).c_str());
            contents += std::string("absent ") + table + "\r\n";
        }
    }
    if (failed.empty() && !WriteText(InUndoFolder(kContentsName), contents))
        NotCopied(failed, kContentsName);
    const std::string marker = BackupFileName(now, ".txt");
    if (failed.empty() && !WriteMarker(now))
        NotCopied(failed, marker.c_str());
    // A copy that is not whole could not put everything back: none is kept.
    if (!failed.empty())
        DeleteUnrestoreSet();
    return failed.empty();
}

bool WriteRestoredPrint(const std::string& print)
{
    return WriteText(InUndoFolder(kPrintName), print);
}

std::string ReadRestoredPrint()
{
    std::string print;
    return ReadSmallFile(InUndoFolder(kPrintName), kMaxPrintSize, print) ? print : std::string();
}

std::string UndoneFilesPrint()
{
    CBytesPrint print;
    auto add = [&print](const char* name) {
        if (lstrcmpiA(name, DataName::kNotesTable) == 0 || lstrcmpiA(name, DataName::kNotesMemo) == 0)
            return;
        const std::string path = DataFilePath(name);
        std::string bytes;
        if (!FileExists(path.c_str())) {
            print.Add(std::string(name) + " absent");
        } else if (ReadSmallFile(path, kMostUndoneFileBytes, bytes)) {
            print.Add(std::string(name) + " held");
            print.Add(bytes);
        } else {
            // A file that cannot be read now counts as changed: the copy is made anew.
            char unique[13];
            MakeUniqueName(unique, sizeof unique);
            print.Add(std::string(name) + " unread " + unique);
        }
    };
    for (const char* table : kUnrestoreTables)
        add(table);
    for (const char* table : kOptionalTables)
        add(table);
    return print.Text("pieces");
}

bool FindUnrestoreMarker(std::string& text, BackupStamp& date)
{
    EnsureBackupFolderQuietly();
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

bool PlanUnrestoreSetBack(CFileSetReplacement& replacement)
{
    EnsureBackupFolderQuietly();
    SetContents contents;
    if (!ReadContents(contents))
        return false;
    for (const char* name : contents.held)
        replacement.Replace(InUndoFolder(name), name);
    // A file the data folder did not have before the restore goes again, so
    // that what the restore wrote there (its groups, its associations) goes too.
    for (const char* name : contents.absent)
        replacement.Remove(name);
    return true;
}

bool DeleteUnrestoreSet()
{
    // A replacement not yet put right may need the copy to get the notes back.
    if (IsReplacementUnfinished())
        return false;
    const std::string folder = UnrestoreFolderPath();
    return !FolderExists(folder) || DeleteDirectoryTree(folder.c_str());
}
