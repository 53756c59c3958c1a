// How long the program takes to start and to end, as a user meets it: from
// launch until its main window exists, and from a second start's "/close"
// until the process has ended. Beside them, the whole run of a trivial Windows
// program (this benchmark started again with "--trivial") measured in the same
// run, the floor that Wine's process start sets.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bench/BenchClock.h"
#include "foundation/FolderTree.h"

namespace {
const int kRounds = 5;
const DWORD kWaitMs = 60000;
const char* const kDataFiles[] = {"config.QPD", "config.QPS", "users.QPD",   "notes.QPD",   "notes.QPS",
                                  "sentto.QPD", "transact.QPD", "sounds.QPD", "webSearch.QPD"};

std::string OwnFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

HANDLE Launch(const std::string& program, const std::string& arguments, const std::string& folder)
{
    std::string line = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

bool WaitForMainWindow(HANDLE process)
{
    const DWORD start = GetTickCount();
    for (int round = 0; round < 100000 && GetTickCount() - start < kWaitMs; ++round) {
        if (FindWindowA("MainWindowClassName6", nullptr))
            return true;
        if (WaitForSingleObject(process, 5) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

void Report(const char* what, double seconds[], int count)
{
    double best = seconds[0];
    double sum = 0;
    for (int i = 0; i < count; ++i) {
        sum += seconds[i];
        if (seconds[i] < best)
            best = seconds[i];
    }
    std::printf("%-52s best %7.3f s   mean %7.3f s\n", what, best, sum / count);
}
}

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--trivial") == 0)
        return 0;

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "qn_startclose_bench";
    DeleteDirectoryTree(folder.c_str());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string program = folder + "\\qnpost.exe";
    CopyFileA((OwnFolder() + "\\qnpost.exe").c_str(), program.c_str(), FALSE);
    for (const char* name : kDataFiles)
        CopyFileA((OwnFolder() + "\\QlData\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE);

    double trivial[kRounds], start[kRounds], close[kRounds];
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER t0 = BenchNow();
        HANDLE floor = Launch(self, "--trivial", folder);
        WaitForSingleObject(floor, kWaitMs);
        trivial[round] = SecondsBetween(t0, BenchNow());
        CloseHandle(floor);

        t0 = BenchNow();
        HANDLE first = Launch(program, "", folder);
        if (!first || !WaitForMainWindow(first)) {
            std::printf("The program did not start (round %d)\n", round + 1);
            return 1;
        }
        start[round] = SecondsBetween(t0, BenchNow());

        t0 = BenchNow();
        HANDLE second = Launch(program, "/close", folder);
        bool ended = WaitForSingleObject(first, kWaitMs) == WAIT_OBJECT_0;
        close[round] = SecondsBetween(t0, BenchNow());
        WaitForSingleObject(second, kWaitMs);
        CloseHandle(second);
        CloseHandle(first);
        if (!ended) {
            std::printf("The program did not end (round %d)\n", round + 1);
            return 1;
        }
    }
    Report("Trivial Windows program, whole run (floor)", trivial, kRounds);
    Report("Launch until the main window exists", start, kRounds);
    Report("\"/close\" from a second start until the end", close, kRounds);
    DeleteDirectoryTree(folder.c_str());
    return 0;
}
