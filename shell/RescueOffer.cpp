#include <winsock2.h>

#include "shell/RescueOffer.h"

#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/FileSearch.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/ProgramGlobals.h"
#include "shell/BackupRestore.h"
#include "shell/RescueBackup.h"
#include "shell/WindowController.h"
#include "xmlfiles/BackupList.h"

namespace {
const char kRescueOfferLogPrefix[] = "CRescueOffer: ";
// A mark is a few lines of the program's own.
const DWORD kMostMarkBytes = 4096;

struct FoundMark {
    std::string path;
    std::string rescuePath;
    FILETIME written{};
    bool unstored = false;
    // The write of the notes table its backup was measured against, as the
    // mark tells it.
    bool measuredKnown = false;
    unsigned long long measured = 0;
};

// The marks of earlier runs in the folders of rescue backups; unstored when
// its rescue backup is there and no save wrote the notes table since it was
// measured against it, or a start has offered it and the user has not
// answered yet.
std::vector<FoundMark> MarksOfEarlierRuns(const CRescueBackup& rescue)
{
    std::vector<FoundMark> found;
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
                            ReadRescueMarkTableTime(text, markedTime) &&
                            (markedTime == kRescueMarkAwaitsAnswer || !NotesStoredSinceRescue(mark.rescuePath));
            mark.measuredKnown = ReadRescueMarkMeasuredTime(text, mark.measured);
            found.push_back(mark);
            return true;
        });
    }
    return found;
}

void DeleteMark(const std::string& path)
{
    if (!DeleteFileA(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        WriteErrorLog(kRescueOfferLogPrefix, ("the mark could not be deleted: " + path).c_str());
}

// The mark tells every later start of its backup until the user answers,
// and keeps what the backup was measured against for the answer's restore.
void KeepUntilAnswered(const FoundMark& mark)
{
    const std::string& markPath = mark.path;
    const std::string text =
        RescueMarkAwaitingText(FileNameOf(mark.rescuePath), mark.measuredKnown ? &mark.measured : nullptr);
    DeleteFileA(markPath.c_str());
    const DWORD error = WriteNewFile(markPath, text.data(), static_cast<DWORD>(text.size()));
    if (error != ERROR_SUCCESS) {
        char description[400] = "";
        FormatLastErrorText(error, description, sizeof description);
        WriteErrorLog(kRescueOfferLogPrefix, ("the mark could not be written: " + markPath + description).c_str());
    }
}
}

void CRescueOffer::Decide(const CRescueBackup& rescue)
{
    const std::vector<FoundMark> marks = MarksOfEarlierRuns(rescue);
    const FoundMark* newest = nullptr;
    for (const FoundMark& mark : marks) {
        if (mark.unstored && (!newest || CompareFileTime(&mark.written, &newest->written) > 0))
            newest = &mark;
    }
    for (const FoundMark& mark : marks) {
        if (&mark == newest)
            continue;
        if (mark.unstored)
            m_olderMarks.push_back(mark.path);
        else
            DeleteMark(mark.path);
    }
    if (!newest)
        return;
    m_rescuePath = newest->rescuePath;
    m_markPath = newest->path;
    KeepUntilAnswered(*newest);
}

void CRescueOffer::Offer(CWindowController& app)
{
    if (m_rescuePath.empty() || GetProgramFlags().closing)
        return;
    const std::string rescuePath = m_rescuePath;
    m_rescuePath.clear();
    const std::string question =
        "When Quillnet+ ended last time, some changes to your notes could not be stored. Your notes, as they were "
        "then, are kept in this backup file:\r\n    " +
        rescuePath +
        "\r\n\r\nRestore your notes from it now? You can also restore it later with the 'Restore...' tray icon menu "
        "option.";
    const bool yes =
        ShowMessageBox(app.GetWindow(), question.c_str(), ProgramTitle, kMbYesNo | kMbIconQuestion) == kIdYes;
    const bool notMadeNow = yes && RestoreBackupFile(app, rescuePath) == RestoreOutcome::kNotMade;
    for (const std::string& mark : m_olderMarks)
        DeleteMark(mark);
    m_olderMarks.clear();
    if (notMadeNow)
        WriteErrorLog(kRescueOfferLogPrefix, (rescuePath + " could not be restored now: the next start offers it again").c_str());
    else
        DeleteMark(m_markPath);
}
