#include "store/DataFileChecks.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/GenericFile.h"
#include "foundation/HeldFileWait.h"
#include "foundation/ResourceData.h"
#include "foundation/StartupValues.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/FileStepFailures.h"
#include "store/NotesFiles.h"

namespace {
const WORD kEmptyNotesResource = 729;
// How the program opens each data file that it reads at start: the tables
// and the settings memo file for reading and writing, alone; the notes memo
// file for reading and writing, sharing both, so that a reader that lets it be
// written is no reason to stop (its new versions are put in its place at a
// save, and a holder that keeps that from happening is named by the question
// of the exit, with every edit kept); the settings files for reading, sharing
// that with readers, and for putting a new version in their place
// ("webSearch.QPD" is only read, sharing it with readers, and a failure there
// is only logged).
struct OpenedAs {
    const char* name;
    DWORD access;
    DWORD sharing;
};
const DWORD kTableAccess = GENERIC_READ | GENERIC_WRITE | DELETE;
const DWORD kMemoAccess = GENERIC_READ | GENERIC_WRITE;
const DWORD kMemoSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
const DWORD kSettingsFileAccess = GENERIC_READ | DELETE;
const OpenedAs kDataFilesReadAtStart[] = {
    {DataName::kSettingsTable, kTableAccess, 0},
    {DataName::kSettingsMemo, kTableAccess, 0},
    {DataName::kUsersTable, kTableAccess, 0},
    {DataName::kNotesTable, kTableAccess, 0},
    {DataName::kNotesMemo, kMemoAccess, kMemoSharing},
    {DataName::kSentToTable, kTableAccess, 0},
    {DataName::kTransactionsTable, kTableAccess, 0},
    {DataName::kSoundsTable, kTableAccess, 0},
    {DataName::kNoteManagerSettings, kSettingsFileAccess, FILE_SHARE_READ},
    {DataName::kApplicationAssociations, kSettingsFileAccess, FILE_SHARE_READ},
    {DataName::kCalendarSettings, kSettingsFileAccess, FILE_SHARE_READ},
};

// A data file found held, looked at again until it is let go.
struct WatchedFile {
    std::string path;
    const OpenedAs* opened;

    bool HeldNow() const { return FileHeldNow(path.c_str(), opened->access, opened->sharing); }
};

void NoteWaitingFor(const std::vector<WatchedFile>& held)
{
    std::string names;
    for (const WatchedFile& file : held)
        names += (names.empty() ? "" : ", ") + FileNameOf(file.path);
    NoteStartWaitingFor(names, held.size() > 1);
}

// Where the file should have been, as the messages put it.
std::string PlaceOf(int kind, bool forAccess)
{
    const StartupValues& values = GetStartupValues();
    std::string working = values.workingFolder;
    switch (kind) {
    case kDataFileForInstall:
    case kDataFileOfProgramFolder:
        return forAccess ? working + "' directory AND its subdirectories."
                         : "Quillnet+\r\n program directory '" + working + "' AND its subdirectories.";
    case kDataFileOfTemplateFolder:
        return (forAccess ? "" : "'") + working + "\\QlData' subdirectory" + (forAccess ? "." : "");
    case kDataFileOfUserFolder:
        return (forAccess ? "" : "'") + working + "\\" + values.commandLineUser + "' subdirectory";
    default:
        return std::string();
    }
}

std::string Keep(const std::string& name)
{
    return DataFilePath(name.c_str());
}

// The file that survived keeps its bytes under a name of its own before the
// pair is made anew, so that a restore can still reach what it held.
void KeepSurvivor(const char* name)
{
    std::string path = Keep(name);
    if (!FileExists(path.c_str()))
        return;
    std::string kept = path + ".kept";
    MoveFileExA(path.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING);
    WriteErrorLog("WinMain():", ("The surviving file was kept as '" + kept + "'.").c_str());
}

bool RenameWorkingCopy(const char* original, const char* workingCopy, const char* text)
{
    if (FileExists(Keep(original).c_str()) || !FileExists(Keep(workingCopy).c_str()))
        return false;
    WriteErrorLog("WinMain():", text);
    return MoveFileA(Keep(workingCopy).c_str(), Keep(original).c_str()) != 0;
}
}

std::string FindHeldDataFile()
{
    std::vector<WatchedFile> held;
    for (const OpenedAs& opened : kDataFilesReadAtStart) {
        WatchedFile file{DataFilePath(opened.name), &opened};
        if (file.HeldNow())
            held.push_back(file);
    }
    if (held.empty())
        return std::string();
    NoteWaitingFor(held);
    for (int look = 0; look < kHeldFileLooks && !held.empty(); ++look) {
        Sleep(kPauseBetweenHeldFileLooks);
        held.erase(std::remove_if(held.begin(), held.end(), [](const WatchedFile& file) { return !file.HeldNow(); }),
                   held.end());
    }
    return held.empty() ? std::string() : held.front().path;
}

std::string HeldDataFileText(const std::string& path)
{
    const std::string name = FileNameOf(path);
    return name + " is in use by another program, so Quillnet+ can neither read nor save it.\r\n\r\nPlease close "
                  "the program that uses " + name + " and start Quillnet+ again.";
}

bool RequireDataFile(const char* path, int kind)
{
    if (FileExists(path))
        return true;
    std::string text = std::string("- The '") + path +
                       (kind == kDataFileForInstall ? "' data file needed to install(upgrade) Quillnet+ is missing.\r\n"
                                                    : "' data file needed to run Quillnet+ is missing.\r\n") +
                       "- Please check if you haven't deleted this file by accident and if your user account \r\n'" +
                       GetStartupValues().userName + "' is granted write permission and can create files in the " +
                       PlaceOf(kind, false) + "\r\n\r\n- Quillnet+ will now stop.";
    ShowErrorMessage(nullptr, text.c_str(), ProgramTitle);
    return false;
}

bool CheckDataFileAccess(const char* path, int kind)
{
    try {
        CGenericFile file;
        file.OpenShared(path);
        return true;
    } catch (const CGenericException& failure) {
        if (IsHeldFileError(failure.GetErrorCode()))
            throw;
    }
    const char* user = GetStartupValues().userName;
    std::string text = std::string("- Sorry, your current '") + user +
                       "' user account doesn't have enough file access rights to properly use the Quillnet+ program "
                       "directory.\r\n\r\n- Please log off your system, then log in as an Administrator and grant to '" +
                       user + "'\r\nthe file read and file write rights for the '" + PlaceOf(kind, true) +
                       "\r\n\r\nIf you don't know how to do this, please see your network administrator.\r\n\r\n- "
                       "Quillnet+ will now stop. ";
    ShowErrorMessage(nullptr, text.c_str(), ProgramTitle);
    return false;
}

bool RepairNotesTable()
{
    if (!FinishInterruptedRebuild()) {
        std::string text = std::string(kRebuildWaitingText) + "\r\n\r\n- Quillnet+ will now stop. Please start it again "
                                                                "when the other program has let go of the files.";
        WriteErrorLog("WinMain():", text.c_str());
        ShowErrorMessage(nullptr, text.c_str(), ProgramTitle);
        return false;
    }
    RenameWorkingCopy(DataName::kNotesTable, DataName::kNotesWorkingTable,
                      "When Quillnet+ starts, the 'notes.qpd' data file is missing.\r\nThe 'notesTemp.QPD' data file "
                      "exists. Rename the working file as the original data file.");
    RenameWorkingCopy(DataName::kNotesMemo, DataName::kNotesWorkingMemo,
                      "The 'notes.qps' memo file is missing.\r\nThe 'notesTemp.QPS' memo file exists. Rename the "
                      "working file as the original data file.");
    bool tableMissing = !FileExists(Keep(DataName::kNotesTable).c_str());
    bool memoMissing = !FileExists(Keep(DataName::kNotesMemo).c_str());
    if (!tableMissing && !memoMissing)
        return true;

    std::string text = std::string(tableMissing ? "The 'notes.qpd' data file" : "The 'notes.qps' memo file") +
                       " needed to run Quillnet+ is missing!\r\n\r\nQuillnet+ will recreate an empty set of data "
                       "files.\r\n\r\nPlease use the 'Restore...' tray icon menu option to get your notes back.";
    WriteErrorLog("WinMain():", text.c_str());
    ShowWarningMessage(nullptr, text.c_str(), ProgramTitle);
    KeepSurvivor(DataName::kNotesTable);
    KeepSurvivor(DataName::kNotesMemo);

    CResourceData table(kEmptyNotesResource, "QPD");
    if (!table.IsCustomResourceLoaded() || !table.CopyResourceToFile(Keep(DataName::kNotesTable).c_str()))
        return false;
    CResourceData memo(kEmptyNotesResource, "QPS");
    return memo.IsCustomResourceLoaded() && memo.CopyResourceToFile(Keep(DataName::kNotesMemo).c_str());
}
