#include "store/ReplacementAdvice.h"

#include <windows.h>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "store/FileStepFailures.h"
#include "store/ReplacedFileSteps.h"

namespace {
const char* const kTableAndMemo[][2] = {{"notes.QPD", "notes.qps"}, {"config.QPD", "config.QPS"}};

bool Present(const std::string& name)
{
    return FileExists(DataFilePath(name.c_str()).c_str());
}

bool KeptCopyThere(const std::string& name)
{
    return FileExists(KeptCopyPath(name).c_str());
}

// The other file of a table and its memo file, when the record names it.
const ReplacedFile* PartnerIn(const ReplacementRecord& record, const std::string& name)
{
    for (const auto& pair : kTableAndMemo) {
        for (int side = 0; side < 2; ++side) {
            if (name != pair[side])
                continue;
            for (const ReplacedFile& file : record.files) {
                if (file.name == pair[1 - side])
                    return &file;
            }
        }
    }
    return nullptr;
}

// What a file that is there may hold: a file the replacement removes is
// there only in its version of before.
std::string Either(const ReplacementRecord& record, const ReplacedFile& file)
{
    if (file.removed)
        return "it holds the version of before " + ShortOperation(record) + ", which removes it";
    return "it may hold the version of before " + ShortOperation(record) + " or the new one";
}
}

std::string ShortOperation(const ReplacementRecord& record)
{
    return record.kind == ReplacementKind::kUndo ? "the undo" : "the restore";
}

std::string DidNotFinish(const ReplacementRecord& record)
{
    return std::string(record.kind == ReplacementKind::kUndo ? "An undo of a restore" : "A restore") +
           " did not finish; it was replacing these data files:";
}

std::string ListedNames(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += "\r\n    " + name;
    return text;
}

std::string ListedNames(const ReplacementRecord& record)
{
    std::vector<std::string> names;
    for (const ReplacedFile& file : record.files)
        names.push_back(file.name);
    return ListedNames(names);
}

std::string WhatEachFileHolds(const ReplacementRecord& record)
{
    const std::string operation = ShortOperation(record);
    std::vector<std::string> lines;
    for (const ReplacedFile& file : record.files) {
        const std::string kept = file.name + kKeptSuffix;
        const std::string staged = file.name + kStagedSuffix;
        lines.push_back(file.name + (Present(file.name) ? ": present; " + Either(record, file) : ": missing"));
        if (file.existed)
            lines.push_back(kept + (KeptCopyThere(file.name)
                                        ? ": " + file.name + " as it was before " + operation
                                        : ": missing (it held " + file.name + " as it was before " + operation + ")"));
        if (!file.removed && FileExists(StagedCopyPath(file.name).c_str()))
            lines.push_back(staged + ": " + file.name + " as " + operation + " would have left it");
    }
    return ListedNames(lines);
}

std::string WhatIsPresent(const ReplacementRecord& record)
{
    std::vector<std::string> lines;
    for (const ReplacedFile& file : record.files)
        lines.push_back(file.name + (Present(file.name) ? ": present" : ": missing"));
    return ListedNames(lines);
}

std::string WayBackByHand(const ReplacementRecord& record)
{
    std::vector<std::string> putBack, moveOut{DataName::kReplacementRecord}, stay;
    for (const ReplacedFile& file : record.files) {
        const std::string kept = file.name + kKeptSuffix;
        if (FileExists(StagedCopyPath(file.name).c_str()))
            moveOut.push_back(file.name + kStagedSuffix);
        if (!file.existed) {
            // It was not there before: what lies there now came with the replacement.
            if (Present(file.name))
                moveOut.push_back(file.name + " (it was not there before " + ShortOperation(record) + ")");
            continue;
        }
        const ReplacedFile* partner = PartnerIn(record, file.name);
        if (!KeptCopyThere(file.name)) {
            stay.push_back(file.name + (Present(file.name) ? ": its copy of before is missing; " + Either(record, file)
                                                           : ": missing, and so is its copy of before"));
        } else if (partner && partner->existed && !KeptCopyThere(partner->name)) {
            moveOut.push_back(kept);
            stay.push_back(file.name + ": kept with " + partner->name + ", whose copy of before is missing (a table's "
                           "texts lie in its own memo file)");
        } else {
            putBack.push_back(kept);
        }
    }
    std::string text = "\r\n\r\nTo get back as much of the files of before " + ShortOperation(record) +
                       " as their copies hold:";
    if (!putBack.empty())
        text += "\r\n- Put each of these copies in place of the file of the same name without \"" +
                std::string(kKeptSuffix) + "\":" + ListedNames(putBack);
    text += "\r\n- Then move these out of the data folder:" + ListedNames(moveOut);
    if (!stay.empty())
        text += "\r\n- These stay as they are:" + ListedNames(stay);
    return text + "\r\nQuillnet+ then starts with the data files as they are.";
}

unsigned long WriteBlockingError(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    CloseHandle(file);
    return ERROR_SUCCESS;
}

std::string WhyNotWritable(const std::string& path)
{
    const unsigned long error = WriteBlockingError(path);
    return error == ERROR_SUCCESS ? "it could not be written in time; error.txt has the details"
                                  : FileErrorCause(error);
}

std::string OnceFreed(const std::string& path)
{
    const std::string cause = FileErrorCause(WriteBlockingError(path));
    return cause.find("another program") != std::string::npos ? "the other program has let go of " + FileNameOf(path)
                                                               : "that is put right";
}
