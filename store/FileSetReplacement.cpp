#include "store/FileSetReplacement.h"

#include <windows.h>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/GenericException.h"
#include "store/FileStepFailures.h"
#include "store/FileStepRetries.h"
#include "store/ReplacedFileSteps.h"
#include "store/ReplacementAdvice.h"
#include "store/SaveSteps.h"

namespace {
const char kFileSetReplacementLogPrefix[] = "CFileSetReplacement: ";

const char kSealedCause[] = "a restore or an undo could not be finished or recorded; Quillnet+ writes no data "
                           "file until its next start puts the files right";
const char kLeftCopyCause[] = "a copy left by a restore or an undo of a restore that did not finish; the next start "
                              "of Quillnet+ says what it holds";

// The file is named in the refusal with the cause, also in error.txt.
void RefuseReplacement(std::vector<std::string>& failed, const std::string& name, const std::string& cause)
{
    failed.push_back(name);
    NoteFileFailure(name, cause);
    WriteErrorLog(kFileSetReplacementLogPrefix, (name + ": " + cause).c_str());
}

// A record that an earlier replacement left, and what the next start does with it.
std::string LeftRecordCause()
{
    ReplacementRecord record;
    const RecordFound found = ReadReplacementRecord(record);
    const std::string cause = "left by a restore or an undo of a restore that did not finish; ";
    if (found == RecordFound::kWhole && record.state == ReplacementState::kMoving)
        return cause + "the next start of Quillnet+ puts back the files it names as they were before that " +
               (record.kind == ReplacementKind::kUndo ? "undo" : "restore");
    if (found == RecordFound::kWhole)
        return cause + "the next start of Quillnet+ removes it with the copies it names";
    if (found == RecordFound::kHeld)
        return cause + "another program is using it now; the next start of Quillnet+ acts on it once it is free";
    return cause + "it cannot be read, so the next start of Quillnet+ stops and says what the data folder holds";
}

std::string CheckedName(const char* dataFileName)
{
    const std::string name = ReplaceableDataFileName(dataFileName ? dataFileName : "");
    if (name.empty())
        throw CGenericException("CFileSetReplacement: not a data file that may be replaced");
    return name;
}
}

CFileSetReplacement::~CFileSetReplacement()
{
    if (m_prepared)
        Abandon();
    if (m_committed) {
        std::vector<std::string> failed;
        RevertMoved(failed);
    }
}

void CFileSetReplacement::Replace(const std::string& source, const char* dataFileName)
{
    m_steps.push_back(Step{source, CheckedName(dataFileName)});
}

void CFileSetReplacement::Remove(const char* dataFileName)
{
    m_steps.push_back(Step{std::string(), CheckedName(dataFileName)});
}

bool CFileSetReplacement::Prepare(std::vector<std::string>& failed)
{
    failed.clear();
    if (!AreDataFilesSealed())
        TidySettledReplacement();
    if (AreDataFilesSealed())
        RefuseReplacement(failed, DataName::kReplacementRecord, kSealedCause);
    else if (FileExists(DataFilePath(DataName::kReplacementRecord).c_str()))
        RefuseReplacement(failed, DataName::kReplacementRecord, LeftRecordCause());
    for (const Step& step : m_steps) {
        if (FileExists(KeptCopyPath(step.name).c_str()))
            RefuseReplacement(failed, step.name + kKeptSuffix, kLeftCopyCause);
    }
    // The record never calls one of these absent: going back would delete it.
    for (const char* table : kWholeSetTables) {
        if (!FileExists(DataFilePath(table).c_str()))
            RefuseReplacement(failed, table, "it is missing from the data folder");
    }
    if (!failed.empty())
        return false;
    for (Step& step : m_steps) {
        step.existed = FileExists(DataFilePath(step.name.c_str()).c_str());
        step.moved = false;
    }
    // A stop while the copies are made leaves the record to say that nothing
    // was moved yet, so the next start only removes them.
    if (!WriteRecord(ReplacementState::kPreparing)) {
        RefuseReplacement(failed, DataName::kReplacementRecord, "it could not be written; error.txt says why");
        return false;
    }
    m_prepared = true;
    // Each copy reaches the disk before the record says that files move: the
    // next start may copy it over its target.
    for (const Step& step : m_steps) {
        const std::string target = DataFilePath(step.name.c_str());
        if (!step.source.empty() && !CopyFlushed(step.source, StagedCopyPath(step.name)))
            RefuseReplacement(failed, FileNameOf(step.source), FileErrorCause(GetLastError()));
        else if (step.existed && !CopyFlushed(target, KeptCopyPath(step.name)))
            RefuseReplacement(failed, step.name, FileErrorCause(GetLastError()));
        else if (const unsigned long error = step.existed ? WriteBlockingError(target) : ERROR_SUCCESS)
            RefuseReplacement(failed, step.name, FileErrorCause(error));
    }
    if (failed.empty()) {
        PassSaveStep(SaveStep::kReplacementStaged);
        return true;
    }
    Abandon();
    m_prepared = false;
    return false;
}

bool CFileSetReplacement::WriteRecord(ReplacementState state) const
{
    ReplacementRecord record;
    record.kind = m_kind;
    record.state = state;
    for (const Step& step : m_steps)
        record.files.push_back(ReplacedFile{step.name, step.source.empty(), step.existed});
    return WriteReplacementRecord(record);
}

bool CFileSetReplacement::Commit(std::vector<std::string>& failed, std::vector<std::string>& notReturned)
{
    failed.clear();
    notReturned.clear();
    if (!m_prepared)
        return false;
    m_prepared = false;
    if (!WriteRecord(ReplacementState::kMoving)) {
        failed.push_back(DataName::kReplacementRecord);
        Abandon();
        return false;
    }
    PassSaveStep(SaveStep::kReplacementRecorded);
    for (Step& step : m_steps) {
        const ReplacedFile file{step.name, step.source.empty(), step.existed};
        if (!MoveNewVersionIn(file, kFileSetReplacementLogPrefix)) {
            failed.push_back(step.name);
            break;
        }
        step.moved = true;
        PassSaveStep(SaveStep::kReplacementMoved);
    }
    if (failed.empty()) {
        m_committed = true;
        return true;
    }
    RevertMoved(notReturned);
    return false;
}

bool CFileSetReplacement::Keep()
{
    if (!m_committed)
        return false;
    m_committed = false;
    return Settle(ReplacementState::kKeptNew);
}

bool CFileSetReplacement::Revert(std::vector<std::string>& notReturned)
{
    notReturned.clear();
    if (!m_committed)
        return false;
    m_committed = false;
    return RevertMoved(notReturned);
}

// The files moved in get their kept bytes back, in the reverse order. When
// one cannot be returned, the record and every copy stay for the next start,
// and no data file is written until then.
bool CFileSetReplacement::RevertMoved(std::vector<std::string>& failed)
{
    m_committed = false;
    for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step) {
        if (!step->moved)
            continue;
        if (!PutOldVersionBack(ReplacedFile{step->name, step->source.empty(), step->existed}, kFileSetReplacementLogPrefix)) {
            failed.push_back(step->name);
            continue;
        }
        step->moved = false;
        PassSaveStep(SaveStep::kReplacementReturned);
    }
    if (!failed.empty()) {
        SealDataFiles();
        WriteErrorLog(kFileSetReplacementLogPrefix, "files could not be given their earlier bytes back; the data files stay as they "
                                  "are until the next start puts them right");
        return false;
    }
    return Settle(ReplacementState::kKeptOld);
}

// A record that still says "moving" sends the next start back to the old
// set over whatever was written meanwhile: nothing more is written.
bool CFileSetReplacement::Settle(ReplacementState state)
{
    ReplacementRecord record;
    record.kind = m_kind;
    record.state = state;
    for (const Step& step : m_steps)
        record.files.push_back(ReplacedFile{step.name, step.source.empty(), step.existed});
    if (SettleReplacement(record, kFileSetReplacementLogPrefix))
        return true;
    SealDataFiles();
    return false;
}

bool CFileSetReplacement::RemoveCopies()
{
    bool allGone = true;
    for (const Step& step : m_steps)
        allGone = RemoveReplacementCopies(ReplacedFile{step.name, step.source.empty(), step.existed}, kFileSetReplacementLogPrefix) &&
                  allGone;
    return allGone;
}

// A record without its copies would say nothing of them; copies without a
// record stop the next start.
void CFileSetReplacement::Abandon()
{
    if (RemoveCopies())
        DeleteReplacementRecord(kFileSetReplacementLogPrefix);
}

std::vector<std::string> LeftReplacementCopies()
{
    std::vector<std::string> left;
    for (const char* name : kReplaceableDataFiles) {
        for (const std::string& path : {KeptCopyPath(name), StagedCopyPath(name)}) {
            if (FileExists(path.c_str()))
                left.push_back(FileNameOf(path));
        }
    }
    return left;
}

bool IsReplacementUnfinished()
{
    if (FileExists(DataFilePath(DataName::kReplacementRecord).c_str()))
        return true;
    for (const char* name : kReplaceableDataFiles) {
        if (FileExists(KeptCopyPath(name).c_str()))
            return true;
    }
    return false;
}
