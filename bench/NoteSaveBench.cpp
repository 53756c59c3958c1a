// One note saved, every note saved one by one and all together (as the
// program does when it closes), and every note loaded, with 50, 200 and 598
// notes of about 2 KB in the notes table. Beside them, the floors, measured
// in the same row at the same memo size.
// - A save: the least a save must do to keep the table and its memo file
//   whole through a crash, done with the bare file calls: copy the table and
//   the memo file to working copies, write the new memos' bytes at the end of
//   the memo copy in one write, flush the memo copy, then put the memo copy
//   and last the table copy in place of files of the same size (a rename over
//   an existing file). The program saves the same way (copies, then renames)
//   and flushes its memo copy before the rename, so that a stop at any point
//   leaves either the old or the new pair; encoding the records and the memo
//   headers is left out of the floor, as the program's own work. A save of
//   all notes together is timed right after each such floor; the saves one
//   by one after as many floors in a row, since a long stream of writes and
//   flushes runs slower than one alone. Every save appends to the memo file,
//   so those floors work on a pair of their own that grows the same way.
// - A load: reading the table and its memo file once into memory. The load is
//   timed until the last note is made; the notes are freed afterwards.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "foundation/DataFolder.h"
#include "note/NoteController.h"
#include "shell/ProgramParts.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/NotesLoader.h"

namespace {
const int kRepeats = 7;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string ProgramFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

template <class Body>
double Seconds(Body&& body)
{
    LARGE_INTEGER start = BenchNow();
    body();
    return SecondsBetween(start, BenchNow());
}

// The padded size of the memo that a note's text takes: an 8-byte memo
// header, the text, zeros up to the next 64-byte block.
size_t MemoBytesOf(CNoteController& note)
{
    return (8 + note.RichText().size() + 63) / 64 * 64;
}

void ReplaceFile(const char* from, const char* to)
{
    MoveFileExA(DataFilePath(from).c_str(), DataFilePath(to).c_str(),
                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// The floor of a save that appends this many memo bytes (see the header), to
// the pair of files named, which it leaves as "floor.QPD" and "floor.QPS".
void CrashSafeCopy(const char* table, const char* memoFile, size_t memoBytes)
{
    CopyFileA(DataFilePath(table).c_str(), DataFilePath("copy.QPD").c_str(), FALSE);
    CopyFileA(DataFilePath(memoFile).c_str(), DataFilePath("copy.QPS").c_str(), FALSE);
    HANDLE memo = CreateFileA(DataFilePath("copy.QPS").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    std::vector<char> tail(memoBytes, 'x');
    DWORD written = 0;
    SetFilePointer(memo, 0, nullptr, FILE_END);
    WriteFile(memo, tail.data(), static_cast<DWORD>(tail.size()), &written, nullptr);
    FlushFileBuffers(memo);
    CloseHandle(memo);
    ReplaceFile("copy.QPS", "floor.QPS");
    ReplaceFile("copy.QPD", "floor.QPD");
}

// The floor of a save of the program's files as they are now.
void CrashSafeCopy(size_t memoBytes)
{
    CrashSafeCopy("notes.QPD", "notes.QPS", memoBytes);
}

// The bytes of the file, read in one go.
size_t ReadWhole(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    std::vector<char> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return read;
}
}

int main()
{
    ConnectProgramParts();
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "qnsavebench";
    CreateDirectoryA(folder.c_str(), nullptr);
    SetDataFolder(folder.c_str());
    std::printf("%-6s | %9s %9s %6s | %11s %11s %6s | %9s %9s %6s | %9s %9s %6s\n", "notes", "SaveNote", "copy",
                "ratio", "one by one", "N copies", "ratio", "together", "copy", "ratio", "LoadNotes", "read", "ratio");
    for (int count : {50, 200, 598}) {
        for (const char* name : {"notes.QPD", "notes.QPS"})
            CopyFileA((ProgramFolder() + "\\QlData\\" + name).c_str(), DataFilePath(name).c_str(), FALSE);
        NotesFreeSlots().Clear();
        std::vector<std::unique_ptr<CNoteController>> notes;
        for (int i = 0; i < count; ++i) {
            notes.emplace_back(new CNoteController);
            std::string text = "{\\rtf1 " + std::string(2000, static_cast<char>('a' + i % 26)) + "}";
            notes.back()->SetRichText(text.data(), text.size());
            notes.back()->m_userId = 1;
            SaveNote(*notes.back());
        }
        CNoteController& middle = *notes[count / 2];
        size_t allMemoBytes = 0;
        for (auto& note : notes)
            allMemoBytes += MemoBytesOf(*note);
        // The files the floor replaces, there from the start.
        CrashSafeCopy(MemoBytesOf(middle));
        std::vector<double> save, saveFloor;
        for (int i = 0; i < kRepeats; ++i) {
            saveFloor.push_back(Seconds([&] { CrashSafeCopy(MemoBytesOf(middle)); }));
            save.push_back(Seconds([&] {
                middle.m_left += 1;
                SaveNote(middle);
            }));
        }
        std::vector<CNoteController*> all;
        for (auto& note : notes)
            all.push_back(note.get());
        // As many floors in a row as saves follow, in the same stream of writes.
        // Each of them replaces the pair it copied, so that its memo file grows
        // from save to save as the program's does.
        CopyFileA(DataFilePath("notes.QPD").c_str(), DataFilePath("floor.QPD").c_str(), FALSE);
        CopyFileA(DataFilePath("notes.QPS").c_str(), DataFilePath("floor.QPS").c_str(), FALSE);
        double oneByOneFloor = Seconds([&] {
            for (CNoteController* note : all)
                CrashSafeCopy("floor.QPD", "floor.QPS", MemoBytesOf(*note));
        });
        double oneByOne = Seconds([&] {
            for (CNoteController* note : all) {
                note->m_left += 1;
                SaveNote(*note);
            }
        });
        std::vector<double> together, togetherFloor;
        for (int i = 0; i < kRepeats; ++i) {
            togetherFloor.push_back(Seconds([&] { CrashSafeCopy(allMemoBytes); }));
            together.push_back(Seconds([&] {
                for (CNoteController* note : all)
                    note->m_left += 1;
                SaveNotes(all, false);
            }));
        }
        RowOwnership me;
        me.currentUserId = 1;
        std::vector<double> load, loadFloor;
        for (int i = 0; i < kRepeats; ++i) {
            loadFloor.push_back(Seconds([&] {
                ReadWhole(DataFilePath("notes.QPD"));
                ReadWhole(DataFilePath("notes.QPS"));
            }));
            // The notes are let go after the timing: freeing them is not loading.
            std::vector<std::unique_ptr<CNoteController>> loaded;
            loaded.reserve(all.size());
            load.push_back(Seconds([&] { LoadNotes(me, [&](CNoteController* note) { loaded.emplace_back(note); }); }));
        }
        const double s = Median(save) * 1000, sf = Median(saveFloor) * 1000;
        const double t = Median(together) * 1000, tf = Median(togetherFloor) * 1000;
        const double l = Median(load) * 1000, lf = Median(loadFloor) * 1000;
        const double o = oneByOne * 1000, of = oneByOneFloor * 1000;
        std::printf("%-6d | %9.2f %9.2f %6.2f | %11.2f %11.2f %6.2f | %9.2f %9.2f %6.2f | %9.2f %9.2f %6.2f\n", count,
                    s, sf, s / sf, o, of, o / of, t, tf, t / tf, l, lf, l / lf);
    }
    std::printf("Milliseconds, median of %d; the floors, taken in the same row, are crash-safe copies of the\n"
                "table and memo file (copy both, append the new memo bytes, flush the memo copy, rename both\n"
                "over files of their size) for saves, and reads of both into memory for the load.\n",
                kRepeats);
    for (const char* name : {"notes.QPD", "notes.QPS", "copy.QPD", "copy.QPS", "floor.QPD", "floor.QPS", "error.txt"})
        DeleteFileA(DataFilePath(name).c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
