#include "support/HungTestWatch.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/CriticalSectionLock.h"
#include "support/ThreadStacks.h"

namespace {
const DWORD kCheckEveryMs = 1000;
const int kHungExitCode = 3;

struct WatchState {
    CCriticalSection lock;
    std::string test;        // the running test, empty between tests
    bool ending = false;     // the last test has ended
    DWORD startedAt = 0;     // of the test, or of the program's end
    DWORD testLimitMs = 0;
    DWORD endLimitMs = 0;
    HANDLE testThread = nullptr;
    HANDLE stop = nullptr;
    HANDLE watcher = nullptr;
};
WatchState g_watch;

void ReportTestAndEnd(const std::string& test, DWORD ranMs)
{
    std::printf("[  HUNG    ] %s has run for %lu s; where it waits, newest call first:\n", test.c_str(),
                static_cast<unsigned long>(ranMs / 1000));
    PrintWhereThreadWaits(GetCurrentProcess(), GetCurrentProcessId(), g_watch.testThread, "  ");
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), kHungExitCode);
}

std::vector<PROCESSENTRY32> ProgramsStartedHere()
{
    std::vector<PROCESSENTRY32> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return children;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ParentProcessID == GetCurrentProcessId() && entry.th32ProcessID != GetCurrentProcessId())
            children.push_back(entry);
    CloseHandle(snapshot);
    return children;
}

void ReportEndAndStop(DWORD waitedMs)
{
    std::printf("[  HUNG    ] the test program has not ended %lu s after its last test; where its threads wait, "
                "newest call first:\n",
                static_cast<unsigned long>(waitedMs / 1000));
    PrintWhereThreadsWait(GetCurrentProcess(), GetCurrentProcessId(), "  ");
    for (const PROCESSENTRY32& child : ProgramsStartedHere()) {
        std::printf("  a program it started still runs: %s (process %lu); where its threads wait:\n",
                    child.szExeFile, static_cast<unsigned long>(child.th32ProcessID));
        HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, child.th32ProcessID);
        if (!process)
            continue;
        PrintWhereThreadsWait(process, child.th32ProcessID, "    ");
        TerminateProcess(process, kHungExitCode);
        CloseHandle(process);
    }
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), kHungExitCode);
}

DWORD WINAPI Watch(void*)
{
    while (WaitForSingleObject(g_watch.stop, kCheckEveryMs) == WAIT_TIMEOUT) {
        std::string test;
        bool ending = false;
        DWORD ranMs = 0;
        {
            CCriticalSectionLock hold(g_watch.lock);
            test = g_watch.test;
            ending = g_watch.ending;
            ranMs = GetTickCount() - g_watch.startedAt;
        }
        if (!test.empty() && ranMs > g_watch.testLimitMs)
            ReportTestAndEnd(test, ranMs);
        if (ending && ranMs > g_watch.endLimitMs)
            ReportEndAndStop(ranMs);
    }
    return 0;
}
}

HungTestWatch::HungTestWatch(unsigned long testLimitMs, unsigned long endLimitMs)
{
    g_watch.testLimitMs = testLimitMs;
    g_watch.endLimitMs = endLimitMs;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &g_watch.testThread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    g_watch.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_watch.watcher = CreateThread(nullptr, 0, &Watch, nullptr, 0, nullptr);
}

HungTestWatch::~HungTestWatch()
{
    // Once the tests have ended, the watch goes on through the rest of the
    // program's end (gtest destroys its listeners among the static objects),
    // until the process's exit stops its thread.
    if (g_watch.ending)
        return;
    SetEvent(g_watch.stop);
    WaitForSingleObject(g_watch.watcher, kCheckEveryMs * 5);
    CloseHandle(g_watch.watcher);
    CloseHandle(g_watch.stop);
    CloseHandle(g_watch.testThread);
}

void HungTestWatch::OnTestStart(const testing::TestInfo& test)
{
    CCriticalSectionLock hold(g_watch.lock);
    g_watch.test = std::string(test.test_suite_name()) + "." + test.name();
    g_watch.startedAt = GetTickCount();
}

void HungTestWatch::OnTestEnd(const testing::TestInfo&)
{
    CCriticalSectionLock hold(g_watch.lock);
    g_watch.test.clear();
}

void HungTestWatch::OnTestProgramEnd(const testing::UnitTest&)
{
    CCriticalSectionLock hold(g_watch.lock);
    g_watch.ending = true;
    g_watch.startedAt = GetTickCount();
}
