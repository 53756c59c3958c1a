#include "shell/ProcessSnapshot.h"

#include <tlhelp32.h>

namespace {
using SnapshotFunction = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessStepFunction = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

struct ToolHelp {
    SnapshotFunction createSnapshot = nullptr;
    ProcessStepFunction processFirst = nullptr;
    ProcessStepFunction processNext = nullptr;
};

const ToolHelp& GetToolHelp()
{
    static ToolHelp functions = [] {
        ToolHelp found;
        if (HMODULE kernel = GetModuleHandleA("Kernel32.DLL")) {
            found.createSnapshot =
                reinterpret_cast<SnapshotFunction>(GetProcAddress(kernel, "CreateToolhelp32Snapshot"));
            found.processFirst = reinterpret_cast<ProcessStepFunction>(GetProcAddress(kernel, "Process32First"));
            found.processNext = reinterpret_cast<ProcessStepFunction>(GetProcAddress(kernel, "Process32Next"));
        }
        return found;
    }();
    return functions;
}
}

CProcessSnapshot::CProcessSnapshot()
{
    const ToolHelp& functions = GetToolHelp();
    if (functions.createSnapshot && functions.processFirst && functions.processNext)
        m_snapshot = functions.createSnapshot(TH32CS_SNAPPROCESS, 0);
}

CProcessSnapshot::~CProcessSnapshot()
{
    if (IsValid())
        CloseHandle(m_snapshot);
}

DWORD CProcessSnapshot::FindProcessId(const char* exeName) const
{
    if (!IsValid())
        return 0;
    const ToolHelp& functions = GetToolHelp();
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    // Bounded: a snapshot lists each process once.
    for (BOOL more = functions.processFirst(m_snapshot, &entry); more;
         more = functions.processNext(m_snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName) == 0)
            return entry.th32ProcessID;
    }
    return 0;
}

DWORD FindShellProcessId()
{
    CProcessSnapshot snapshot;
    return snapshot.FindProcessId("explorer.exe");
}
