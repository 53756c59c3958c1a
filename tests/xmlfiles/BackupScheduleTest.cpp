// The backups the program keeps on its own and shows: the daily backup and
// the old ones it deletes, the Restore submenu newest first, and the restores
// a second start asks for.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BackupDriving.h"
#include "resources/ids/RestoreIds.h"
#include "globals/MainWindowMessages.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"

namespace {
// A calendar file the program reads without complaint (no options and no
// styles), told apart by its comment.
std::string CalendarFile(const std::string& comment)
{
    return std::string("<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"yes\"?>\r\n<content>\r\n   <!--") +
           comment + "-->\r\n</content>\r\n";
}

// A backup of one note with the text.
void WriteBackupOfOneNote(const std::string& path, const std::string& text)
{
    BackupNote note;
    note.title = text;
    note.content = "{\\rtf1\\ansi " + text + "}";
    note.left = 300;
    note.top = 200;
    WriteBackupFile(path, {note});
}

HWND WaitForMenu(DWORD process, size_t level)
{
    HWND found = nullptr;
    WaitUntil([&] {
        std::vector<HWND> menus;
        for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process && WindowClassOf(window) == "#32768" && IsWindowVisible(window))
                menus.push_back(window);
        }
        found = menus.size() >= level ? menus.front() : nullptr;
        return found != nullptr;
    });
    return found;
}

void Key(HWND menu, UINT key)
{
    PostMessageA(menu, WM_KEYDOWN, key, 0);
}

std::vector<std::string> Without(std::vector<std::string> names, const std::vector<std::string>& old)
{
    for (const std::string& name : old)
        names.erase(std::remove(names.begin(), names.end(), name), names.end());
    return names;
}
}

TEST(BackupSchedule, TheRestoreSubmenuRestoresTheBackupItsEntryShows)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    ASSERT_TRUE(CreateDirectoryA(install.File("BACKUP").c_str(), nullptr));
    WriteBackupOfOneNote(BackupFile(install, "202601010900.QPK"), "From January");
    WriteBackupOfOneNote(BackupFile(install, "202602010900.QPK"), "From February");
    WriteBackupOfOneNote(BackupFile(install, "202603010900.QPK"), "From March");
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();

    // Tray menu, up to "Backup/restore" (above Help, About and Exit), into
    // it, down past the separator to "Restore..." and into that.
    PostMessageA(main, kMsgOpenTrayMenu, 0, 0);
    HWND menu = WaitForMenu(process, 1);
    ASSERT_NE(menu, nullptr);
    for (int i = 0; i < 4; ++i)
        Key(menu, VK_UP);
    Key(menu, VK_RIGHT);
    HWND backups = WaitForMenu(process, 2);
    ASSERT_NE(backups, nullptr);
    Key(backups, VK_DOWN);
    Key(backups, VK_RIGHT);
    HWND restores = WaitForMenu(process, 3);
    ASSERT_NE(restores, nullptr);
    EXPECT_TRUE(SaveScreenshotOf(restores, "RestoreSubmenu"));

    // A backup written while the menu is open does not move its entries: the
    // second one still restores February.
    RunToEnd(install, "/backup");
    ASSERT_EQ(BackupFiles(install).size(), 4u);
    Key(restores, VK_DOWN);
    Key(restores, VK_RETURN);
    HWND dialog = WaitForDialog(process, "Restore notes...");
    ASSERT_NE(dialog, nullptr);
    const std::string question = ReadWindowText(GetDlgItem(dialog, IDC_RESTORE_QUESTION));
    EXPECT_NE(question.find("February   1, 2026, "), std::string::npos) << question;
    EXPECT_EQ(ReadWindowText(GetDlgItem(dialog, IDC_RESTORE_COUNT_LINE)),
              "Restore the 1 notes from the backup made on");
    EXPECT_TRUE(IsDlgButtonChecked(dialog, IDC_RESTORE_APPEND));
    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));
    EXPECT_EQ(AcknowledgeProgramBox(process),
              "The restore operation has been successfully completed.\r\n\r\n           1 note was restored.");
    EXPECT_NE(NoteWithText(process, "From February"), nullptr);
    EXPECT_EQ(NoteWithText(process, "From March"), nullptr);
    CloseProgram(install, program);
}

TEST(BackupSchedule, TheDailyBackupComesWhenDueAndOldOnesGoButEachMonthsFirst)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    FirstRun(install);
    SetBackupOptions(install, true, 7, true);
    // The backup of the first run's end is not among those the test places.
    for (const std::string& name : BackupFiles(install))
        DeleteFileA(BackupFile(install, name).c_str());
    // Rescue backups are not dated backups: an old one is never deleted, and
    // one of an hour ago is not the newest backup that a daily one follows.
    SYSTEMTIME now;
    GetLocalTime(&now);
    char recent[40];
    std::snprintf(recent, sizeof recent, "Unstored %04d%02d%02d%02d%02d%02d.QPK", now.wYear, now.wMonth, now.wDay,
                  now.wHour > 0 ? now.wHour - 1 : 0, now.wMinute, now.wSecond);
    const std::vector<std::string> old = {"202503010905.QPK", "202503050905.QPK", "202503200905.QPK",
                                          "202504020905.QPK", "202504022400.QPK", "202513010905.QPK",
                                          "Unstored 20250301090500.QPK", recent};
    CreateDirectoryA(install.File("BACKUP").c_str(), nullptr);
    for (const std::string& name : old)
        WriteBackupOfOneNote(BackupFile(install, name), name);
    {
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        // Four housekeeping ticks make the minute of the automatic save,
        // after which the daily backup is looked at.
        for (int tick = 0; tick < 4; ++tick)
            PostMessageA(main, WM_TIMER, kTimerHousekeeping, 0);
        // Each month's first stays, a month 13 is no backup, an hour 24 is.
        // The old ones go one after the other, beside the one written.
        const std::vector<std::string> kept = {"202503010905.QPK", "202504020905.QPK", "202513010905.QPK",
                                               "Unstored 20250301090500.QPK", recent};
        std::vector<std::string> files;
        EXPECT_TRUE(WaitUntil([&] {
            files = BackupFiles(install);
            return Without(files, Without(old, kept)).size() == files.size() && !Without(files, old).empty();
        }));
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

TEST(BackupSchedule, ASecondStartRestoresOnlyAFileThatExists)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    WriteBackupOfOneNote(install.File("trip.QPK"), "From the trip");
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    const std::vector<std::string> before = NoteTexts(process);

    // A missing file: its name in "cmdLineRestore.Err", nothing changed.
    RunToEnd(install, "/replaceSilently missing.QPK");
    ASSERT_TRUE(WaitUntil([&] { return FileExists(install.File("cmdLineRestore.Err")); }));
    EXPECT_EQ(ReadWholeFile(install.File("cmdLineRestore.Err")),
              "The file to restore from does not exist \r\nmissing.QPK\r\n");
    EXPECT_EQ(NoteTexts(process), before);
    EXPECT_FALSE(FileExists(install.File("BACKUP\\UNRESTORE")));

    // "/replace" says what it does, then does it.
    {
        RunningProgram second(install, "/replace trip.QPK");
        EXPECT_EQ(AcknowledgeProgramBox(process),
                  "Restore by replacing all the existing notes with those from:\ntrip.QPK");
        DWORD exitCode = 1;
        EXPECT_TRUE(second.WaitForExit(&exitCode));
    }
    ASSERT_TRUE(WaitUntil([&] { return NoteTexts(process) == std::vector<std::string>{"From the trip"}; }));
    EXPECT_TRUE(FileExists(install.File("BACKUP\\UNRESTORE\\notes.qpd")));
    CloseProgram(install, program);
}

TEST(BackupSchedule, ARestoreThatCouldNotBeUndoneIsNotMadeAndAnUndoKeepsWhatItCouldNotPutBack)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    WriteBackupOfOneNote(install.File("trip.QPK"), "From the trip");
    WriteWholeFile(install.File("calendar.QPD"), CalendarFile("the calendar's options"));
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    const std::vector<std::string> before = NoteTexts(process);

    // A file where the undo copy's folder should be: nothing is replaced.
    WriteWholeFile(install.File("BACKUP\\UNRESTORE"), "not a folder");
    EXPECT_EQ(SilentRestoreErrors(install, process, "/replaceSilently trip.QPK")
                  .rfind("The notes could not be copied into the UNRESTORE folder", 0),
              0u);
    EXPECT_EQ(NoteTexts(process), before);
    ASSERT_TRUE(DeleteFileA(install.File("BACKUP\\UNRESTORE").c_str()));

    RunToEnd(install, "/replaceSilently trip.QPK");
    ASSERT_TRUE(WaitUntil([&] { return NoteTexts(process) == std::vector<std::string>{"From the trip"}; }));
    WriteWholeFile(install.File("calendar.QPD"), CalendarFile("changed after the restore"));

    // Another program reads the calendar's file: the undo puts back nothing,
    // keeps its copy, and says which file could not be put back.
    HANDLE held = CreateFileA(install.File("calendar.QPD").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    PostMessageA(main, WM_COMMAND, kCmdUnrestore, 0);
    HWND undo = WaitForDialog(process, "Unrestore notes...");
    ASSERT_NE(undo, nullptr);
    ASSERT_TRUE(PressAndWaitGone(undo, IDOK));
    const std::string refusal = AcknowledgeProgramBox(process);
    EXPECT_NE(refusal.find("calendar.QPD"), std::string::npos) << refusal;
    EXPECT_TRUE(FileExists(install.File("BACKUP\\UNRESTORE\\calendar.qpd")));
    EXPECT_EQ(NoteTexts(process), std::vector<std::string>{"From the trip"});
    EXPECT_EQ(ReadWholeFile(install.File("calendar.QPD")), CalendarFile("changed after the restore"));
    CloseHandle(held);

    // Once the file is free the undo is made whole.
    PostMessageA(main, WM_COMMAND, kCmdUnrestore, 0);
    undo = WaitForDialog(process, "Unrestore notes...");
    ASSERT_NE(undo, nullptr);
    ASSERT_TRUE(PressAndWaitGone(undo, IDOK));
    EXPECT_EQ(AcknowledgeProgramBox(process), "The unrestore operation has been successfully completed");
    EXPECT_EQ(ReadWholeFile(install.File("calendar.QPD")), CalendarFile("the calendar's options"));
    EXPECT_FALSE(FileExists(install.File("BACKUP\\UNRESTORE")));
    CloseProgram(install, program);
}
