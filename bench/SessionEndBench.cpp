// How soon the program answers the system's critical question about the end
// of the session (WM_QUERYENDSESSION with ENDSESSION_CRITICAL), with one note
// edited and 50, 200 and 598 stored notes of about 2 KB: while another
// program holds notes.QPD (sharing nothing), so that the edit cannot be
// stored and goes into the rescue backup, and with nothing held, when the
// rescue backup is written before the save and deleted once the save has
// stored everything. The rescue's time runs from the question until its file
// is whole (the program writes it sharing nothing, so it opens once closed).
// Beside it, the floor, measured in the same run: the same bytes written to
// a new file of the same folder and flushed, as the least any program does
// to keep them.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchNotes.h"
#include "bench/BenchProgram.h"
#include "foundation/FolderTree.h"
#include "shell/ProgramParts.h"

namespace {
const int kRounds = 3;
const int kNoteCounts[] = {50, 200, 598};
const char kEdit[] = "Edited before the end ";

double Best(const std::vector<double>& seconds)
{
    double best = seconds.empty() ? 0 : seconds[0];
    for (double each : seconds)
        best = each < best ? each : best;
    return best;
}

// The path of a rescue backup of the folder that is whole; empty while none is.
std::string WholeRescueBackup(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\BACKUP\\Unstored *.QPK").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::string();
    std::string whole;
    do {
        const std::string path = folder + "\\BACKUP\\" + found.cFileName;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            whole = path;
        }
    } while (whole.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return whole;
}

void DeleteRescueBackups(const std::string& folder)
{
    std::string path;
    while (!(path = WholeRescueBackup(folder)).empty())
        DeleteFileA(path.c_str());
}

std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// The floor: the bytes into a new file, flushed, closed.
double WriteNewFileSeconds(const std::string& path, const std::string& bytes)
{
    DeleteFileA(path.c_str());
    const LARGE_INTEGER start = BenchNow();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
    const double seconds = SecondsBetween(start, BenchNow());
    DeleteFileA(path.c_str());
    return seconds;
}

// The edit typed at the start of a note's body, as the keyboard gives it.
bool TypeIntoANote(DWORD process)
{
    const std::vector<HWND> notes = NoteWindowListOf(process);
    HWND body = notes.empty() ? nullptr : FindWindowExA(notes.front(), nullptr, "RichEdit20A", nullptr);
    if (!body)
        return false;
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(body, EM_SETSEL, 0, 0, SMTO_ABORTIFHUNG, kBenchWaitMs, &answer);
    for (const char* key = kEdit; *key; ++key)
        SendMessageTimeoutA(body, WM_CHAR, static_cast<unsigned char>(*key), 1, SMTO_ABORTIFHUNG, kBenchWaitMs,
                            &answer);
    return true;
}

struct EndTimes {
    double answer = 0;
    double rescue = -1;  // no whole rescue backup seen
    std::string rescueBytes;
};

// One run of the program: started, a note edited, the critical question
// asked (with notes.QPD held when asked); the program is then ended as the
// system ends it. False when the program did not start or answer.
bool TimeOneEnd(const std::string& folder, int notes, bool holdTable, EndTimes& times)
{
    DeleteRescueBackups(folder);
    const std::string program = folder + "\\qnpost.exe";
    const int windowsBefore = TopWindowCount();
    HANDLE running = LaunchInFolder(program, "", folder);
    if (!running || !WaitForBenchNotes(running, notes, windowsBefore) || !TypeIntoANote(GetProcessId(running)))
        return false;
    HWND main = FindWindowA("MainWindowClassName6", nullptr);
    HANDLE holder = INVALID_HANDLE_VALUE;
    if (holdTable)
        holder = CreateFileA((folder + "\\notes.QPD").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);

    std::atomic<bool> answered{false};
    LARGE_INTEGER rescued{};
    std::string rescuePath;
    const LARGE_INTEGER asked = BenchNow();
    // The rescue backup is looked for until a moment after the answer: with
    // nothing held it goes again once the save has stored everything.
    std::thread watch([&] {
        LARGE_INTEGER answeredAt{};
        for (;;) {
            rescuePath = WholeRescueBackup(folder);
            if (!rescuePath.empty()) {
                rescued = BenchNow();
                return;
            }
            if (answered && !answeredAt.QuadPart)
                answeredAt = BenchNow();
            if (answeredAt.QuadPart && SecondsBetween(answeredAt, BenchNow()) > 0.5)
                return;
            Sleep(1);
        }
    });
    DWORD_PTR answer = 0;
    const bool gotAnswer = SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_CRITICAL, SMTO_ABORTIFHUNG,
                                               kBenchWaitMs, &answer) != 0;
    times.answer = SecondsBetween(asked, BenchNow());
    answered = true;
    watch.join();
    if (rescued.QuadPart) {
        times.rescue = SecondsBetween(asked, rescued);
        times.rescueBytes = ReadBytes(rescuePath);
    }
    if (holder != INVALID_HANDLE_VALUE)
        CloseHandle(holder);
    TerminateProcess(running, 0);
    WaitForSingleObject(running, kBenchWaitMs);
    CloseHandle(running);
    return gotAnswer;
}
}

int main()
{
    ConnectProgramParts();
    std::printf("%-6s | %9s %9s %9s %6s %8s | %9s\n", "notes", "answer s", "rescue s", "floor s", "ratio", "bytes",
                "free s");
    for (int notes : kNoteCounts) {
        int windowCount = 0;
        const std::string folder = MakeBenchNotesFolder("qn_sessionend_bench", notes, windowCount);
        if (folder.empty()) {
            std::printf("The program did not start on a new data folder\n");
            return 1;
        }
        std::vector<double> answers, rescues, floors, free;
        size_t bytes = 0;
        for (int round = 0; round < kRounds; ++round) {
            EndTimes held, unheld;
            if (!TimeOneEnd(folder, windowCount, true, held) || !TimeOneEnd(folder, windowCount, false, unheld)) {
                std::printf("The program did not start with its %d notes or did not answer (round %d)\n", notes,
                            round + 1);
                return 1;
            }
            answers.push_back(held.answer);
            free.push_back(unheld.answer);
            if (held.rescue < 0) {
                std::printf("No rescue backup came with %d notes (round %d)\n", notes, round + 1);
                return 1;
            }
            rescues.push_back(held.rescue);
            bytes = held.rescueBytes.size();
            floors.push_back(WriteNewFileSeconds(folder + "\\BACKUP\\floor.QPK", held.rescueBytes));
        }
        const double rescue = Best(rescues), floor = Best(floors);
        std::printf("%-6d | %9.3f %9.3f %9.4f %6.0f %8zu | %9.3f\n", windowCount, Best(answers), rescue, floor,
                    rescue / floor, bytes, Best(free));
        std::fflush(stdout);
        DeleteDirectoryTree(folder.c_str());
    }
    std::printf("Best of %d rounds, in seconds. answer: the critical question sent until the program answered,\n"
                "with notes.QPD held; rescue: the same question until the rescue backup (of the given bytes) was\n"
                "whole, beside the floor: those bytes written to a new file and flushed; free: the answer with\n"
                "nothing held (the rescue backup is written, the notes stored, the rescue backup deleted).\n",
                kRounds);
    return 0;
}
