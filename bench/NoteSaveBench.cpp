// One note saved, every note saved one by one and all together (as the
// program does when it closes), and every note loaded, with 50, 200 and 598
// notes of about 2 KB in the notes table. Beside them, the floors, measured
// in the same row at the same memo size: for a save, copying the table and
// its memo file once, which every save does at least (a save of all notes
// together is timed right after each copy); for a load, reading the table
// and its memo file once into memory.
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

void CopyTableAndMemo()
{
    CopyFileA(DataFilePath("notes.QPD").c_str(), DataFilePath("copy.QPD").c_str(), FALSE);
    CopyFileA(DataFilePath("notes.QPS").c_str(), DataFilePath("copy.QPS").c_str(), FALSE);
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
        std::vector<double> save, saveFloor;
        for (int i = 0; i < kRepeats; ++i) {
            saveFloor.push_back(Seconds(CopyTableAndMemo));
            save.push_back(Seconds([&] {
                middle.m_left += 1;
                SaveNote(middle);
            }));
        }
        std::vector<CNoteController*> all;
        for (auto& note : notes)
            all.push_back(note.get());
        double oneByOne = Seconds([&] {
            for (CNoteController* note : all) {
                note->m_left += 1;
                SaveNote(*note);
            }
        });
        std::vector<double> together, togetherFloor;
        for (int i = 0; i < kRepeats; ++i) {
            togetherFloor.push_back(Seconds(CopyTableAndMemo));
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
            load.push_back(Seconds([&] {
                std::vector<std::unique_ptr<CNoteController>> loaded;
                LoadNotes(me, [&](CNoteController* note) { loaded.emplace_back(note); });
            }));
        }
        const double s = Median(save) * 1000, sf = Median(saveFloor) * 1000;
        const double t = Median(together) * 1000, tf = Median(togetherFloor) * 1000;
        const double l = Median(load) * 1000, lf = Median(loadFloor) * 1000;
        const double o = oneByOne * 1000, of = count * sf;
        std::printf("%-6d | %9.2f %9.2f %6.2f | %11.2f %11.2f %6.2f | %9.2f %9.2f %6.2f | %9.2f %9.2f %6.2f\n", count,
                    s, sf, s / sf, o, of, o / of, t, tf, t / tf, l, lf, l / lf);
    }
    std::printf("Milliseconds, median of %d; the floors are copies of the table and memo file (for saves) and\n"
                "reads of both into memory (for the load), taken in the same row.\n",
                kRepeats);
    for (const char* name : {"notes.QPD", "notes.QPS", "copy.QPD", "copy.QPS", "error.txt"})
        DeleteFileA(DataFilePath(name).c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
