#pragma once

#include <windows.h>

// A list of the running processes, taken through the tool-help functions that
// the system library offers at run time (older systems have none).
class CProcessSnapshot {
public:
    CProcessSnapshot();
    ~CProcessSnapshot();
    CProcessSnapshot(const CProcessSnapshot&) = delete;
    CProcessSnapshot& operator=(const CProcessSnapshot&) = delete;

    bool IsValid() const { return m_snapshot != INVALID_HANDLE_VALUE; }
    // The first process whose program file has that name (ignoring case); 0 if none.
    DWORD FindProcessId(const char* exeName) const;

private:
    HANDLE m_snapshot = INVALID_HANDLE_VALUE;
};

// The shell's process ("explorer.exe"), 0 when it is not running or unknown.
DWORD FindShellProcessId();
