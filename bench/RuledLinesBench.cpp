// What the ruled lines cost a note, as a user meets it in the real program:
// - the paint of a lined body (ruled lines under its text and a double margin
//   line) beside the paint of a plain body of the same size and text, on 200
//   notes of one run, half of them lined, painted in turns;
// - a scroll by a line (down, then up again) with the paint that follows it;
// - the start with 598 notes lined beside the start with the same notes plain,
//   in turns, until the main window and every note window exist, and until
//   every note has painted.
// Each paint is asked from here (RedrawWindow with RDW_UPDATENOW waits until
// the body has painted); the floor beside them is a message sent to a body
// and answered. The GDI objects the program holds are counted before and
// after the paints and scrolls: a paint that leaves one behind shows here.
#include <windows.h>

#include <richedit.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchNotes.h"
#include "bench/BenchProgram.h"
#include "bench/GdiObjectCount.h"
#include "foundation/FolderTree.h"
#include "note/NoteSheetRecords.h"
#include "shell/ProgramParts.h"

namespace {
const int kPaintNotes = 200;
const int kStartNotes = 598;
const int kPaintRounds = 5;
const int kStartRounds = 3;

void RuleEveryNote(CNoteController& note, int)
{
    SetNoteLineKinds(note, 1, 4, 0);
}

void RuleEveryOtherNote(CNoteController& note, int index)
{
    if (index % 2)
        RuleEveryNote(note, index);
}

struct NoteBodies {
    std::vector<HWND> lined;
    std::vector<HWND> plain;
};

// The benchmark's notes read "Note <index>" first; the notes a new user is
// welcomed with are left out.
NoteBodies BodiesOf(DWORD process)
{
    NoteBodies bodies;
    for (HWND note : NoteWindowListOf(process)) {
        HWND body = FindWindowExA(note, nullptr, RICHEDIT_CLASSA, nullptr);
        char text[32] = "";
        DWORD_PTR copied = 0;
        if (body &&
            SendMessageTimeoutA(body, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                                &copied) &&
            std::strncmp(text, "Note ", 5) == 0)
            (std::atoi(text + 5) % 2 ? bodies.lined : bodies.plain).push_back(body);
    }
    return bodies;
}

// Every shown note and its body have painted what they show.
bool EveryNotePainted(DWORD process)
{
    for (HWND note : NoteWindowListOf(process)) {
        if (!IsWindowVisible(note))
            continue;
        HWND body = FindWindowExA(note, nullptr, RICHEDIT_CLASSA, nullptr);
        if (GetUpdateRect(note, nullptr, FALSE) || (body && GetUpdateRect(body, nullptr, FALSE)))
            return false;
    }
    return true;
}

bool WaitUntilEveryNotePainted(HANDLE process)
{
    HWND main = FindWindowA("MainWindowClassName6", nullptr);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kBenchWaitMs) {
        // Answered once the program has dealt with what was sent before;
        // its paints come when nothing else is waiting.
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_BLOCK, kBenchWaitMs, &answer);
        if (EveryNotePainted(GetProcessId(process)))
            return true;
        if (WaitForSingleObject(process, 10) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

// The mean milliseconds of one call of the action on every body.
template <class Action>
double MeanMilliseconds(const std::vector<HWND>& bodies, Action action)
{
    const LARGE_INTEGER from = BenchNow();
    for (HWND body : bodies)
        action(body);
    return bodies.empty() ? 0.0 : SecondsBetween(from, BenchNow()) * 1000.0 / bodies.size();
}

void Paint(HWND body)
{
    RedrawWindow(body, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void ScrollAndPaint(HWND body)
{
    SendMessageA(body, WM_VSCROLL, SB_LINEDOWN, 0);
    RedrawWindow(body, nullptr, nullptr, RDW_UPDATENOW);
    SendMessageA(body, WM_VSCROLL, SB_LINEUP, 0);
    RedrawWindow(body, nullptr, nullptr, RDW_UPDATENOW);
}

void Ask(HWND body)
{
    SendMessageA(body, WM_NULL, 0, 0);
}

struct Best {
    double value = 0;
    void Take(double measured) { value = value == 0 || measured < value ? measured : value; }
};

int MeasurePaints()
{
    int stored = 0;
    const std::string folder = MakeBenchNotesFolder("qn_ruled_bench", kPaintNotes, stored, RuleEveryOtherNote);
    if (folder.empty()) {
        std::printf("The program did not start on a new data folder\n");
        return 1;
    }
    const std::string program = folder + "\\qnpost.exe";
    const int windowsBefore = TopWindowCount();
    HANDLE running = LaunchInFolder(program, "", folder);
    if (!running || !WaitForBenchNotes(running, stored, windowsBefore) || !WaitUntilEveryNotePainted(running)) {
        std::printf("The program did not start with its %d notes\n", stored);
        return 1;
    }
    const NoteBodies bodies = BodiesOf(GetProcessId(running));
    const long gdiBefore = GdiObjectCount(running);
    Best lined, plain, linedScroll, plainScroll, floor;
    for (int round = 0; round < kPaintRounds; ++round) {
        floor.Take(MeanMilliseconds(bodies.plain, Ask));
        lined.Take(MeanMilliseconds(bodies.lined, Paint));
        plain.Take(MeanMilliseconds(bodies.plain, Paint));
        // Two scrolls and their paints each.
        linedScroll.Take(MeanMilliseconds(bodies.lined, ScrollAndPaint) / 2);
        plainScroll.Take(MeanMilliseconds(bodies.plain, ScrollAndPaint) / 2);
    }
    const long gdiAfter = GdiObjectCount(running);
    CloseBenchProgram(running, program, folder, kBenchWaitMs);
    DeleteDirectoryTree(folder.c_str());

    std::printf("%zu lined and %zu plain bodies, best of %d rounds, ms each:\n", bodies.lined.size(),
                bodies.plain.size(), kPaintRounds);
    std::printf("  paint:             lined %6.3f  plain %6.3f  ratio %5.2f\n", lined.value, plain.value,
                lined.value / plain.value);
    std::printf("  scroll with paint: lined %6.3f  plain %6.3f  ratio %5.2f\n", linedScroll.value, plainScroll.value,
                linedScroll.value / plainScroll.value);
    std::printf("  floor, a message to a body and its answer: %6.3f\n", floor.value);
    std::printf("GDI objects of the program before the paints %ld, after %d paints and %d scrolls %ld\n", gdiBefore,
                kPaintRounds * static_cast<int>(bodies.lined.size() + bodies.plain.size()),
                kPaintRounds * 2 * static_cast<int>(bodies.lined.size() + bodies.plain.size()), gdiAfter);
    return 0;
}

struct StartTimes {
    double windows;
    double painted;
};

bool TimeStart(const std::string& folder, int notes, StartTimes& times)
{
    const std::string program = folder + "\\qnpost.exe";
    const int windowsBefore = TopWindowCount();
    const LARGE_INTEGER t0 = BenchNow();
    HANDLE running = LaunchInFolder(program, "", folder);
    if (!running || !WaitForBenchNotes(running, notes, windowsBefore))
        return false;
    times.windows = SecondsBetween(t0, BenchNow());
    if (!WaitUntilEveryNotePainted(running))
        return false;
    times.painted = SecondsBetween(t0, BenchNow());
    return CloseBenchProgram(running, program, folder, kBenchWaitMs);
}

int MeasureStarts()
{
    int linedCount = 0, plainCount = 0;
    const std::string linedFolder = MakeBenchNotesFolder("qn_ruled_start_lined", kStartNotes, linedCount, RuleEveryNote);
    const std::string plainFolder = MakeBenchNotesFolder("qn_ruled_start_plain", kStartNotes, plainCount);
    if (linedFolder.empty() || plainFolder.empty()) {
        std::printf("The program did not start on a new data folder\n");
        return 1;
    }
    Best linedWindows, linedPainted, plainWindows, plainPainted;
    for (int round = 0; round < kStartRounds; ++round) {
        StartTimes lined{}, plain{};
        if (!TimeStart(linedFolder, linedCount, lined) || !TimeStart(plainFolder, plainCount, plain)) {
            std::printf("The program did not start with its notes, or did not end (round %d)\n", round + 1);
            return 1;
        }
        linedWindows.Take(lined.windows);
        linedPainted.Take(lined.painted);
        plainWindows.Take(plain.windows);
        plainPainted.Take(plain.painted);
    }
    DeleteDirectoryTree(linedFolder.c_str());
    DeleteDirectoryTree(plainFolder.c_str());
    std::printf("start with %d notes, best of %d rounds in turns, s:\n", kStartNotes, kStartRounds);
    std::printf("  until every window exists: lined %6.3f  plain %6.3f  ratio %5.2f\n", linedWindows.value,
                plainWindows.value, linedWindows.value / plainWindows.value);
    std::printf("  until every note painted:  lined %6.3f  plain %6.3f  ratio %5.2f\n", linedPainted.value,
                plainPainted.value, linedPainted.value / plainPainted.value);
    return 0;
}
}

int main()
{
    ConnectProgramParts();
    const int paints = MeasurePaints();
    std::fflush(stdout);
    return paints ? paints : MeasureStarts();
}
