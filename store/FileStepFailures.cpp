#include "store/FileStepFailures.h"

#include <windows.h>

#include <map>

namespace {
const char kHeldCause[] = "another program is using it";

// Replacements run on the main thread, or at start before any other thread.
std::map<std::string, std::string>& KeptCauses()
{
    static std::map<std::string, std::string> causes;
    return causes;
}

std::string SystemText(unsigned long error)
{
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                   MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text, sizeof text - 1, nullptr);
    std::string words = text;
    while (!words.empty() && (words.back() == '\r' || words.back() == '\n' || words.back() == ' ' ||
                              words.back() == '.'))
        words.pop_back();
    return "the system reported error " + std::to_string(error) + (words.empty() ? "" : " (" + words + ")");
}
}

bool IsHeldFileError(unsigned long error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_USER_MAPPED_FILE;
}

std::string FileErrorCause(unsigned long error)
{
    if (IsHeldFileError(error))
        return kHeldCause;
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "the disk is full";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "it is missing";
    case ERROR_ACCESS_DENIED:
        return "it may not be written (it is read-only, or another program is using it)";
    default:
        return SystemText(error);
    }
}

void NoteFileFailure(const std::string& name, const std::string& cause)
{
    KeptCauses()[name] = cause;
}

void NoteFileError(const std::string& name, unsigned long error)
{
    NoteFileFailure(name, FileErrorCause(error));
}

void ForgetFileFailure(const std::string& name)
{
    KeptCauses().erase(name);
}

std::string ListedWithCauses(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names) {
        const auto kept = KeptCauses().find(name);
        list += "\r\n    " + name + (kept == KeptCauses().end() ? std::string() : ": " + kept->second);
    }
    return list;
}

bool AnyHeldAmong(const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        const auto kept = KeptCauses().find(name);
        if (kept != KeptCauses().end() && kept->second.find(kHeldCause) != std::string::npos)
            return true;
    }
    return false;
}

bool MayBeHeldFileError(unsigned long error)
{
    return IsHeldFileError(error) || error == ERROR_ACCESS_DENIED;
}

std::string UnwritableFilesText(const std::vector<std::pair<std::string, unsigned long>>& files)
{
    std::vector<std::string> held;
    std::string others;
    for (const auto& file : files) {
        if (IsHeldFileError(file.second)) {
            held.push_back(file.first);
            continue;
        }
        // "it may not be written (...)" becomes "notes.QPD may not be written (...)".
        const std::string cause = FileErrorCause(file.second);
        others += "; " + file.first + (cause.compare(0, 3, "it ") == 0 ? cause.substr(2) : ": " + cause);
    }
    std::string text;
    for (size_t i = 0; i < held.size(); ++i)
        text += (i == 0 ? "another program is using " : i + 1 == held.size() ? " and " : ", ") + held[i];
    if (text.empty() && !others.empty())
        others.erase(0, 2);
    return text + others + ".";
}
