#include "support/ProgramDriver.h"

#include <stdexcept>
#include <vector>

#include "foundation/FolderTree.h"
#include "support/InFolder.h"

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
}

ProgramInstall::ProgramInstall(const char* hint) : m_folder(hint)
{
    if (!CopyFileA((ProgramFolder() + "\\qnpost.exe").c_str(), File("qnpost.exe").c_str(), FALSE))
        throw std::runtime_error("cannot copy qnpost.exe into " + Path());
}

void ProgramInstall::AddUpgradeSet()
{
    CopyFolder(File("UPGRADE"), ProgramFolder() + "\\UPGRADE");
}

void ProgramInstall::AddTemplateFolder()
{
    CopyFolder(File("QlData"), ProgramFolder() + "\\QlData");
}

void ProgramInstall::AddInstalledDataFiles()
{
    for (const char* name : kDataFiles) {
        std::string source = ProgramFolder() + "\\QlData\\" + name;
        if (!CopyFileA(source.c_str(), File(name).c_str(), FALSE))
            throw std::runtime_error("cannot copy " + source);
    }
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
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        install.Path().c_str(), &startup, &m_info))
        throw std::runtime_error("cannot start " + program);
}

RunningProgram::~RunningProgram()
{
    if (IsRunning()) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, kDriverWaitMs);
    }
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
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
