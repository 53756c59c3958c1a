#include "store/ReplacementRecovery.h"

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/FileSetReplacement.h"
#include "store/ReplacedFileSteps.h"
#include "store/SaveSteps.h"

namespace {
const char kLogPrefix[] = "RecoverInterruptedReplacement(): ";

const char* Operation(const ReplacementRecord& record)
{
    return record.kind == ReplacementKind::kUndo ? "an undo of a restore" : "a restore";
}

const char* ShortOperation(const ReplacementRecord& record)
{
    return record.kind == ReplacementKind::kUndo ? "the undo" : "the restore";
}

std::string Listed(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "\r\n    " + line;
    return text;
}

void Tell(const std::string& text, bool stopping)
{
    WriteErrorLog(kLogPrefix, text.c_str());
    if (stopping)
        ShowErrorMessage(nullptr, text.c_str(), ProgramTitle);
    else
        ShowInfoMessage(nullptr, text.c_str(), ProgramTitle);
}

std::string StoppedWhile(const ReplacementRecord& record)
{
    return std::string("Quillnet+ was stopped while ") + Operation(record) + " replaced these data files:";
}

std::vector<std::string> Names(const ReplacementRecord& record)
{
    std::vector<std::string> names;
    for (const ReplacedFile& file : record.files)
        names.push_back(file.name);
    return names;
}

bool AllKeptCopiesThere(const ReplacementRecord& record)
{
    for (const ReplacedFile& file : record.files) {
        if (file.existed && !FileExists(KeptCopyPath(file.name).c_str()))
            return false;
    }
    return true;
}

bool AllNewVersionsThere(const ReplacementRecord& record)
{
    for (const ReplacedFile& file : record.files) {
        if (!file.removed && !FileExists(StagedCopyPath(file.name).c_str()))
            return false;
    }
    return true;
}

// Each file of the record, and what each of its copies holds.
std::vector<std::string> WhatEachFileHolds(const ReplacementRecord& record)
{
    const std::string operation = ShortOperation(record);
    std::vector<std::string> lines;
    for (const ReplacedFile& file : record.files) {
        const std::string kept = file.name + kKeptSuffix;
        const std::string staged = file.name + kStagedSuffix;
        lines.push_back(file.name + ": may hold either version, or be missing");
        if (file.existed)
            lines.push_back(kept + (FileExists(KeptCopyPath(file.name).c_str())
                                        ? ": " + file.name + " as it was before " + operation
                                        : ": missing (it held " + file.name + " as it was before " + operation + ")"));
        if (!file.removed && FileExists(StagedCopyPath(file.name).c_str()))
            lines.push_back(staged + ": " + file.name + " as " + operation + " would have left it");
    }
    return lines;
}

bool Stuck(const ReplacementRecord& record)
{
    Tell(StoppedWhile(record) + Listed(Names(record)) +
             "\r\n\r\nNeither the files of before nor the new ones are all there. This is what the data folder "
             "holds of them:" +
             Listed(WhatEachFileHolds(record)) +
             "\r\n\r\nQuillnet+ does not start, so that none of these files is overwritten, and it deleted "
             "nothing. Keep a copy of the data folder (" +
             GetDataFolder() + ") before changing anything in it.",
         true);
    return false;
}

bool Held(const ReplacementRecord& record, const std::vector<std::string>& failed, const char* goal)
{
    Tell(StoppedWhile(record) + Listed(Names(record)) + "\r\n\r\nIt " + goal +
             ", but these files could not be written now; another program may be using them:" + Listed(failed) +
             "\r\n\r\nNothing was deleted. Quillnet+ ends now; start it again once the other program has let go "
             "of the files.",
         true);
    return false;
}

bool GoBack(ReplacementRecord record)
{
    std::vector<std::string> failed;
    for (auto file = record.files.rbegin(); file != record.files.rend(); ++file) {
        if (!PutOldVersionBack(*file, kLogPrefix))
            failed.push_back(file->name);
        else
            PassSaveStep(SaveStep::kReplacementReturned);
    }
    if (!failed.empty())
        return Held(record, failed, (std::string("puts back the files of before ") + ShortOperation(record)).c_str());
    record.state = ReplacementState::kKeptOld;
    SettleReplacement(record, kLogPrefix);
    std::string text = StoppedWhile(record) + Listed(Names(record)) + "\r\n\r\nThey were put back as they were "
                       "before " + ShortOperation(record) + ", so your notes are as they were then.";
    if (record.kind == ReplacementKind::kUndo)
        text += " The copy kept for undoing the restore is still there: you can choose Unrestore again.";
    Tell(text, false);
    return true;
}

bool GoForward(ReplacementRecord record)
{
    std::vector<std::string> failed;
    for (const ReplacedFile& file : record.files) {
        if (!CopyNewVersionIn(file, kLogPrefix))
            failed.push_back(file.name);
    }
    if (!failed.empty())
        return Held(record, failed, "finishes the undo");
    record.state = ReplacementState::kKeptNew;
    SettleReplacement(record, kLogPrefix);
    Tell(StoppedWhile(record) + Listed(Names(record)) +
             "\r\n\r\nThe copies of before it were not all there, so the undo was finished: your notes are those "
             "of before the restore.",
         false);
    return true;
}

bool CopiesWithoutRecord(const std::vector<std::string>& copies, bool recordUnreadable)
{
    std::string text = "Quillnet+ found copies of data files that a restore or an undo of a restore left when it "
                       "was stopped half-way";
    text += recordUnreadable ? std::string(", and its record (") + DataName::kReplacementRecord + ") cannot be read:"
                             : ":";
    text += Listed(copies) +
            "\r\n\r\nA \".was\" file holds the file of the same name as it was before that restore or undo, a "
            "\".put\" file what it would have become. They may hold notes that the data files lack, so Quillnet+ "
            "does not start while they are there, and it deleted nothing. Keep a copy of the data folder (" +
            GetDataFolder() + "); to get the files of before back, put each \".was\" file in place of the file of "
            "the same name without \".was\", then move the other copies out of the folder.";
    Tell(text, true);
    return false;
}
}

bool RecoverInterruptedReplacement()
{
    ReplacementRecord record;
    bool present = false;
    if (!ReadReplacementRecord(record, present)) {
        std::vector<std::string> copies = LeftReplacementCopies();
        if (present)
            copies.insert(copies.begin(), DataName::kReplacementRecord);
        return copies.empty() || CopiesWithoutRecord(copies, present);
    }
    if (record.state != ReplacementState::kMoving) {
        // The set was whole already: only its copies were left to remove.
        if (record.state == ReplacementState::kPreparing)
            record.state = ReplacementState::kKeptOld;
        SettleReplacement(record, kLogPrefix);
        return true;
    }
    if (AllKeptCopiesThere(record))
        return GoBack(record);
    // A restore never goes forward: its new set has none of the user's notes.
    if (record.kind == ReplacementKind::kUndo && AllNewVersionsThere(record))
        return GoForward(record);
    return Stuck(record);
}
