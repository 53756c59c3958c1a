#include <winsock2.h>

#include "support/ProgramDriver.h"

#include <stdexcept>
#include <vector>

#include "foundation/FolderTree.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "support/FailureRecords.h"
#include "support/InFolder.h"
#include "support/LowSpaceTaken.h"

namespace {
// One run of the program at a time across every test program of the prefix:
// a second instance started by another test would only forward its command.
const char kRunLockName[] = "QuillnetTestDriverProgramRun";
const DWORD kRunLockWaitMs = 600000;

const char* const kDataFiles[] = {"config.QPD", "config.QPS", "users.QPD",   "notes.QPD",   "notes.QPS",
                                  "sentto.QPD", "transact.QPD", "sounds.QPD", "webSearch.QPD"};

void CopyFolder(const std::string& target, const std::string& source)
{
    if (!CreateDirectoryA(target.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create " + target);
    CopyDirectoryTree(target.c_str(), source.c_str(), "*.*");
}

// The ports the tests pick from: below the range the system gives outgoing
// connections (32768 and up on Linux), since a port of that range can be taken
// by another process's connection between the pick and the program's listen.
const unsigned kFirstTestPort = 20000;
const unsigned kTestPorts = 12768;

bool NothingBoundTo(unsigned short port)
{
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const bool free = bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    closesocket(probe);
    return free;
}

unsigned StartingTick()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.LowPart;
}
}

unsigned short FindFreePort()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    // Each test program starts at its own place and goes on from the last
    // port given, so that programs side by side seldom try the same port. The
    // place comes from the clock as well as the process id: test programs run
    // side by side under two Wine servers, which can give them the same id.
    static unsigned next = GetCurrentProcessId() * 7919u + StartingTick();
    for (unsigned tried = 0; tried < kTestPorts; ++tried) {
        const auto port = static_cast<unsigned short>(kFirstTestPort + next++ % kTestPorts);
        if (NothingBoundTo(port))
            return port;
    }
    return 0;
}

bool PortAcceptsConnections(unsigned short port)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    bool accepted = connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    closesocket(client);
    return accepted;
}

void ProgramInstall::UseOwnPorts(const std::string& settingsTable)
{
    CDbfFile table;
    table.SetTable(settingsTable.c_str(), true);
    table.Open("MAPPINGALL");
    WriteNumber(table, 1, "WLISTENPOR", m_ports[0]);
    WriteNumber(table, 1, "WSENDPORT", m_ports[1]);
    table.Close();
}

ProgramInstall::ProgramInstall(const char* hint) : m_folder(hint)
{
    m_ports[0] = FindFreePort();
    m_ports[1] = m_ports[0];
    for (int attempt = 0; attempt < 100 && m_ports[1] == m_ports[0]; ++attempt)
        m_ports[1] = FindFreePort();
    if (!CopyFileA((ProgramFolder() + "\\qnpost.exe").c_str(), File("qnpost.exe").c_str(), FALSE))
        throw std::runtime_error("cannot copy qnpost.exe into " + Path());
}

ProgramInstall::~ProgramInstall()
{
    const std::string folder = Path().substr(Path().find_last_of('\\') + 1);
    KeepNowIfTestFailed(File("error.txt"), folder + "-error.txt");
}

void ProgramInstall::AddUpgradeSet()
{
    CopyFolder(File("UPGRADE"), ProgramFolder() + "\\UPGRADE");
    UseOwnPorts(File("UPGRADE\\config.QPD"));
}

void ProgramInstall::AddTemplateFolder()
{
    CopyFolder(File("QlData"), ProgramFolder() + "\\QlData");
    UseOwnPorts(File("QlData\\config.QPD"));
}

void ProgramInstall::AddInstalledDataFiles()
{
    for (const char* name : kDataFiles) {
        std::string source = ProgramFolder() + "\\QlData\\" + name;
        if (!CopyFileA(source.c_str(), File(name).c_str(), FALSE))
            throw std::runtime_error("cannot copy " + source);
    }
    UseOwnPorts(File("config.QPD"));
}

ExclusiveProgramRun::ExclusiveProgramRun()
{
    m_lock = CreateMutexA(nullptr, FALSE, kRunLockName);
    if (!m_lock || WaitForSingleObject(m_lock, kRunLockWaitMs) == WAIT_TIMEOUT) {
        if (m_lock)
            CloseHandle(m_lock);
        throw std::runtime_error("another test keeps the program running");
    }
}

ExclusiveProgramRun::~ExclusiveProgramRun()
{
    ReleaseMutex(m_lock);
    CloseHandle(m_lock);
}

RunningProgram::RunningProgram(const ProgramInstall& install, const std::string& arguments)
{
    std::string program = install.File("qnpost.exe");
    std::string line = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back(0);
    if (!StartWithLowSpaceTaken(program.c_str(), commandLine.data(), install.Path().c_str(), m_info))
        throw std::runtime_error("cannot start " + program + " (error " + std::to_string(GetLastError()) + ")");
}

RunningProgram::~RunningProgram()
{
    if (IsRunning())
        EndAsACrash();
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

void RunningProgram::EndAsACrash()
{
    TerminateProcess(m_info.hProcess, 99);
    WaitForSingleObject(m_info.hProcess, kDriverWaitMs);
}

bool RunningProgram::IsRunning() const
{
    return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

bool RunningProgram::WaitForExit(DWORD* exitCode, DWORD timeoutMs)
{
    if (!WaitUntil([&] { return !IsRunning(); }, timeoutMs))
        return false;
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    if (exitCode)
        *exitCode = code;
    return true;
}

HWND RunningProgram::WaitForWindow(const char* className, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(className, ProcessId())) != nullptr || !IsRunning(); },
              timeoutMs);
    return found;
}
