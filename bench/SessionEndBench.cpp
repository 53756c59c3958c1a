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
// to keep them. With the table held, WM_ENDSESSION follows the answer, as
// when the system goes on to end the session.
//
// Then the run's first timed save with 598 notes, with notes.QPD held and
// with nothing held: how long the save keeps the main window busy, the
// longest a plain message to the main window waits for its answer meanwhile,
// and (held) how soon the rescue backup is whole; beside the floor of
// copying the notes table and its memo file to new files, flushed.
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
#include "globals/MainWindowMessages.h"
#include "shell/ProgramParts.h"
#include "store/DbfFile.h"

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

// The rescue backups and their marks, so that the next start offers none.
void DeleteRescueBackups(const std::string& folder)
{
    std::string path;
    while (!(path = WholeRescueBackup(folder)).empty())
        DeleteFileA(path.c_str());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\BACKUP\\Unstored *.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
        DeleteFileA((folder + "\\BACKUP\\" + found.cFileName).c_str());
    while (FindNextFileA(search, &found));
    FindClose(search);
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

// The program started on the folder with a note edited, and notes.QPD held
// by the benchmark (sharing nothing) when asked.
struct EditedRun {
    EditedRun() = default;
    EditedRun(const EditedRun&) = delete;
    EditedRun& operator=(const EditedRun&) = delete;

    HANDLE running = nullptr;
    HWND main = nullptr;
    HANDLE holder = INVALID_HANDLE_VALUE;

    bool Start(const std::string& folder, int notes, bool holdTable)
    {
        DeleteRescueBackups(folder);
        const int windowsBefore = TopWindowCount();
        running = LaunchInFolder(folder + "\\qnpost.exe", "", folder);
        if (!running || !WaitForBenchNotes(running, notes, windowsBefore) || !TypeIntoANote(GetProcessId(running)))
            return false;
        main = FindWindowA("MainWindowClassName6", nullptr);
        if (holdTable)
            holder = CreateFileA((folder + "\\notes.QPD").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
        return true;
    }

    // The holder lets go, and the program is ended as the system ends it.
    ~EditedRun()
    {
        if (holder != INVALID_HANDLE_VALUE)
            CloseHandle(holder);
        if (!running)
            return;
        TerminateProcess(running, 0);
        WaitForSingleObject(running, kBenchWaitMs);
        CloseHandle(running);
    }
};

struct EndTimes {
    double answer = 0;
    double rescue = -1;  // no whole rescue backup seen
    std::string rescueBytes;
    double sessionEnd = 0;  // WM_ENDSESSION after the answer, with the table held
};

// One run of the program: started, a note edited, the critical question
// asked (with notes.QPD held when asked); the program is then ended as the
// system ends it. False when the program did not start or answer.
bool TimeOneEnd(const std::string& folder, int notes, bool holdTable, EndTimes& times)
{
    EditedRun run;
    if (!run.Start(folder, notes, holdTable))
        return false;
    const HWND main = run.main;

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
    bool gotAnswer = SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_CRITICAL, SMTO_ABORTIFHUNG,
                                         kBenchWaitMs, &answer) != 0;
    times.answer = SecondsBetween(asked, BenchNow());
    answered = true;
    watch.join();
    if (holdTable && gotAnswer) {
        const LARGE_INTEGER ending = BenchNow();
        gotAnswer = SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, ENDSESSION_CRITICAL, SMTO_ABORTIFHUNG,
                                        kBenchWaitMs, &answer) != 0;
        times.sessionEnd = SecondsBetween(ending, BenchNow());
    }
    if (rescued.QuadPart) {
        times.rescue = SecondsBetween(asked, rescued);
        times.rescueBytes = ReadBytes(rescuePath);
    }
    return gotAnswer;
}
// The timed saves come at an interval the program's own timer does not reach
// while it runs here: the benchmark sends the ticks.
const long kSaveIntervalMinutes = 5;
const int kHousekeepingTicks = 4 * kSaveIntervalMinutes;
// A tick that the start let in before it set its timer counts for nothing:
// the ticks go on until the save has shown, a few more at the most.
const int kMostTicks = 2 * kHousekeepingTicks;
const int kTimedSaveNotes = 598;

double Worst(const std::vector<double>& seconds)
{
    double worst = 0;
    for (double each : seconds)
        worst = each > worst ? each : worst;
    return worst;
}

void SetSaveInterval(const std::string& folder, long minutes)
{
    CDbfFile config;
    config.SetTable((folder + "\\config.QPD").c_str(), true);
    config.Open("MAPPINGALL");
    config.SetLongValue(1, "WSAVEINT", minutes);
    config.Close();
}

// The floor of a save: the notes table and its memo file copied to new
// files, flushed.
double CopyTablesSeconds(const std::string& folder)
{
    const std::string table = ReadBytes(folder + "\\notes.QPD"), memo = ReadBytes(folder + "\\notes.QPS");
    const LARGE_INTEGER start = BenchNow();
    WriteNewFileSeconds(folder + "\\floor.QPD", table);
    WriteNewFileSeconds(folder + "\\floor.QPS", memo);
    return SecondsBetween(start, BenchNow());
}

struct TimedSaveTimes {
    double save = 0;        // the longest tick: the one that saved
    double unanswered = 0;  // the longest wait of a plain message meanwhile
    double rescue = -1;     // from the start of the saving tick until the rescue backup was whole
};

// When the notes table was written last.
ULONGLONG TableWritten(const std::string& folder)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA((folder + "\\notes.QPD").c_str(), GetFileExInfoStandard, &data);
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// One run of the program: started, a note edited, its first timed save made
// by the ticks of its interval (with notes.QPD held, when asked) while
// another thread keeps sending the main window WM_NULL; then the program is
// ended. False when it did not start, a tick was not answered or no save
// showed (a rescue backup when held, else a new notes table).
bool TimeOneTimedSave(const std::string& folder, int notes, bool holdTable, TimedSaveTimes& times)
{
    EditedRun run;
    if (!run.Start(folder, notes, holdTable))
        return false;
    const HWND main = run.main;
    const ULONGLONG writtenBefore = TableWritten(folder);

    std::atomic<bool> ticking{true};
    std::atomic<double> unanswered{0};
    std::thread probe([&] {
        while (ticking) {
            const LARGE_INTEGER sent = BenchNow();
            DWORD_PTR result = 0;
            SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kBenchWaitMs, &result);
            const double waited = SecondsBetween(sent, BenchNow());
            if (waited > unanswered)
                unanswered = waited;
            Sleep(1);
        }
    });
    LARGE_INTEGER rescued{};
    std::thread watch([&] {
        while (ticking && holdTable && !rescued.QuadPart) {
            if (!WholeRescueBackup(folder).empty())
                rescued = BenchNow();
            Sleep(1);
        }
    });
    bool answered = true;
    bool saved = false;
    LARGE_INTEGER savingTick{};
    for (int tick = 0; tick < kMostTicks && answered && !saved; ++tick) {
        const LARGE_INTEGER start = BenchNow();
        DWORD_PTR result = 0;
        answered = SendMessageTimeoutA(main, WM_TIMER, kTimerHousekeeping, 0, SMTO_ABORTIFHUNG, kBenchWaitMs,
                                       &result) != 0;
        const double took = SecondsBetween(start, BenchNow());
        if (took > times.save) {
            times.save = took;
            savingTick = start;
        }
        saved = tick + 1 >= kHousekeepingTicks &&
                (holdTable ? !WholeRescueBackup(folder).empty() : TableWritten(folder) != writtenBefore);
    }
    ticking = false;
    probe.join();
    watch.join();
    times.unanswered = unanswered;
    if (rescued.QuadPart)
        times.rescue = SecondsBetween(savingTick, rescued);
    return answered && saved;
}

// The timed saves of one data folder, held and free, best of the rounds (the
// waits: the worst).
bool BenchTimedSaves()
{
    int windowCount = 0;
    const std::string folder = MakeBenchNotesFolder("qn_timedsave_bench", kTimedSaveNotes, windowCount);
    if (folder.empty()) {
        std::printf("The program did not start on a new data folder\n");
        return false;
    }
    SetSaveInterval(folder, kSaveIntervalMinutes);
    std::printf("\n%-6s %-5s | %9s %11s %9s | %9s %6s\n", "notes", "table", "save s", "unanswered", "rescue s",
                "floor s", "ratio");
    for (bool held : {true, false}) {
        std::vector<double> saves, waits, rescues, floors;
        for (int round = 0; round < kRounds; ++round) {
            TimedSaveTimes times;
            if (!TimeOneTimedSave(folder, windowCount, held, times)) {
                std::printf("The program did not start with its %d notes, did not answer a tick or did not save "
                            "(round %d)\n",
                            windowCount, round + 1);
                return false;
            }
            if (held && times.rescue < 0) {
                std::printf("No rescue backup came of the timed save (round %d)\n", round + 1);
                return false;
            }
            saves.push_back(times.save);
            waits.push_back(times.unanswered);
            rescues.push_back(times.rescue);
            floors.push_back(CopyTablesSeconds(folder));
        }
        const double save = Best(saves), floor = Best(floors);
        std::printf("%-6d %-5s | %9.3f %11.3f %9.3f | %9.4f %6.0f\n", windowCount, held ? "held" : "free", save,
                    Worst(waits), held ? Best(rescues) : 0.0, floor, save / floor);
        std::fflush(stdout);
    }
    DeleteDirectoryTree(folder.c_str());
    std::printf("Timed save: the first of the run, which stores every note with the memo file rebuilt. save: the\n"
                "tick that saved, best of %d; unanswered: the longest a WM_NULL sent meanwhile waited for its\n"
                "answer, worst of %d; rescue: from that tick until the rescue backup was whole (notes.QPD held);\n"
                "floor: notes.QPD and notes.QPS copied to new files and flushed.\n",
                kRounds, kRounds);
    return true;
}
}

int main()
{
    ConnectProgramParts();
    std::printf("%-6s | %9s %9s %9s %6s %8s | %9s | %9s\n", "notes", "answer s", "rescue s", "floor s", "ratio",
                "bytes", "free s", "ending s");
    for (int notes : kNoteCounts) {
        int windowCount = 0;
        const std::string folder = MakeBenchNotesFolder("qn_sessionend_bench", notes, windowCount);
        if (folder.empty()) {
            std::printf("The program did not start on a new data folder\n");
            return 1;
        }
        std::vector<double> answers, rescues, floors, free, endings;
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
            endings.push_back(held.sessionEnd);
            if (held.rescue < 0) {
                std::printf("No rescue backup came with %d notes (round %d)\n", notes, round + 1);
                return 1;
            }
            rescues.push_back(held.rescue);
            bytes = held.rescueBytes.size();
            floors.push_back(WriteNewFileSeconds(folder + "\\BACKUP\\floor.QPK", held.rescueBytes));
        }
        const double rescue = Best(rescues), floor = Best(floors);
        std::printf("%-6d | %9.3f %9.3f %9.4f %6.0f %8zu | %9.3f | %9.3f\n", windowCount, Best(answers), rescue, floor,
                    rescue / floor, bytes, Best(free), Worst(endings));
        std::fflush(stdout);
        DeleteDirectoryTree(folder.c_str());
    }
    std::printf("Best of %d rounds, in seconds. answer: the critical question sent until the program answered,\n"
                "with notes.QPD held; rescue: the same question until the rescue backup (of the given bytes) was\n"
                "whole, beside the floor: those bytes written to a new file and flushed; free: the answer with\n"
                "nothing held (the rescue backup is written, the notes stored, the rescue backup deleted);\n"
                "ending: WM_ENDSESSION sent after the held answer until the program answered, worst of %d.\n",
                kRounds, kRounds);
    return BenchTimedSaves() ? 0 : 1;
}
