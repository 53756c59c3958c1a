#include "support/PeerPrefix.h"

#include <stdexcept>

#include "support/TempFolder.h"
#include "support/UnixProgram.h"

namespace {
const char kEndedMark[] = "peer-ended.mark";
const char kForwardedMark[] = "peer-forwarded.mark";

// The Unix path of a path of this session, from Wine's own kernel32.
std::string UnixPathOf(const std::string& path)
{
    using ToUnix = char*(CDECL*)(const wchar_t*);
    auto toUnix = reinterpret_cast<ToUnix>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    if (!toUnix)
        throw std::runtime_error("not running under Wine");
    std::wstring wide(path.begin(), path.end());
    char* unixPath = toUnix(wide.c_str());
    if (!unixPath)
        throw std::runtime_error("no Unix path for " + path);
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

std::string PeerPrefixPath()
{
    char prefix[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix))
        throw std::runtime_error("WINEPREFIX is not set");
    return std::string(prefix) + "-peer";
}

// Runs a shell script as a Unix process, whose end a Windows handle does not
// tell: the script leaves a mark file instead. Its output goes nowhere, so
// that the Wine processes it starts never hold the test's output open.
void StartShell(const std::string& script)
{
    std::string line = "/bin/sh -c \"(" + script + ") </dev/null >/dev/null 2>&1\"";
    if (!StartUnixProgram(nullptr, line))
        throw std::runtime_error("cannot start " + line);
}

// Runs the program in the install's folder under the peer prefix, then marks its end.
std::string ProgramScript(const ProgramInstall& install, const std::string& arguments, const char* mark)
{
    // The real folder, not the one through this prefix's drive links, which
    // the other prefix could not name.
    return "cd $(readlink -f '" + UnixPathOf(install.Path()) + "') && WINEPREFIX='" + PeerPrefixPath() +
           "' WINEDEBUG=-all LANG=en_US.UTF-8 WINEDLLOVERRIDES='mscoree,mshtml=' wine qnpost.exe " + arguments +
           "; touch " + mark;
}
}

PeerProgram::PeerProgram(const ProgramInstall& install, const std::string& arguments) : m_install(install)
{
    DeleteFileA(install.File(kEndedMark).c_str());
    StartShell(ProgramScript(install, arguments, kEndedMark));
}

PeerProgram::~PeerProgram()
{
    if (IsRunning()) {
        StartShell("WINEPREFIX='" + PeerPrefixPath() + "' wineserver -k");
        WaitForExit();
    }
}

bool PeerProgram::IsRunning() const
{
    return !FileExists(m_install.File(kEndedMark));
}

bool PeerProgram::Forward(const std::string& arguments, DWORD timeoutMs)
{
    const std::string mark = m_install.File(kForwardedMark);
    DeleteFileA(mark.c_str());
    StartShell(ProgramScript(m_install, arguments, kForwardedMark));
    return WaitUntil([&] { return FileExists(mark); }, timeoutMs);
}

bool PeerProgram::WaitForExit(DWORD timeoutMs)
{
    return WaitUntil([&] { return !IsRunning(); }, timeoutMs);
}
