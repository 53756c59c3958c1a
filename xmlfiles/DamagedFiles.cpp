#include "xmlfiles/DamagedFiles.h"

#include <windows.h>

#include <cstdio>
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
}

std::string KeepDamagedFileAside(const char* path)
{
    const std::string file = path ? path : "";
    for (int number = 1; number <= kMostKeptFiles && !file.empty(); ++number) {
        const std::string kept = KeptPath(file, number);
        if (FileExists(kept.c_str()))
            continue;
        // Moved, the damaged file no longer stands for the settings: the next
        // reading finds none and no one reports it twice.
        if (MoveFileA(file.c_str(), kept.c_str()) || CopyFileA(file.c_str(), kept.c_str(), TRUE)) {
            GuardedFiles().erase(file);
            return FileNameOf(kept);
        }
        // A copy that failed half way is no kept file.
        DeleteFileA(kept.c_str());
        break;
    }
    GuardedFiles().insert(file);
    return std::string();
}

void ReportDamagedFile(const char* path, const std::string& problem, const char* standIn)
{
    const std::string kept = KeepDamagedFileAside(path);
    const std::string name = FileNameOf(path ? path : "");
    std::string text = problem.substr(0, problem.find_last_not_of("\r\n") + 1) + "\r\n\r\n";
    if (kept.empty())
        text += name + " could not be kept aside; it is left as it is and not written over. The program goes on with ";
    else
        text += name + " has been kept as \"" + kept + "\". The program goes on with ";
    text += std::string(standIn ? standIn : "its standard settings") + ".";
    WriteErrorLog(text.c_str(), "");
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
    if (!KeepDamagedFileAside(file.c_str()).empty())
        return;
    char text[CGenericException::kMaxTextLength + 1];
    std::snprintf(text, sizeof text, "%s cannot be read and cannot be kept aside, so it is not written over.",
                  FileNameOf(file).c_str());
    throw CGenericException(text);
}
