#include "support/PeerPrefix.h"

#include <stdexcept>
#include <vector>

#include "support/InFolder.h"
#include "support/OtherKind.h"
#include "support/TempFolder.h"
#include "support/UnixProgram.h"

namespace {
const char kEndedMark[] = "peer-ended.mark";
const char kForwardedMark[] = "peer-forwarded.mark";
// What Wine says of the message boxes the peer shows: their texts, one line each.
const char kBoxLog[] = "peer-boxes.log";
const char kBoxTrace[] = "trace:msgbox:MSGBOX_OnInit ";
// What the desktop holder of the peer's prefix said: "ready", or why there is
// no desktop.
const char kDesktopLog[] = "peer-desktop.log";
// The peer prefix names the tests' temporary folder by a drive of its own, so
// that an install there has a short path whatever folder the repository lies
// in: the program warns, in a box, of data paths over 100 characters.
const char kPeerDrive[] = "q:";

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

// The shell's words for a Wine program: the loader of a kind of program, or
// the Wine server of the peer's prefix. Debian's plain "wine" would start the
// 32-bit loader wherever it is installed, even where it cannot run.
std::string KindWord(const char* what, const std::string& kind)
{
    return "$(bash '" + UnixPathBesideSource(__FILE__, "../../scripts/wine-kind.sh") + "' " + what + " '" + kind +
           "')";
}

std::string WineLoaderOf(int bits)
{
    return KindWord("loader", std::to_string(bits));
}

// The words that start a Windows program of the kind under the peer prefix:
// the kind's loader, and for this test program's own 64-bit kind the starter
// that takes the address space below 4 GB first (support/LowSpaceTaken.h).
std::string WindowsProgramStart(int bits)
{
    std::string start = WineLoaderOf(bits);
    if (bits == 64 && OwnKindBits() == 64)
        start += " '" + UnixPathOf(ProgramFolder()) + "/lowspacestart.exe'";
    return start;
}

std::string PeerWineServer()
{
    return KindWord("server", PeerPrefixPath());
}

std::string TemporaryRoot()
{
    char root[MAX_PATH] = "";
    DWORD length = GetTempPathA(sizeof root, root);
    if (length == 0 || length >= sizeof root)
        throw std::runtime_error("no temporary folder");
    return root;
}

// The peer's prefix is started cold for each peer program. Its desktop is
// kept by a holder from before the program starts to after it ends, as the
// test script keeps those of the tests' prefixes: the program starts on a
// desktop known to show windows, and Forward's starts find it still there.
std::string WithDesktopHolder(const std::string& program)
{
    const std::string holder = UnixPathOf(ProgramFolder()) + "/desktopholder.exe";
    return "WINEDEBUG=-all " + WindowsProgramStart(OwnKindBits()) + " '" + holder + "' >" + kDesktopLog + " 2>/dev/null & holder=$!; tries=0; " +
           "while ! grep -q . " + kDesktopLog + " && [ $tries -lt 1200 ]; do sleep 0.1; tries=$((tries+1)); done; " +
           "code=1; if grep -q ^ready " + kDesktopLog + "; then " + program + "; code=$?; fi; kill $holder; (exit $code)";
}

// Runs the program in the install's folder under the peer prefix, then marks
// its end with its exit code. Wine names the folder by the deepest drive that
// holds it: the peer's own drive for the temporary folder. The boxes it shows,
// and whatever else Wine says of it, are logged.
std::string ProgramScript(const ProgramInstall& install, int bits, const std::string& arguments, const char* mark,
                          bool holdDesktop)
{
    // The real folders, not the ones through this prefix's drive links, which
    // the other prefix could not name.
    // The script goes inside double quotes: it holds none of its own.
    const std::string program =
        "WINEDEBUG=-all,+msgbox " + WindowsProgramStart(bits) + " qnpost.exe " + arguments + " 2>>" + kBoxLog;
    return "ln -sfn $(readlink -f '" + UnixPathOf(TemporaryRoot()) + "') '" + PeerPrefixPath() + "/dosdevices/" +
           kPeerDrive + "' && cd $(readlink -f '" + UnixPathOf(install.Path()) + "') && export WINEPREFIX='" +
           PeerPrefixPath() + "' LANG=en_US.UTF-8 WINEDLLOVERRIDES='mscoree,mshtml=' && " +
           "{ " + (holdDesktop ? WithDesktopHolder(program) : program) + "; }; echo $? >" + mark;
}

std::string NoDesktopLine(const ProgramInstall& install)
{
    std::string said = ReadWholeFile(install.File(kDesktopLog));
    said = said.substr(0, said.find_first_of("\r\n"));
    return said.rfind("no desktop", 0) == 0 ? said : std::string();
}

// What Wine said of the peer's programs besides their boxes (an unhandled
// exception, a missing library), a few lines at most.
std::string WineSaid(const ProgramInstall& install)
{
    const size_t kMostLines = 5;
    std::string said;
    size_t lines = 0;
    const std::string log = ReadWholeFile(install.File(kBoxLog));
    for (size_t start = 0; start < log.size() && lines < kMostLines;) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos)
            end = log.size();
        const std::string line = log.substr(start, end - start);
        if (!line.empty() && line.find(kBoxTrace) == std::string::npos) {
            said += (said.empty() ? "" : " | ") + line;
            ++lines;
        }
        start = end + 1;
    }
    return said;
}
}

PeerProgram::PeerProgram(const ProgramInstall& install, const std::string& arguments, int bits)
    : m_install(install), m_bits(bits ? bits : OwnKindBits())
{
    DeleteFileA(install.File(kEndedMark).c_str());
    DeleteFileA(install.File(kBoxLog).c_str());
    DeleteFileA(install.File(kDesktopLog).c_str());
    StartShellScript(ProgramScript(install, m_bits, arguments, kEndedMark, true));
}

PeerProgram::~PeerProgram()
{
    // A forwarded start that showed a box would wait for an answer for ever,
    // also once the program has ended: the prefix's processes all go.
    const std::string forwarded = m_install.File(kForwardedMark);
    if (IsRunning() || m_forwarding) {
        StartShellScript("WINEPREFIX='" + PeerPrefixPath() + "' " + PeerWineServer() + " -k");
        WaitUntil([&] { return !IsRunning() && (!m_forwarding || FileExists(forwarded)); }, kDriverWaitMs);
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
    m_forwarding = true;
    StartShellScript(ProgramScript(m_install, m_bits, arguments, kForwardedMark, false));
    return WaitUntil([&] { return FileExists(mark) || !ShownBox().empty(); }, timeoutMs) && FileExists(mark);
}

std::string PeerProgram::ShownBox() const
{
    const std::string log = ReadWholeFile(m_install.File(kBoxLog));
    const size_t trace = log.find(kBoxTrace);
    if (trace == std::string::npos)
        return std::string();
    const size_t start = trace + sizeof kBoxTrace - 1;
    return log.substr(start, log.find('\n', start) - start);
}

bool PeerProgram::WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    return WaitUntil([&] { return condition() || !IsRunning() || !ShownBox().empty(); }, timeoutMs) &&
           ShownBox().empty() && condition();
}

std::string PeerProgram::Trouble() const
{
    const std::string noDesktop = NoDesktopLine(m_install);
    if (!noDesktop.empty())
        return "the peer program did not start: its prefix has " + noDesktop;
    std::vector<std::string> seen;
    const std::string box = ShownBox();
    if (!box.empty())
        seen.push_back("a box was shown: " + box);
    if (!IsRunning()) {
        std::string code = ReadWholeFile(m_install.File(kEndedMark));
        seen.push_back("the peer program had ended, with exit code " + code.substr(0, code.find_first_of("\r\n")));
    }
    if (seen.empty())
        seen.push_back("the peer program did not get there in time");
    const std::string said = WineSaid(m_install);
    if (!said.empty())
        seen.push_back("Wine said: " + said);
    // The program's own log of what went wrong, its last lines.
    const size_t kLogTail = 600;
    const std::string log = ReadWholeFile(m_install.File("error.txt"));
    if (!log.empty())
        seen.push_back("its error log ends: " + log.substr(log.size() > kLogTail ? log.size() - kLogTail : 0));
    std::string trouble;
    for (const std::string& each : seen)
        trouble += (trouble.empty() ? "" : "; ") + each;
    return trouble;
}

bool PeerProgram::WaitForExit(DWORD timeoutMs)
{
    return WaitUntil([&] { return !IsRunning(); }, timeoutMs);
}
