#include "xmlfiles/DamagedFiles.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
// More kept files than anyone keeps by hand; past it the file stays guarded.
const int kMostKeptFiles = 99;

// The damaged files that could not be kept aside yet.
std::set<std::string>& GuardedFiles()
{
    static std::set<std::string> files;
    return files;
}

std::string KeptPath(const std::string& path, int number)
{
    return number == 1 ? path + ".bad" : path + ".bad" + std::to_string(number);
}

std::string FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string WithoutFinalLineBreaks(const std::string& text)
{
    return text.substr(0, text.find_last_not_of("\r\n") + 1);
}

// The first kept name that is free or, with bytes given, that holds those
// bytes already (sameBytes set); empty when every name is taken.
std::string FirstKeptPath(const std::string& file, const std::string* bytes, bool& sameBytes)
{
    sameBytes = false;
    for (int number = 1; number <= kMostKeptFiles; ++number) {
        const std::string kept = KeptPath(file, number);
        if (!FileExists(kept.c_str()))
            return kept;
        if (bytes && FileBytes(kept) == *bytes) {
            sameBytes = true;
            return kept;
        }
    }
    return std::string();
}

// The file moved to its first free kept name, or copied there when asked
// (copyOnly) or when it cannot be moved: a kept file of the same bytes then
// counts as the copy (keptBefore set), so that the same damaged file met
// again is kept once. The kept name; empty, the file guarded, when it could
// not be kept.
std::string KeepUnderFreeName(const std::string& file, bool copyOnly, bool* keptBefore)
{
    std::string kept;
    bool sameBytes = false;
    if (!file.empty() && !copyOnly) {
        kept = FirstKeptPath(file, nullptr, sameBytes);
        if (!kept.empty() && !MoveFileA(file.c_str(), kept.c_str()))
            kept.clear();
    }
    if (!file.empty() && kept.empty()) {
        const std::string bytes = FileBytes(file);
        kept = FirstKeptPath(file, &bytes, sameBytes);
        if (!kept.empty() && !sameBytes && !CopyFileA(file.c_str(), kept.c_str(), TRUE)) {
            // A copy that failed half way is no kept file.
            DeleteFileA(kept.c_str());
            kept.clear();
        }
    }
    if (kept.empty()) {
        GuardedFiles().insert(file);
        return std::string();
    }
    if (keptBefore)
        *keptBefore = sameBytes;
    GuardedFiles().erase(file);
    return FileNameOf(kept);
}
}

std::string KeepDamagedFileAside(const char* path, bool* keptBefore)
{
    if (keptBefore)
        *keptBefore = false;
    // Moved, the damaged file no longer stands for the settings: the next
    // reading finds none and no one reports it twice.
    return KeepUnderFreeName(path ? path : "", false, keptBefore);
}

std::string KeepCopyOfDamagedFile(const char* path, bool* keptBefore)
{
    if (keptBefore)
        *keptBefore = false;
    return KeepUnderFreeName(path ? path : "", true, keptBefore);
}

void ReportDamagedFile(const char* path, const std::string& problem, const char* standIn)
{
    bool keptBefore = false;
    const std::string kept = KeepDamagedFileAside(path, &keptBefore);
    const std::string name = FileNameOf(path ? path : "");
    std::string text = WithoutFinalLineBreaks(problem) + "\r\n\r\n";
    if (kept.empty())
        text += name + " could not be kept aside; it is left as it is and not written over. The program goes on with ";
    else
        text += name + " has been kept as \"" + kept + "\". The program goes on with ";
    text += std::string(standIn ? standIn : "its standard settings") + ".";
    WriteErrorLog(text.c_str(), "");
    // A file that stays where it is, held by another program, is met again at
    // each reading: the user has been told when it was kept.
    if (!keptBefore)
        ShowMessageBox(ForegroundOwner(), text.c_str(), ProgramTitle, kMbOk | kMbIconHand);
}

void RefuseToOverwriteDamagedFile(const char* path)
{
    const std::string file = path ? path : "";
    if (GuardedFiles().count(file) == 0)
        return;
    if (!FileExists(file.c_str())) {
        GuardedFiles().erase(file);
        return;
    }
    // Copied, not moved: should the write fail, the file still holds what the
    // program read from it.
    if (!KeepCopyOfDamagedFile(file.c_str()).empty())
        return;
    char text[CGenericException::kMaxTextLength + 1];
    std::snprintf(text, sizeof text, "%s cannot be read and cannot be kept aside, so it is not written over.",
                  FileNameOf(file).c_str());
    throw CGenericException(text);
}

void CSkippedEntries::Skip(const std::string& entry, const std::string& problem)
{
    ++m_count;
    const std::string text = FileNameOf(m_path) + ": " + entry + " was skipped. " + WithoutFinalLineBreaks(problem);
    WriteErrorLog(text.c_str(), "");
}

void CSkippedEntries::Report()
{
    if (m_count == 0)
        return;
    bool keptBefore = false;
    const std::string kept = KeepCopyOfDamagedFile(m_path.c_str(), &keptBefore);
    const std::string name = FileNameOf(m_path);
    std::string text = name + " holds " + std::to_string(m_count) + (m_count == 1 ? " entry" : " entries") +
                       " that cannot be read; error.txt names " + (m_count == 1 ? "it" : "them") +
                       ". The program goes on with everything else in the file.\r\n\r\n";
    if (kept.empty())
        text += name + " could not be kept aside; it is left as it is and not written over.";
    else
        text += name + " has been kept as \"" + kept + "\" before it is written again.";
    WriteErrorLog(text.c_str(), "");
    if (!keptBefore)
        ShowWarningMessage(ForegroundOwner(), text.c_str(), ProgramTitle);
}
