// How long the program takes to start and to end, as a user meets it: from
// launch until its main window and every stored note's window exist, and from
// a second start's "/close" until both processes have ended (the exit save
// included), with 0, 50, 200 and 598 stored notes of about 2 KB each (the
// notes a new user is welcomed with count among them).
// Beside them, measured in the same run, the floors, each the work that
// cannot be left out, done by a small program of the benchmark's own (this
// benchmark started again):
// - start: the whole run of a program ("--windows N") that makes as many popup
//   windows, each with a Rich Edit body streamed the same rich text. Being
//   this benchmark, it loads the program's system libraries and builds its
//   program-wide objects before main (OLE started, the crypto provider
//   acquired), which the program must do before its first window too;
// - close: the whole run of a program ("--find-and-send") that finds the
//   running program's main window and sends it one message, plus the second
//   start's prescribed wait of a second before it forwards its command, plus
//   the time a program ("--destroy N") takes to destroy as many such windows
//   one by one and end. Each of those windows has, beside its Rich Edit body,
//   the two small child windows of the scroll arrows that a note shows while
//   its text does not fit (the benchmark's notes hold more than their windows
//   show), since destroying a note destroys them with it.
// The close is over when both the program and its second start have ended.
#include <windows.h>

#include <richedit.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchNotes.h"
#include "bench/BenchProgram.h"
#include "foundation/FolderTree.h"
#include "shell/ProgramParts.h"

namespace {
const int kRounds = 3;
// What a second start waits before it forwards its command line.
const double kForwardWaitSeconds = 1.0;
const char kDestroyStartFile[] = "destroy-started.bin";  // when the floor began destroying
const int kNoteCounts[] = {0, 50, 200, 598};
double Best(const double seconds[], int count)
{
    double best = seconds[0];
    for (int i = 1; i < count; ++i)
        if (seconds[i] < best)
            best = seconds[i];
    return best;
}

DWORD CALLBACK StreamFromText(DWORD_PTR cookie, LPBYTE bytes, LONG wanted, LONG* done)
{
    auto* rest = reinterpret_cast<std::string*>(cookie);
    const LONG count = wanted < static_cast<LONG>(rest->size()) ? wanted : static_cast<LONG>(rest->size());
    std::memcpy(bytes, rest->data(), static_cast<size_t>(count));
    rest->erase(0, static_cast<size_t>(count));
    *done = count;
    return 0;
}

// The floor of a start with notes: as many popup windows with a Rich Edit
// body holding the same text, made by a program that does nothing else.
std::vector<HWND> MakeWindows(int count)
{
    std::vector<HWND> made;
    LoadLibraryA("riched20.dll");
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "QnBenchFloorWindow";
    RegisterClassA(&windowClass);
    for (int i = 0; i < count; ++i) {
        HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, windowClass.lpszClassName, "Note",
                                      WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN, 10 + i % 40 * 5,
                                      30 + i % 40 * 5, 200, 150, nullptr, nullptr, windowClass.hInstance, nullptr);
        HWND body = CreateWindowExA(0, RICHEDIT_CLASSA, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                                    190, 120, window, nullptr, windowClass.hInstance, nullptr);
        std::string text = BenchNoteText(i);
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&text), 0, &StreamFromText};
        SendMessageA(body, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        ShowWindow(window, SW_SHOWNOACTIVATE);
        made.push_back(window);
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    return made;
}

// The two scroll arrows of a note whose text does not fit: small child
// windows at its right edge.
void AddScrollArrows(const std::vector<HWND>& windows)
{
    WNDCLASSA arrowClass{};
    arrowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    arrowClass.lpfnWndProc = DefWindowProcA;
    arrowClass.hInstance = GetModuleHandleA(nullptr);
    arrowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    arrowClass.lpszClassName = "QnBenchFloorArrow";
    RegisterClassA(&arrowClass);
    for (HWND window : windows) {
        for (int y : {0, 108})
            CreateWindowExA(0, arrowClass.lpszClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 176, y, 12, 12,
                            window, nullptr, arrowClass.hInstance, nullptr);
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

// The floor of closing the notes: the windows above, with their scroll
// arrows, destroyed one by one, and the process ended, as a closing program's
// is. The moment the first window goes is left in a file for the benchmark.
int DestroyWindows(int count)
{
    std::vector<HWND> windows = MakeWindows(count);
    AddScrollArrows(windows);
    const LARGE_INTEGER started = BenchNow();
    HANDLE file = CreateFileA(kDestroyStartFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, &started, sizeof started, &written, nullptr);
    CloseHandle(file);
    for (HWND window : windows)
        DestroyWindow(window);
    return 0;
}

// The floor of handing the running program a command: find its window, send one message.
int FindAndSend()
{
    HWND running = FindWindowA("MainWindowClassName6", nullptr);
    if (running)
        SendMessageA(running, WM_NULL, 0, 0);
    return running ? 0 : 1;
}

// The whole run of this benchmark started again with the arguments.
double TimeWholeRun(const std::string& arguments, const std::string& folder)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    LARGE_INTEGER t0 = BenchNow();
    HANDLE run = LaunchInFolder(self, arguments, folder);
    WaitForSingleObject(run, kBenchWaitMs);
    const double seconds = SecondsBetween(t0, BenchNow());
    CloseHandle(run);
    return seconds;
}

// The floor's closing of the notes: from the first window's destruction
// until the process that held them has ended.
double TimeDestroyUntilEnded(int windowCount, const std::string& folder)
{
    const std::string mark = folder + "\\" + kDestroyStartFile;
    DeleteFileA(mark.c_str());
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    HANDLE run = LaunchInFolder(self, "--destroy " + std::to_string(windowCount), folder);
    WaitForSingleObject(run, kBenchWaitMs);
    const LARGE_INTEGER ended = BenchNow();
    CloseHandle(run);
    LARGE_INTEGER started{};
    HANDLE file = CreateFileA(mark.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD read = 0;
    ReadFile(file, &started, sizeof started, &read, nullptr);
    CloseHandle(file);
    return read == sizeof started ? SecondsBetween(started, ended) : 0.0;
}
}

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--find-and-send") == 0)
        return FindAndSend();
    ConnectProgramParts();
    if (argc > 2 && std::strcmp(argv[1], "--windows") == 0) {
        MakeWindows(std::atoi(argv[2]));
        return 0;
    }
    if (argc > 2 && std::strcmp(argv[1], "--destroy") == 0)
        return DestroyWindows(std::atoi(argv[2]));

    std::printf("%-6s %7s | %8s %9s %6s | %8s %9s %9s %9s %6s\n", "notes", "windows", "start s", "floor s", "ratio",
                "close s", "find s", "destroy s", "floor s", "ratio");
    for (int notes : kNoteCounts) {
        int windowCount = 0;
        const std::string folder = MakeBenchNotesFolder("qn_startclose_bench", notes, windowCount);
        if (folder.empty()) {
            std::printf("The program did not start on a new data folder\n");
            return 1;
        }
        const std::string program = folder + "\\qnpost.exe";
        double windows[kRounds], start[kRounds], close[kRounds], findAndSend[kRounds], destroy[kRounds];
        for (int round = 0; round < kRounds; ++round) {
            windows[round] = TimeWholeRun("--windows " + std::to_string(windowCount), folder);
            destroy[round] = TimeDestroyUntilEnded(windowCount, folder);

            const int windowsBefore = TopWindowCount();
            LARGE_INTEGER t0 = BenchNow();
            HANDLE first = LaunchInFolder(program, "", folder);
            if (!first || !WaitForBenchNotes(first, windowCount, windowsBefore)) {
                std::printf("The program did not start with its %d notes (round %d)\n", notes, round + 1);
                return 1;
            }
            start[round] = SecondsBetween(t0, BenchNow());
            findAndSend[round] = TimeWholeRun("--find-and-send", folder);

            t0 = BenchNow();
            HANDLE second = LaunchInFolder(program, "/close", folder);
            const bool ended = WaitForSingleObject(first, kBenchWaitMs) == WAIT_OBJECT_0;
            WaitForSingleObject(second, kBenchWaitMs);
            close[round] = SecondsBetween(t0, BenchNow());
            CloseHandle(second);
            CloseHandle(first);
            if (!ended) {
                std::printf("The program did not end (round %d)\n", round + 1);
                return 1;
            }
        }
        const double bestStart = Best(start, kRounds), bestWindows = Best(windows, kRounds);
        const double bestClose = Best(close, kRounds), bestFind = Best(findAndSend, kRounds);
        const double bestDestroy = Best(destroy, kRounds);
        const double closeFloor = bestFind + kForwardWaitSeconds + bestDestroy;
        std::printf("%-6d %7d | %8.3f %9.3f %6.2f | %8.3f %9.3f %9.3f %9.3f %6.2f\n", notes, windowCount, bestStart,
                    bestWindows, bestStart / bestWindows, bestClose, bestFind, bestDestroy, closeFloor,
                    bestClose / closeFloor);
        std::fflush(stdout);
        DeleteDirectoryTree(folder.c_str());
    }
    std::printf("Best of %d rounds. start: launch until the main window and every note window exist, beside\n"
                "a program making as many popup windows with a Rich Edit body of the same text; close: \"/close\"\n"
                "from a second start until both have ended, beside a program that finds the window and sends one\n"
                "message (find), the second start's wait of %.0f s and a program's destroying as many windows, each\n"
                "with two scroll arrows, and ending (destroy).\n",
                kRounds, kForwardWaitSeconds);
    return 0;
}
