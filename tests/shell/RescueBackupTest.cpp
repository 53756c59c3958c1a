// An edit that cannot be stored at the end of the Windows session is in a
// file before the program can be ended: a forced end neither asks nor waits,
// and a refused end writes the rescue backup before its question. A rescue
// backup never takes the place of another file.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "foundation/FileHelpers.h"
#include "globals/MainWindowMessages.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/TextChecks.h"
#include "UnstoredEditDriving.h"

namespace {
std::string RescueBackupFile(const ProgramInstall& install, const std::string& name)
{
    return ReadWholeFile(install.File("BACKUP\\" + name));
}

std::string Digits(int value, int width)
{
    char text[8];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

const ULONGLONG kSecond = 10000000ULL;

// The local time as a count of 100 ns steps, which a step of seconds moves.
ULONGLONG LocalNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME moment;
    SystemTimeToFileTime(&now, &moment);
    return ULARGE_INTEGER{{moment.dwLowDateTime, moment.dwHighDateTime}}.QuadPart;
}

// The stamp of that moment as a rescue backup's name holds it ("yyyymmddhhmmss").
std::string StampOf(ULONGLONG moment)
{
    const FILETIME time{static_cast<DWORD>(moment), static_cast<DWORD>(moment >> 32)};
    SYSTEMTIME when;
    FileTimeToSystemTime(&time, &when);
    return Digits(when.wYear, 4) + Digits(when.wMonth, 2) + Digits(when.wDay, 2) + Digits(when.wHour, 2) +
           Digits(when.wMinute, 2) + Digits(when.wSecond, 2);
}

// Files another program left in the backup folder under every name a rescue
// backup of the next minutes could be given, by the minute and by the second;
// each file's name and bytes.
std::map<std::string, std::string> OccupyRescueNames(const ProgramInstall& install, int minutes)
{
    std::map<std::string, std::string> placed;
    CreateDirectoryA(install.File("BACKUP").c_str(), nullptr);
    const ULONGLONG start = LocalNow();
    for (int minute = 0; minute <= minutes; ++minute) {
        const std::string stamp = StampOf(start + 60 * kSecond * minute).substr(0, 12);
        std::vector<std::string> names = {"Unstored " + stamp + ".QPK"};
        for (int second = 0; second < 60; ++second)
            names.push_back("Unstored " + stamp + Digits(second, 2) + ".QPK");
        for (const std::string& name : names) {
            const std::string bytes = "Kept by another program: " + name;
            if (!FileExists(install.File("BACKUP\\" + name))) {
                WriteWholeFile(install.File("BACKUP\\" + name), bytes);
                placed[name] = bytes;
            }
        }
    }
    return placed;
}

const char kLeftByAnotherProgram[] = "Kept by another program";

// Files another program left under every numbered name a rescue backup could
// be given ("Unstored <stamp>.QPK" and " (2)" to " (99)"), second by second
// from now until the seconds covered run the given number ahead of the clock;
// the stamps covered.
std::set<std::string> OccupyNumberedRescueNames(const ProgramInstall& install, int secondsAhead)
{
    std::set<std::string> stamps;
    CreateDirectoryA(install.File("BACKUP").c_str(), nullptr);
    const DWORD start = GetTickCount();
    for (ULONGLONG covered = LocalNow() / kSecond * kSecond; covered < LocalNow() + secondsAhead * kSecond;
         covered += kSecond) {
        if (GetTickCount() - start > kDriverWaitMs)
            break;
        const std::string stamp = StampOf(covered);
        for (int copy = 1; copy <= 99; ++copy) {
            const std::string number = copy == 1 ? "" : " (" + std::to_string(copy) + ")";
            WriteWholeFile(install.File("BACKUP\\Unstored " + stamp + number + ".QPK"), kLeftByAnotherProgram);
        }
        stamps.insert(stamp);
    }
    return stamps;
}

// The question that follows a refused end, as the screenshot of that name
// shows it, answered No; the file it names.
std::string AnswerNoToTheQuestion(DWORD process, const char* screenshot)
{
    ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    if (!box.window)
        return "(no question)";
    EXPECT_TRUE(SaveScreenshotOf(box.window, screenshot));
    if (!AnswerMessageBox(box, IDNO))
        return "(no No)";
    WaitUntil([&] { return !IsWindow(box.window); });
    return BackupNamedIn(box.text);
}
}

TEST(RescueBackup, AForcedEndOfTheSessionKeepsTheEditInABackupThatBringsItBack)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    const std::string edited = std::string("Forced ") + kStoredText;
    {
        HeldFile holder;
        RunningProgram program(install, "");
        HWND main = StartAndEdit(program, "Forced ");
        ASSERT_NE(main, nullptr);
        // A backup or synchronising program reads the table, longer than the save's retries.
        ASSERT_TRUE(holder.Hold(install.File("notes.QPD"), kHolderSharesReadWrite));

        // The system ends the session whatever the programs answer: the
        // program does its end without a box and says yes.
        LRESULT answer = 0;
        ASSERT_TRUE(SendWithTimeout(main, WM_QUERYENDSESSION, 0, ENDSESSION_CRITICAL, &answer));
        EXPECT_NE(answer, 0) << "a critical end of the session is not refused";
        // What is typed before the session ends is kept as well.
        TypeAtStart(WaitForNoteWithText(program.ProcessId(), edited), "Later ");
        ASSERT_NE(WaitForNoteWithText(program.ProcessId(), "Later " + edited), nullptr);
        ASSERT_TRUE(SendWithTimeout(main, WM_ENDSESSION, TRUE, ENDSESSION_CRITICAL));
        // Whatever the program posted itself meanwhile has run by now.
        ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
        EXPECT_FALSE(ProgramBoxShown(program.ProcessId())) << AcknowledgeProgramBox(program.ProcessId());
        EXPECT_TRUE(program.IsRunning()) << "the program does not close itself: the system ends it";
        // Here the system ends the process, with notes.QPD still held.
    }
    EXPECT_FALSE(StoredNoteHas(install.Path(), edited));
    const std::vector<std::string> logged = RescueBackupsLogged(install);
    ASSERT_EQ(logged.size(), 2u) << "error.txt names each rescue backup";
    std::vector<std::string> loggedNames = {FileNameOf(logged[0]), FileNameOf(logged[1])};
    std::sort(loggedNames.begin(), loggedNames.end());
    EXPECT_EQ(RescueBackupNames(install), loggedNames);
    const std::string atTheQuestion = ReadWholeFile(logged[0]);
    EXPECT_TRUE(Contains(atTheQuestion, edited));
    EXPECT_FALSE(Contains(atTheQuestion, "Later "));
    EXPECT_TRUE(Contains(ReadWholeFile(logged[1]), "Later " + edited));

    // The next run restores the last rescue backup: the edit is back in the
    // note, and stored at the end.
    RunningProgram again(install, "");
    ASSERT_NE(WaitForMainWindow(again), nullptr);
    ASSERT_NE(WaitForNoteWithText(again.ProcessId(), kStoredText), nullptr);
    RunToEnd(install, "/replaceSilently \"" + logged[1] + "\"");
    EXPECT_NE(WaitForNoteWithText(again.ProcessId(), "Later " + edited), nullptr);
    CloseProgram(install, again);
    EXPECT_TRUE(StoredNoteHas(install.Path(), "Later " + edited));
}

TEST(RescueBackup, ARefusedEndOfTheSessionWritesItBeforeTheQuestionThatNamesIt)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    const std::string edited = std::string("Refused ") + kStoredText;
    RunningProgram program(install, "");
    HWND main = StartAndEdit(program, "Refused ");
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    HeldFile holder(install.File("notes.QPD"), kHolderSharesReadWrite);
    ASSERT_TRUE(holder.Held());

    LRESULT answer = 1;
    ASSERT_TRUE(SendWithTimeout(main, WM_QUERYENDSESSION, 0, 0, &answer));
    EXPECT_EQ(answer, 0) << "the end of the session is refused";
    // The edit is in a file before the user has answered anything.
    std::vector<std::string> rescues = RescueBackupNames(install);
    ASSERT_EQ(rescues.size(), 1u);
    EXPECT_TRUE(Contains(RescueBackupFile(install, rescues[0]), edited));
    ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(box.window, nullptr);
    EXPECT_TRUE(SaveScreenshotOf(box.window, "RescueBackupAtSessionEnd"));
    EXPECT_TRUE(Contains(box.text, "notes.QPD")) << box.text;
    EXPECT_EQ(FileNameOf(BackupNamedIn(box.text)), rescues[0]) << box.text;

    // While the question is up the user edits on, and the next end of the
    // session is refused with a new rescue backup; one more with nothing
    // changed writes none.
    TypeAtStart(WaitForNoteWithText(process, edited), "More ");
    ASSERT_NE(WaitForNoteWithText(process, "More " + edited), nullptr);
    for (int end = 0; end < 2; ++end) {
        answer = 1;
        ASSERT_TRUE(SendWithTimeout(main, WM_QUERYENDSESSION, 0, 0, &answer));
        EXPECT_EQ(answer, 0) << end;
    }
    rescues = RescueBackupNames(install);
    ASSERT_EQ(rescues.size(), 2u);
    const std::vector<std::string> logged = RescueBackupsLogged(install);
    ASSERT_EQ(logged.size(), 2u);
    const std::string newest = logged.back();
    EXPECT_TRUE(Contains(ReadWholeFile(newest), "More " + edited));

    // Ending anyway writes no further file.
    ASSERT_TRUE(AnswerMessageBox(box, IDYES));
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(RescueBackupNames(install), rescues);
    EXPECT_TRUE(Contains(ReadWholeFile(install.File("error.txt")), "the notes are in " + newest));
    holder.Release();
    EXPECT_FALSE(StoredNoteHas(install.Path(), edited));
}

TEST(RescueBackup, TwoEndsAnywayInTheSameMinuteKeepEachEditAndReplaceNoFile)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    const std::map<std::string, std::string> occupied = OccupyRescueNames(install, 3);
    std::vector<std::string> written;
    // The user ends anyway, starts again at once to check, and meets the
    // same synchronising program.
    for (const char* edit : {"First ", "Second "}) {
        RunningProgram program(install, "");
        HWND main = StartAndEdit(program, edit);
        ASSERT_NE(main, nullptr);
        HeldFile holder(install.File("notes.QPD"), kHolderSharesReadWrite);
        ASSERT_TRUE(holder.Held());
        PostMessageA(main, WM_COMMAND, kCmdExit, 0);
        written.push_back(BackupNamedIn(AnswerProgramBox(program.ProcessId(), IDYES)));
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    for (const auto& [name, bytes] : occupied)
        EXPECT_TRUE(RescueBackupFile(install, name) == bytes) << name << " was replaced";
    ASSERT_EQ(written.size(), 2u);
    EXPECT_NE(written[0], written[1]);
    EXPECT_EQ(RescueBackupNames(install).size(), occupied.size() + 2);
    EXPECT_EQ(RescueBackupsLogged(install), written);
    const std::string first = ReadWholeFile(written[0]);
    EXPECT_TRUE(Contains(first, std::string("First ") + kStoredText));
    EXPECT_FALSE(Contains(first, "Second "));
    EXPECT_TRUE(Contains(ReadWholeFile(written[1]), std::string("Second ") + kStoredText));
}

TEST(RescueBackup, ARefusedEndFindsANameWhateverIsTakenAndAFolderWhateverStandsInTheWay)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    const std::string edited = std::string("Taken ") + kStoredText;
    RunningProgram program(install, "");
    HWND main = StartAndEdit(program, "Taken ");
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    const std::set<std::string> stamps = OccupyNumberedRescueNames(install, 15);
    HeldFile holder(install.File("notes.QPD"), kHolderSharesReadWrite);
    ASSERT_TRUE(holder.Held());

    // Every numbered name of the second is taken: the rescue backup takes a
    // name of its own in the backup folder, and error.txt says which.
    LRESULT answer = 1;
    ASSERT_TRUE(SendWithTimeout(main, WM_QUERYENDSESSION, 0, 0, &answer));
    EXPECT_EQ(answer, 0) << "the end of the session is refused";
    std::vector<std::string> logged = RescueBackupsLogged(install);
    ASSERT_EQ(logged.size(), 1u) << "error.txt says where the notes went";
    const std::string name = FileNameOf(logged[0]);
    const std::string stamp = name.substr(9, 14);
    ASSERT_EQ(stamps.count(stamp), 1u) << name << ": the test's files do not cover the second of the refusal";
    EXPECT_TRUE(Contains(RescueBackupFile(install, name), edited)) << "the file is in the backup folder";
    for (const std::string& taken : FileNamesMatching(install.File("BACKUP\\Unstored " + stamp + "*.QPK"))) {
        if (taken != name) {
            EXPECT_EQ(RescueBackupFile(install, taken), kLeftByAnotherProgram) << taken << " was replaced";
        }
    }
    EXPECT_EQ(FileNameOf(AnswerNoToTheQuestion(process, "RescueBackupUnderAnUnforeseeableName")), name);

    // Then a file stands where the backup folder was: the data folder takes
    // the rescue backup of the next refusal.
    ASSERT_TRUE(MoveFileA(install.File("BACKUP").c_str(), install.File("BACKUP.old").c_str()));
    WriteWholeFile(install.File("BACKUP"), "not a folder");
    TypeAtStart(WaitForNoteWithText(process, edited), "More ");
    ASSERT_NE(WaitForNoteWithText(process, "More " + edited), nullptr);
    answer = 1;
    ASSERT_TRUE(SendWithTimeout(main, WM_QUERYENDSESSION, 0, 0, &answer));
    EXPECT_EQ(answer, 0);
    logged = RescueBackupsLogged(install);
    ASSERT_EQ(logged.size(), 2u) << "error.txt says where the notes went";
    const std::string inDataFolder = install.File(FileNameOf(logged[1]));
    EXPECT_TRUE(Contains(ReadWholeFile(inDataFolder), "More " + edited));
    EXPECT_EQ(FileNameOf(AnswerNoToTheQuestion(process, "RescueBackupInTheDataFolder")), FileNameOf(logged[1]));
    EXPECT_EQ(ReadWholeFile(install.File("BACKUP")), "not a folder");
    // Here the system ends the process.
}

TEST(RescueBackup, AnExitThatCannotStoreTheEditWritesItBeforeAnyBox)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    const std::string edited = std::string("Gone ") + kStoredText;
    RunningProgram program(install, "");
    HWND main = StartAndEdit(program, "Gone ");
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    // The memo file of the notes goes by accident.
    ASSERT_TRUE(DeleteFileA(install.File("notes.QPS").c_str()));

    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(box.window, nullptr);
    EXPECT_TRUE(Contains(box.text, "notes.qps file is missing")) << box.text;
    // Whatever ends the program while the first box is up, the edit is in a file.
    const std::vector<std::string> rescues = RescueBackupNames(install);
    ASSERT_EQ(rescues.size(), 1u);
    EXPECT_TRUE(Contains(RescueBackupFile(install, rescues[0]), edited));
    // The question that follows the save's own boxes names the same file.
    for (int told = 0; told < 5 && Contains(box.text, "is missing"); ++told) {
        ASSERT_TRUE(AnswerMessageBox(box, IDOK));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box.window); }));
        box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    }
    EXPECT_EQ(FileNameOf(BackupNamedIn(box.text)), rescues[0]) << box.text;
    EXPECT_EQ(RescueBackupNames(install), rescues);
    // Here the user's session ends with the question up.
}
