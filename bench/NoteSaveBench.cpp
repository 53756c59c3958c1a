// One note saved, every note saved one by one and all together (as the
// program does when it closes), and every note loaded, with 50, 200 and 598
// notes of about 2 KB in the notes table. Beside them, the floor: copying the
// table and its memo file once, which every save does at least.
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
double MedianSeconds(Body&& body)
{
    std::vector<double> times;
    for (int i = 0; i < kRepeats; ++i) {
        LARGE_INTEGER start = BenchNow();
        body();
        times.push_back(SecondsBetween(start, BenchNow()));
    }
    return Median(times);
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
    std::printf("%-8s %12s %14s %14s %14s %14s\n", "notes", "SaveNote ms", "one by one ms", "together ms",
                "LoadNotes ms", "copy floor ms");
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
        double save = MedianSeconds([&] {
            middle.m_left += 1;
            SaveNote(middle);
        });
        std::vector<CNoteController*> all;
        for (auto& note : notes)
            all.push_back(note.get());
        LARGE_INTEGER start = BenchNow();
        for (CNoteController* note : all) {
            note->m_left += 1;
            SaveNote(*note);
        }
        double oneByOne = SecondsBetween(start, BenchNow());
        double together = MedianSeconds([&] {
            for (CNoteController* note : all)
                note->m_left += 1;
            SaveNotes(all, false);
        });
        RowOwnership me;
        me.currentUserId = 1;
        double load = MedianSeconds([&] {
            std::vector<std::unique_ptr<CNoteController>> loaded;
            LoadNotes(me, [&](CNoteController* note) { loaded.emplace_back(note); });
        });
        double floor = MedianSeconds([&] {
            CopyFileA(DataFilePath("notes.QPD").c_str(), DataFilePath("copy.QPD").c_str(), FALSE);
            CopyFileA(DataFilePath("notes.qps").c_str(), DataFilePath("copy.QPS").c_str(), FALSE);
        });
        std::printf("%-8d %12.2f %14.2f %14.2f %14.2f %14.2f\n", count, save * 1000, oneByOne * 1000, together * 1000,
                    load * 1000, floor * 1000);
    }
    for (const char* name : {"notes.QPD", "notes.qps", "copy.QPD", "copy.QPS", "error.txt"})
        DeleteFileA(DataFilePath(name).c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
