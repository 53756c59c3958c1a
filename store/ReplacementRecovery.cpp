#include "store/ReplacementRecovery.h"

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/FileSetReplacement.h"
#include "store/FileStepFailures.h"
#include "store/ReplacedFileSteps.h"
#include "store/ReplacementAdvice.h"
#include "store/SaveSteps.h"

namespace {
const char kReplacementRecoveryLogPrefix[] = "RecoverInterruptedReplacement(): ";

void Tell(const std::string& text, bool stopping)
{
    WriteErrorLog(kReplacementRecoveryLogPrefix, text.c_str());
    if (stopping)
        ShowErrorMessage(nullptr, text.c_str(), ProgramTitle);
    else
        ShowInfoMessage(nullptr, text.c_str(), ProgramTitle);
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

bool AnyCopyThere(const ReplacementRecord& record)
{
    for (const ReplacedFile& file : record.files) {
        if (FileExists(KeptCopyPath(file.name).c_str()) || FileExists(StagedCopyPath(file.name).c_str()))
            return true;
    }
    return false;
}

// What a restore wrote into the backup folder for its copies goes with them.
void RemoveRestoreTemplates(const ReplacementRecord& record)
{
    if (record.kind != ReplacementKind::kRestore)
        return;
    for (const char* name : {DataName::kEmptyNotesTableCopy, DataName::kEmptyNotesMemoCopy,
                             DataName::kEmptiedTransactionsCopy}) {
        const std::string path = DataFilePath(name);
        if (FileExists(path.c_str()) && !DeleteFileA(path.c_str()))
            WriteLastErrorLog((std::string(kReplacementRecoveryLogPrefix) + "could not delete " + name).c_str());
    }
}

// Settles the record of a set made whole; when the record cannot say so, the
// start must not load any table (the next start would put the same copies
// back over whatever was saved meanwhile): the user is told, naming the
// record.
bool SettledOrStopped(const ReplacementRecord& record, const std::string& done)
{
    if (SettleReplacement(record, kReplacementRecoveryLogPrefix)) {
        RemoveRestoreTemplates(record);
        return true;
    }
    const std::string path = DataFilePath(DataName::kReplacementRecord);
    Tell(DidNotFinish(record) + ListedNames(record) + "\r\n\r\n" + done + ", but the record of " +
             ShortOperation(record) + " (" + DataName::kReplacementRecord +
             ") could not be updated to say so: " + WhyNotWritable(path) +
             ".\r\n\r\nWhile that record says that files are being replaced, Quillnet+ loads no note, so it ends "
             "now. Start it again once " + OnceFreed(path) + ": it does the same again, then starts.",
         true);
    return false;
}

bool ReplacementHeld(const ReplacementRecord& record, const std::vector<std::string>& failed, const std::string& goal)
{
    Tell(DidNotFinish(record) + ListedNames(record) + "\r\n\r\nQuillnet+ " + goal +
             ", but these files could not be written now:" + ListedWithCauses(failed) +
             "\r\n\r\nNothing was deleted. Quillnet+ ends now; start it again " +
             (AnyHeldAmong(failed) ? "once the other program has let go of the files."
                                   : "once that is put right (for a full disk, once there is room on it)."),
         true);
    return false;
}

bool GoBack(ReplacementRecord record)
{
    std::vector<std::string> failed;
    for (auto file = record.files.rbegin(); file != record.files.rend(); ++file) {
        if (!PutOldVersionBack(*file, kReplacementRecoveryLogPrefix))
            failed.push_back(file->name);
        else
            PassSaveStep(SaveStep::kReplacementReturned);
    }
    const std::string before = std::string("before ") + ShortOperation(record);
    if (!failed.empty())
        return ReplacementHeld(record, failed, "tried to put back the files of " + before);
    record.state = ReplacementState::kKeptOld;
    if (!SettledOrStopped(record, "They were put back as they were " + before))
        return false;
    std::string text = DidNotFinish(record) + ListedNames(record) + "\r\n\r\nThey were put back as they were " +
                       before + ", so your notes are as they were then.";
    text += record.kind == ReplacementKind::kUndo
                ? " The copy kept for undoing the restore is still there: you can choose Unrestore again."
                : " You can make the restore again.";
    Tell(text, false);
    return true;
}

bool GoForward(ReplacementRecord record)
{
    std::vector<std::string> failed;
    for (const ReplacedFile& file : record.files) {
        if (!CopyNewVersionIn(file, kReplacementRecoveryLogPrefix))
            failed.push_back(file.name);
    }
    if (!failed.empty())
        return ReplacementHeld(record, failed, "tried to finish the undo");
    record.state = ReplacementState::kKeptNew;
    if (!SettledOrStopped(record, "The copies of before it were not all there, so the undo was finished"))
        return false;
    Tell(DidNotFinish(record) + ListedNames(record) +
             "\r\n\r\nThe copies of before it were not all there, so the undo was finished: your notes are those "
             "of before the restore.",
         false);
    return true;
}

// The box gives the way back by hand; error.txt also what each copy holds,
// which for the eleven files of an undo would make a box taller than the
// screen.
bool Stuck(const ReplacementRecord& record)
{
    const std::string head = DidNotFinish(record) + ListedNames(record) +
                             "\r\n\r\nNeither the files of before nor the new ones are all there. ";
    const std::string tail = "Quillnet+ does not start, so that none of these files is overwritten, and it deleted "
                             "nothing. Keep a copy of the data folder (" +
                             GetDataFolder() + ") before changing anything in it." + WayBackByHand(record);
    WriteErrorLog(kReplacementRecoveryLogPrefix, (head + "This is what the data folder holds of them:" + WhatEachFileHolds(record) +
                               "\r\n\r\n" + tail)
                                  .c_str());
    ShowErrorMessage(nullptr, (head + "What each of their copies holds is written in " + DataName::kErrorLog +
                               ".\r\n\r\n" + tail)
                                  .c_str(),
                     ProgramTitle);
    return false;
}

bool WithoutCopies(const ReplacementRecord& record)
{
    Tell(DidNotFinish(record) + ListedNames(record) + "\r\n\r\nIts record (" + DataName::kReplacementRecord +
             ") is in the data folder, but none of the copies it keeps beside the data files is there, so "
             "Quillnet+ cannot tell which version each file holds. This is what the data folder holds of them:" +
             WhatIsPresent(record) +
             "\r\n\r\nQuillnet+ does not start, and it deleted nothing. The data files are as the last step of " +
             ShortOperation(record) + " left them; moving " + DataName::kReplacementRecord +
             " out of the data folder (" + GetDataFolder() + ") lets Quillnet+ start with them.",
         true);
    return false;
}

bool RecordHeld(unsigned long error)
{
    const std::string path = DataFilePath(DataName::kReplacementRecord);
    Tell(std::string("Quillnet+ cannot read the record of a restore or an undo of a restore (") +
             DataName::kReplacementRecord + ") in the data folder (" + GetDataFolder() + "): " +
             FileErrorCause(error) +
             ".\r\n\r\nThat record tells which data files to put right before any note is loaded. Nothing was "
             "changed. Quillnet+ ends now; start it again once " +
             OnceFreed(path) + ".",
         true);
    return false;
}

bool DamagedRecordAlone()
{
    Tell(std::string("Quillnet+ found the record of a restore or an undo of a restore (") +
             DataName::kReplacementRecord +
             ") in the data folder, but it is not a record that Quillnet+ wrote whole, and no copy of a data file "
             "lies beside it.\r\n\r\nQuillnet+ does not start, and it deleted nothing. The data files are as the "
             "last step of that restore or undo left them; moving " +
             DataName::kReplacementRecord + " out of the data folder (" + GetDataFolder() +
             ") lets Quillnet+ start with them.",
         true);
    return false;
}

bool CopiesWithoutRecord(const std::vector<std::string>& copies, bool recordUnreadable)
{
    std::string text = "Quillnet+ found copies of data files that a restore or an undo of a restore left when it "
                       "did not finish";
    text += recordUnreadable ? std::string(", and its record (") + DataName::kReplacementRecord + ") cannot be read:"
                             : ":";
    text += ListedNames(copies) +
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
    unsigned long openError = 0;
    const RecordFound found = ReadReplacementRecord(record, &openError);
    // Held, the record may say that the set was kept: nothing is touched
    // and no copy is offered, whatever lies beside it.
    if (found == RecordFound::kHeld)
        return RecordHeld(openError);
    if (found != RecordFound::kWhole) {
        const std::vector<std::string> copies = LeftReplacementCopies();
        if (found == RecordFound::kNone)
            return copies.empty() || CopiesWithoutRecord(copies, false);
        if (copies.empty())
            return DamagedRecordAlone();
        std::vector<std::string> named{DataName::kReplacementRecord};
        named.insert(named.end(), copies.begin(), copies.end());
        return CopiesWithoutRecord(named, true);
    }
    if (record.state != ReplacementState::kMoving) {
        // The set was whole already: only its copies were left to remove. A
        // record that cannot be settled now still says so to the next start.
        if (record.state == ReplacementState::kPreparing)
            record.state = ReplacementState::kKeptOld;
        if (SettleReplacement(record, kReplacementRecoveryLogPrefix))
            RemoveRestoreTemplates(record);
        return true;
    }
    if (!AnyCopyThere(record))
        return WithoutCopies(record);
    if (AllKeptCopiesThere(record))
        return GoBack(record);
    // A restore never goes forward: its new set has none of the user's notes.
    if (record.kind == ReplacementKind::kUndo && AllNewVersionsThere(record))
        return GoForward(record);
    return Stuck(record);
}
