// The list of computers saved as the program saves it when it closes, with
// 250, 1000 and 4000 computers: first into a table that has none of them (every
// row appended), then again (every row found and written in place). Beside
// them, the floor: one pass over the table's rows, which every save makes.
// Per computer, the times stay flat as the list grows.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/BenchClock.h"
#include "foundation/DataFolder.h"
#include "store/DestinationLists.h"
#include "store/SentToTable.h"
#include "store/DbfFile.h"

namespace {
std::string ProgramFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

double MillisecondsOf(void (*body)(const RowOwnership&), const RowOwnership& owners)
{
    LARGE_INTEGER start = BenchNow();
    body(owners);
    return SecondsBetween(start, BenchNow()) * 1000;
}

void ReadEveryRow(const RowOwnership& owners)
{
    CDbfFile table;
    table.SetTable(DataFilePath(DataName::kSentToTable).c_str(), true);
    table.Open("READ");
    DWORD visible = 0;
    for (table.GoTop(); !table.IsEOF(); table.Skip(1))
        visible += owners.IsVisible(static_cast<DWORD>(table.GetLongValue("WUSERID"))) ? 1 : 0;
    table.Close();
}

void SaveList(const RowOwnership& owners)
{
    SaveSentToList(owners);
}
}

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "qnsenttobench";
    CreateDirectoryA(folder.c_str(), nullptr);
    SetDataFolder(folder.c_str());
    RowOwnership me;
    me.currentUserId = 1;
    std::printf("%-10s %12s %12s %12s %16s %16s\n", "computers", "first ms", "again ms", "floor ms",
                "first us each", "again us each");
    for (int count : {250, 1000, 4000}) {
        const std::string table = DataFilePath(DataName::kSentToTable);
        CopyFileA((ProgramFolder() + "\\QlData\\sentto.QPD").c_str(), table.c_str(), FALSE);
        SentToList().RemoveAll();
        for (int i = 1; i <= count; ++i) {
            const std::string name = "PC-" + std::to_string(i);
            SentToList().AddToTail(CDestination(name.c_str(), "10.0.0.1", "", "", "", 1, 0, 0,
                                                static_cast<DWORD>(i), 40000, 1));
        }
        const double first = MillisecondsOf(&SaveList, me);
        const double again = MillisecondsOf(&SaveList, me);
        const double floor = MillisecondsOf(&ReadEveryRow, me);
        std::printf("%-10d %12.1f %12.1f %12.1f %16.1f %16.1f\n", count, first, again, floor, first * 1000 / count,
                    again * 1000 / count);
    }
    SentToList().RemoveAll();
    DeleteFileA(DataFilePath(DataName::kSentToTable).c_str());
    DeleteFileA(DataFilePath("error.txt").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
