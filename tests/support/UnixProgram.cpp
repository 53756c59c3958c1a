#include "support/UnixProgram.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

bool StartUnixProgram(const char* application, const std::string& commandLine)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Wine starts a Unix program without a Windows process and leaves stray
    // values in the handles it reports: closing them closed other handles of
    // the test (its named-object folder among them), so they are left alone.
    return CreateProcessA(application, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info) !=
           FALSE;
}

void StartShellScript(const std::string& script)
{
    const std::string line = "/bin/sh -c \"(" + script + ") </dev/null >/dev/null 2>&1\"";
    if (!StartUnixProgram(nullptr, line))
        throw std::runtime_error("cannot start " + line);
}

std::string UnixPathBesideSource(const char* sourceFile, const char* name)
{
    std::string source = sourceFile;
    const std::string beside = source.substr(0, source.find_last_of("/\\") + 1) + name;
    if (!beside.empty() && beside[0] == '/')
        return beside;
    char program[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    std::string folder(program, length);
    folder = folder.substr(0, folder.find_last_of('\\'));
    return UnixPath(folder) + "/" + beside;
}

std::string UnixPath(const std::string& windowsPath)
{
    typedef char*(CDECL * UnixFileNameFunction)(const WCHAR*);
    auto toUnix = reinterpret_cast<UnixFileNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wide[MAX_PATH];
    if (!toUnix || !MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH))
        return std::string();
    char* unixPath = toUnix(wide);
    std::string path = unixPath ? unixPath : "";
    HeapFree(GetProcessHeap(), 0, unixPath);
    return path;
}
