// How long the program takes to start and to end, as a user meets it: from
// launch until its main window and every stored note's window exist, and from
// a second start's "/close" until the process has ended (the exit save
// included), with 0, 50, 200 and 598 stored notes of about 2 KB each.
// Beside them, measured in the same run, two floors: the whole run of a
// trivial Windows program (this benchmark started again with "--trivial"),
// which Wine's process start sets, and the whole run of a small program of
// the benchmark's own ("--windows N") that makes as many popup windows, each
// with a Rich Edit body streamed the same rich text.
#include <windows.h>

#include <richedit.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchProgram.h"
#include "foundation/DataFolder.h"
#include "foundation/FolderTree.h"
#include "note/NoteController.h"
#include "shell/ProgramParts.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/NotesLoader.h"

namespace {
const int kRounds = 3;
const DWORD kWaitMs = 120000;
const int kNoteCounts[] = {0, 50, 200, 598};
// About 2 KB of rich text, different for every note.
std::string NoteText(int index)
{
    std::string text = "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs20 Note " + std::to_string(index) + "\\par ";
    for (int line = 0; text.size() < 2000; ++line)
        text += "{\\b line} " + std::to_string(line) + " of a stored note, " + std::to_string(index * 31 + line) + "\\par ";
    return text + "}";
}

// The main window is there and so is a window for every stored note.
bool WaitForNotes(HANDLE process, int notes)
{
    const DWORD start = GetTickCount();
    for (int round = 0; round < 1000000 && GetTickCount() - start < kWaitMs; ++round) {
        if (FindWindowA("MainWindowClassName6", nullptr) && NoteWindowsOf(GetProcessId(process)) >= notes)
            return true;
        if (WaitForSingleObject(process, 5) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

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
int MakeWindows(int count)
{
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
        std::string text = NoteText(i);
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&text), 0, &StreamFromText};
        SendMessageA(body, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    return 0;
}

std::string MakeFolder(int notes)
{
    const std::string folder = MakeBenchInstall("qn_startclose_bench");
    // A first run makes the user known and stores the notes a new user is
    // welcomed with, which count among the stored ones.
    const std::string program = folder + "\\qnpost.exe";
    HANDLE first = LaunchInFolder(program, "", folder);
    if (!first || !WaitForNotes(first, 0))
        return std::string();
    CloseBenchProgram(first, program, folder, kWaitMs);
    SetDataFolder(folder.c_str());
    NotesFreeSlots().Clear();
    RowOwnership everyone;
    everyone.seesEveryone = true;
    int stored = 0;
    LoadNotes(everyone, [&](CNoteController* note) {
        delete note;
        ++stored;
    });
    for (int i = stored; i < notes; ++i) {
        CNoteController note;
        note.m_userId = 1;
        note.m_left = 10 + i % 40 * 5;
        note.m_top = 30 + i % 40 * 5;
        note.m_width = 200;
        note.m_height = 150;
        note.m_bodyColor = RGB(255, 255, 160);
        const std::string text = NoteText(i);
        note.SetRichText(text.data(), text.size());
        SaveNote(note);
    }
    return folder;
}

double TimeWholeRun(const std::string& arguments, const std::string& folder)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    LARGE_INTEGER t0 = BenchNow();
    HANDLE run = LaunchInFolder(self, arguments, folder);
    WaitForSingleObject(run, kWaitMs);
    const double seconds = SecondsBetween(t0, BenchNow());
    CloseHandle(run);
    return seconds;
}
}

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--trivial") == 0)
        return 0;
    ConnectProgramParts();
    if (argc > 2 && std::strcmp(argv[1], "--windows") == 0)
        return MakeWindows(std::atoi(argv[2]));

    std::printf("%-6s %10s %12s %8s %10s %12s %8s\n", "notes", "start s", "windows s", "ratio", "close s",
                "trivial s", "ratio");
    for (int notes : kNoteCounts) {
        const std::string folder = MakeFolder(notes);
        if (folder.empty()) {
            std::printf("The program did not start on a new data folder\n");
            return 1;
        }
        const std::string program = folder + "\\qnpost.exe";
        double trivial[kRounds], windows[kRounds], start[kRounds], close[kRounds];
        for (int round = 0; round < kRounds; ++round) {
            trivial[round] = TimeWholeRun("--trivial", folder);
            windows[round] = TimeWholeRun("--windows " + std::to_string(notes), folder);

            LARGE_INTEGER t0 = BenchNow();
            HANDLE first = LaunchInFolder(program, "", folder);
            if (!first || !WaitForNotes(first, notes)) {
                std::printf("The program did not start with its %d notes (round %d)\n", notes, round + 1);
                return 1;
            }
            start[round] = SecondsBetween(t0, BenchNow());

            t0 = BenchNow();
            HANDLE second = LaunchInFolder(program, "/close", folder);
            const bool ended = WaitForSingleObject(first, kWaitMs) == WAIT_OBJECT_0;
            close[round] = SecondsBetween(t0, BenchNow());
            WaitForSingleObject(second, kWaitMs);
            CloseHandle(second);
            CloseHandle(first);
            if (!ended) {
                std::printf("The program did not end (round %d)\n", round + 1);
                return 1;
            }
        }
        const double bestStart = Best(start, kRounds), bestWindows = Best(windows, kRounds);
        const double bestClose = Best(close, kRounds), bestTrivial = Best(trivial, kRounds);
        std::printf("%-6d %10.3f %12.3f %8.2f %10.3f %12.3f %8.2f\n", notes, bestStart, bestWindows,
                    bestStart / bestWindows, bestClose, bestTrivial, bestClose / bestTrivial);
        std::fflush(stdout);
        DeleteDirectoryTree(folder.c_str());
    }
    std::printf("Best of %d rounds. start: launch until the main window and every note window exist;\n"
                "windows: a program making as many popup windows with a Rich Edit body of the same text;\n"
                "close: \"/close\" from a second start until the end; trivial: a program that only ends.\n",
                kRounds);
    return 0;
}
