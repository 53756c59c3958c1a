#include "store/ReplacedFileSteps.h"

#include <windows.h>

#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/WorkingCopy.h"
#include "store/FileStepRetries.h"
#include "store/SaveSteps.h"

const char kKeptSuffix[] = ".was";
const char kStagedSuffix[] = ".put";

namespace {
// Where a copy is written whole before it takes the target's place.
const char kCopyingSuffix[] = ".back";
const DWORD kCopyPiece = 64 * 1024;

bool GoneOrDeleted(const std::string& path)
{
    return DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
           GetLastError() == ERROR_PATH_NOT_FOUND;
}

// Reads a file that another program may hold open (a scanner reading a
// kept copy must not stop the set from being put back).
bool CopyBytes(const std::string& from, const std::string& to)
{
    HANDLE source = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (source == INVALID_HANDLE_VALUE)
        return false;
    HANDLE target = CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool copied = target != INVALID_HANDLE_VALUE;
    std::vector<char> piece(kCopyPiece);
    for (;;) {
        DWORD read = 0, written = 0;
        if (!copied || !ReadFile(source, piece.data(), kCopyPiece, &read, nullptr)) {
            copied = false;
            break;
        }
        if (read == 0)
            break;
        if (!WriteFile(target, piece.data(), read, &written, nullptr) || written != read) {
            copied = false;
            break;
        }
    }
    const DWORD error = GetLastError();
    if (target != INVALID_HANDLE_VALUE) {
        copied = FlushFileBuffers(target) && copied;
        CloseHandle(target);
    }
    CloseHandle(source);
    if (!copied) {
        DeleteFileA(to.c_str());
        SetLastError(error);
    }
    return copied;
}

// The target takes a copy of the file's bytes in one step; the file stays.
bool CopyIntoPlace(const std::string& from, const std::string& target)
{
    const std::string copying = target + kCopyingSuffix;
    if (!CopyBytes(from, copying))
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

bool Removed(const ReplacedFile& file, const char* logPrefix)
{
    const std::string target = TargetOf(file);
    return RetryFileStep([&] { return GoneOrDeleted(target); }, logPrefix,
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
        return !file.existed || Removed(file, logPrefix);
    const std::string staged = StagedCopyPath(file.name);
    const std::string target = TargetOf(file);
    return RetryFileStep([&] { return ReplaceWithWorkingCopy(staged.c_str(), target.c_str()); }, logPrefix,
                         ("\r\nError moving file \"" + file.name + kStagedSuffix + "\" Iteration ").c_str());
}

bool PutOldVersionBack(const ReplacedFile& file, const char* logPrefix)
{
    if (!file.existed)
        return Removed(file, logPrefix);
    const std::string kept = KeptCopyPath(file.name);
    const std::string target = TargetOf(file);
    return RetryFileStep([&] { return CopyIntoPlace(kept, target); }, logPrefix,
                         ("\r\nError putting back file \"" + file.name + kKeptSuffix + "\" Iteration ").c_str());
}

bool CopyNewVersionIn(const ReplacedFile& file, const char* logPrefix)
{
    if (file.removed)
        return Removed(file, logPrefix);
    const std::string staged = StagedCopyPath(file.name);
    const std::string target = TargetOf(file);
    return RetryFileStep([&] { return CopyIntoPlace(staged, target); }, logPrefix,
                         ("\r\nError copying file \"" + file.name + kStagedSuffix + "\" Iteration ").c_str());
}

bool RemoveReplacementCopies(const ReplacedFile& file, const char* logPrefix)
{
    bool all = true;
    for (const std::string& copy : {StagedCopyPath(file.name), KeptCopyPath(file.name),
                                    TargetOf(file) + kCopyingSuffix}) {
        if (!FileExists(copy.c_str()))
            continue;
        all = RetryFileStep([&] { return GoneOrDeleted(copy); }, logPrefix,
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

bool ReadReplacementRecord(ReplacementRecord& record, bool& present)
{
    const std::string path = DataFilePath(DataName::kReplacementRecord);
    present = FileExists(path.c_str());
    if (!present)
        return false;
    // A record names eleven files at the most.
    std::string text;
    if (!ReadSmallFile(path, 4096, text))
        return false;
    return ParseReplacementRecord(text, record);
}

bool DeleteReplacementRecord(const char* logPrefix)
{
    const std::string path = DataFilePath(DataName::kReplacementRecord);
    return RetryFileStep([&] { return GoneOrDeleted(path); }, logPrefix,
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
    bool present = false;
    if (ReadReplacementRecord(record, present) && (record.state == ReplacementState::kKeptNew ||
                                                   record.state == ReplacementState::kKeptOld))
        SettleReplacement(record, "TidySettledReplacement(): ");
}
