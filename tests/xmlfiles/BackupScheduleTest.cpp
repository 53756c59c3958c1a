// The backups the program keeps on its own: the daily backup and the old
// ones it deletes.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BackupDriving.h"
#include "globals/MainWindowMessages.h"
#include "support/NoteDriving.h"

namespace {
// A backup of one note with the text.
void WriteOneNoteBackup(const std::string& path, const std::string& text)
{
    BackupNote note;
    note.title = text;
    note.content = "{\\rtf1\\ansi " + text + "}";
    note.left = 300;
    note.top = 200;
    WriteBackupFile(path, {note});
}

// The user's record exists once the program has run.
void FirstRun(const ProgramInstall& install)
{
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    CloseProgram(install, program);
}

std::vector<std::string> Without(std::vector<std::string> names, const std::vector<std::string>& old)
{
    for (const std::string& name : old)
        names.erase(std::remove(names.begin(), names.end(), name), names.end());
    return names;
}
}

TEST(BackupSchedule, TheDailyBackupComesWhenDueAndOldOnesGoButEachMonthsFirst)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    FirstRun(install);
    SetBackupOptions(install, true, 7, true);
    const std::vector<std::string> old = {"202503010905.QPK", "202503050905.QPK", "202503200905.QPK",
                                          "202504020905.QPK", "202504022400.QPK", "202513010905.QPK"};
    CreateDirectoryA(install.File("BACKUP").c_str(), nullptr);
    for (const std::string& name : old)
        WriteOneNoteBackup(BackupFile(install, name), name);
    {
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        // Four housekeeping ticks make the minute of the automatic save,
        // after which the daily backup is looked at.
        for (int tick = 0; tick < 4; ++tick)
            PostMessageA(main, WM_TIMER, kTimerHousekeeping, 0);
        ASSERT_TRUE(WaitUntil([&] { return !FileExists(BackupFile(install, "202503050905.QPK")); }));
        std::vector<std::string> files = BackupFiles(install);
        // Each month's first stays, a month 13 is no backup, an hour 24 is.
        const std::vector<std::string> kept = {"202503010905.QPK", "202504020905.QPK", "202513010905.QPK"};
        EXPECT_EQ(Without(files, Without(old, kept)).size(), files.size());
        const std::vector<std::string> written = Without(files, old);
        ASSERT_EQ(written.size(), 1u);
        EXPECT_EQ(files.size(), kept.size() + 1);
        CloseProgram(install, program);
    }
    // Without daily backups, neither the tick nor the end writes one.
    SetBackupOptions(install, false, 7, true);
    const std::vector<std::string> before = BackupFiles(install);
    for (const std::string& name : before)
        DeleteFileA(BackupFile(install, name).c_str());
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    for (int tick = 0; tick < 4; ++tick)
        PostMessageA(main, WM_TIMER, kTimerHousekeeping, 0);
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    CloseProgram(install, program);
    EXPECT_TRUE(BackupFiles(install).empty());
}
