#include "store/ReplacedFileSteps.h"

#include <windows.h>

#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/WorkingCopy.h"
#include "store/FileStepFailures.h"
#include "store/FileStepRetries.h"
#include "store/SaveSteps.h"

const char kKeptSuffix[] = ".was";
const char kStagedSuffix[] = ".put";

namespace {
// Where a copy is written whole before it takes the target's place.
const char kCopyingSuffix[] = ".back";
const DWORD kCopyPiece = 64 * 1024;
const DWORD kMaxRecordBytes = 4096;

bool GoneOrDeleted(const std::string& path)
{
    return DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
           GetLastError() == ERROR_PATH_NOT_FOUND;
}

// Every byte of the source into the target; false with the first failure's
// error as the last error.
bool CopyAll(HANDLE source, HANDLE target)
{
    std::vector<char> piece(kCopyPiece);
    for (;;) {
        DWORD read = 0, written = 0;
        if (!ReadFile(source, piece.data(), kCopyPiece, &read, nullptr))
            return false;
        if (read == 0)
            return FlushFileBuffers(target) != FALSE;
        if (!WriteFile(target, piece.data(), read, &written, nullptr))
            return false;
        if (written != read) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
    }
}
}

bool CopyFlushed(const std::string& from, const std::string& to)
{
    HANDLE source = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (source == INVALID_HANDLE_VALUE)
        return false;
    // A program that only reads the copy (a scanner looking at a new file)
    // does not keep it from being written.
    HANDLE target =
        CreateFileA(to.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        CloseHandle(source);
        SetLastError(error);
        return false;
    }
    const bool copied = CopyAll(source, target);
    const DWORD error = GetLastError();
    CloseHandle(target);
    CloseHandle(source);
    if (!copied) {
        DeleteFileA(to.c_str());
        SetLastError(error);
    }
    return copied;
}

namespace {
// The target takes a copy of the file's bytes in one step; the file stays.
bool CopyIntoPlace(const std::string& from, const std::string& target)
{
    const std::string copying = target + kCopyingSuffix;
    if (!CopyFlushed(from, copying))
        return false;
    if (ReplaceWithWorkingCopy(copying.c_str(), target.c_str()))
        return true;
    const DWORD error = GetLastError();
    DeleteFileA(copying.c_str());
    SetLastError(error);
    return false;
}

std::string TargetOf(const ReplacedFile& file)
{
    return DataFilePath(file.name.c_str());
}

// The step's outcome is kept for the file's name, for the box that may name it.
bool Noted(const ReplacedFile& file, bool done)
{
    if (done)
        ForgetFileFailure(file.name);
    else
        NoteFileError(file.name, GetLastError());
    return done;
}

bool Removed(const ReplacedFile& file, const char* logPrefix)
{
    const std::string target = TargetOf(file);
    return RetryFileStep({FileStepKind::kDelete, target}, [&] { return GoneOrDeleted(target); }, logPrefix,
                         ("\r\nError deleting file \"" + file.name + "\" Iteration ").c_str());
}
}

std::string KeptCopyPath(const std::string& name)
{
    return DataFilePath((name + kKeptSuffix).c_str());
}

std::string StagedCopyPath(const std::string& name)
{
    return DataFilePath((name + kStagedSuffix).c_str());
}

bool MoveNewVersionIn(const ReplacedFile& file, const char* logPrefix)
{
    if (file.removed)
        return Noted(file, !file.existed || Removed(file, logPrefix));
    const std::string staged = StagedCopyPath(file.name);
    const std::string target = TargetOf(file);
    const std::string failureText = "\r\nError moving file \"" + file.name + kStagedSuffix + "\" Iteration ";
    return Noted(file, RetryFileStep({FileStepKind::kRename, target},
                                     [&] { return ReplaceWithWorkingCopy(staged.c_str(), target.c_str()); },
                                     logPrefix, failureText.c_str()));
}

bool PutOldVersionBack(const ReplacedFile& file, const char* logPrefix)
{
    if (!file.existed)
        return Noted(file, Removed(file, logPrefix));
    const std::string kept = KeptCopyPath(file.name);
    const std::string target = TargetOf(file);
    return Noted(file,
                 RetryFileStep({FileStepKind::kCopy, target}, [&] { return CopyIntoPlace(kept, target); }, logPrefix,
                               ("\r\nError putting back file \"" + file.name + kKeptSuffix + "\" Iteration ").c_str()));
}

bool CopyNewVersionIn(const ReplacedFile& file, const char* logPrefix)
{
    if (file.removed)
        return Noted(file, Removed(file, logPrefix));
    const std::string staged = StagedCopyPath(file.name);
    const std::string target = TargetOf(file);
    return Noted(file,
                 RetryFileStep({FileStepKind::kCopy, target}, [&] { return CopyIntoPlace(staged, target); }, logPrefix,
                               ("\r\nError copying file \"" + file.name + kStagedSuffix + "\" Iteration ").c_str()));
}

bool RemoveReplacementCopies(const ReplacedFile& file, const char* logPrefix)
{
    bool all = true;
    for (const std::string& copy : {StagedCopyPath(file.name), KeptCopyPath(file.name),
                                    TargetOf(file) + kCopyingSuffix}) {
        if (!FileExists(copy.c_str()))
            continue;
        all = RetryFileStep({FileStepKind::kDelete, copy}, [&] { return GoneOrDeleted(copy); }, logPrefix,
                            ("\r\nError deleting file \"" + FileNameOf(copy) + "\" Iteration ").c_str()) &&
              all;
    }
    return all;
}

bool WriteReplacementRecord(const ReplacementRecord& record)
{
    const std::string text = FormatReplacementRecord(record);
    try {
        CWorkingCopy file(DataFilePath(DataName::kReplacementRecord).c_str());
        file.File().WriteToFile(text.data(), static_cast<DWORD>(text.size()));
        file.Commit();
        return true;
    } catch (const CGenericException& failure) {
        WriteErrorLog("WriteReplacementRecord(): ", failure.GetErrorText());
        return false;
    }
}

RecordFound ReadReplacementRecord(ReplacementRecord& record, unsigned long* openError)
{
    const std::string path = DataFilePath(DataName::kReplacementRecord);
    if (!FileExists(path.c_str()))
        return RecordFound::kNone;
    // Sharing reading only: a record that another program is writing is not
    // read half-written.
    HANDLE file = INVALID_HANDLE_VALUE;
    const bool opened = RetrySettlingStep(
        [&] {
            file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            return file != INVALID_HANDLE_VALUE || GetLastError() == ERROR_FILE_NOT_FOUND;
        },
        "ReadReplacementRecord(): ", "\r\nError opening the replacement record Iteration ");
    if (!opened) {
        if (openError)
            *openError = GetLastError();
        return RecordFound::kHeld;
    }
    if (file == INVALID_HANDLE_VALUE)
        return RecordFound::kNone;
    // A record names eleven files at the most: anything longer is not one.
    std::string text(kMaxRecordBytes + 1, '\0');
    DWORD read = 0;
    const bool whole = ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &read, nullptr) &&
                       read <= kMaxRecordBytes;
    CloseHandle(file);
    text.resize(read);
    return whole && ParseReplacementRecord(text, record) ? RecordFound::kWhole : RecordFound::kDamaged;
}

bool DeleteReplacementRecord(const char* logPrefix)
{
    const std::string path = DataFilePath(DataName::kReplacementRecord);
    return RetryFileStep({FileStepKind::kDelete, path}, [&] { return GoneOrDeleted(path); }, logPrefix,
                         "\r\nError deleting the replacement record Iteration ");
}

bool SettleReplacement(ReplacementRecord record, const char* logPrefix)
{
    // Without a record that says the set is whole, the copies are the only
    // way back, and the record is the only thing that tells which set is
    // whole: neither is deleted then.
    if (!RetrySettlingStep([&] { return WriteReplacementRecord(record); }, logPrefix,
                           "\r\nError updating the replacement record Iteration ")) {
        WriteErrorLog(logPrefix, "the replacement record could not be updated; it and the kept copies stay");
        return false;
    }
    PassSaveStep(SaveStep::kReplacementSettled);
    bool allGone = true;
    for (const ReplacedFile& file : record.files)
        allGone = RemoveReplacementCopies(file, logPrefix) && allGone;
    if (allGone)
        DeleteReplacementRecord(logPrefix);
    return true;
}

void TidySettledReplacement()
{
    ReplacementRecord record;
    if (ReadReplacementRecord(record) == RecordFound::kWhole &&
        (record.state == ReplacementState::kKeptNew || record.state == ReplacementState::kKeptOld))
        SettleReplacement(record, "TidySettledReplacement(): ");
}
