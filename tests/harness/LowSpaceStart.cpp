// Starts a Windows program for the test scripts with the address space below
// 4 GB taken (support/LowSpaceTaken.h):
//   lowspacestart.exe PROGRAM [ARGS...]
// The program is named as Wine's loader takes it: a Windows path, a Unix path,
// or a name found in the current folder or by the system's search. It gets
// the arguments as they were written and this program's standard handles;
// this program ends with its exit code. The program and what it starts are in
// a job that ends them when this program ends: a script that stops a program
// knows this one's process only.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "support/LowSpaceTaken.h"

namespace {
// Where the word that begins the text ends, quoted or not.
const char* AfterFirstWord(const char* text)
{
    if (*text == '"') {
        const char* closing = std::strchr(text + 1, '"');
        return closing ? closing + 1 : text + std::strlen(text);
    }
    while (*text && *text != ' ' && *text != '\t')
        ++text;
    return text;
}

const char* SkipBlanks(const char* text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    return text;
}

// The Windows path of a Unix path, from Wine's own kernel32; empty when there
// is none.
std::string WindowsPathOfUnixPath(const std::string& unixPath)
{
    using ToWindows = WCHAR*(CDECL*)(const char*);
    auto toWindows = reinterpret_cast<ToWindows>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    WCHAR* wide = toWindows ? toWindows(unixPath.c_str()) : nullptr;
    if (!wide)
        return std::string();
    char path[MAX_PATH];
    const int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, path, sizeof path, nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, wide);
    return length > 0 ? path : std::string();
}

// The program's file; empty when the system's search is to find it (a name
// not in the current folder, such as "cmd"). A name found in the current
// folder is taken from there, as Wine's loader takes it, and not from this
// program's own folder, where the search would look first.
std::string ProgramFile(std::string word)
{
    if (word.size() >= 2 && word.front() == '"' && word.back() == '"')
        word = word.substr(1, word.size() - 2);
    if (!word.empty() && word.front() == '/')
        return WindowsPathOfUnixPath(word);
    if (word.find_first_of("\\:") != std::string::npos)
        return word;
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(word.c_str(), sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full || GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES)
        return std::string();
    return full;
}

HANDLE JobEndedWithThisProgram()
{
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job && !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}
}

int main()
{
    const char* given = SkipBlanks(AfterFirstWord(GetCommandLineA()));
    if (!*given) {
        std::fprintf(stderr, "usage: lowspacestart.exe PROGRAM [ARGS...]\n");
        return 2;
    }
    const char* arguments = AfterFirstWord(given);
    const std::string program = ProgramFile(std::string(given, arguments));
    std::string line = program.empty() ? std::string(given) : "\"" + program + "\"" + arguments;
    HANDLE job = JobEndedWithThisProgram();
    PROCESS_INFORMATION started{};
    if (!job || !StartWithLowSpaceTaken(program.empty() ? nullptr : program.c_str(), &line[0], nullptr, started,
                                        job)) {
        std::fprintf(stderr, "lowspacestart: cannot start %s (error %lu)\n", given, GetLastError());
        return 1;
    }
    CloseHandle(started.hThread);
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(started.hProcess, &code);
    return static_cast<int>(code);
}
