// An edit that cannot be stored at the end of the Windows session is in a
// file before the program can be ended: a forced end neither asks nor waits,
// and a refused end writes the rescue backup before its question. A timed
// save that cannot store it keeps it at once, and the next one renews it. A
// rescue backup never takes the place of another file.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "foundation/FileHelpers.h"
#include "globals/MainWindowMessages.h"
#include "resources/ids/RestoreIds.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
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

// The timed save's interval in the test. The program's own timer counts
// towards it too, and after each timed save of the test the count stands
// where it stood before: with one minute, the program's own save came on a
// loaded machine between the test's steps (it stored the notes and left
// working copies, so the next save mended the missing memo file instead of
// failing). Five minutes are more than the whole test takes.
const long kSaveIntervalMinutes = kUnreachedSaveIntervalMinutes;

bool TimedSave(HWND main)
{
    return SendTimedSaveTicks(main, kSaveIntervalMinutes);
}

std::string MarkOf(const std::string& rescueName)
{
    return rescueName.substr(0, rescueName.size() - 4) + ".txt";
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
        return "(not answered No)";
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

    // The next start says so once the notes show: one box names the last
    // rescue backup, and Yes restores it as the Restore submenu does, in
    // place of the notes of the table. The edit is back in the note, and
    // stored at the end.
    RunningProgram again(install, "");
    ASSERT_NE(WaitForNoteWithText(again.ProcessId(), kStoredText), nullptr);
    ShownMessageBox told = WaitForMessageBox(again.ProcessId(), kDriverWaitMs, "Quillnet+");
    ASSERT_NE(told.window, nullptr);
    EXPECT_TRUE(SaveScreenshotOf(told.window, "RescueBackupOfferedAtTheNextStart"));
    EXPECT_TRUE(Contains(told.text, "When Quillnet+ ended last time, some changes to your notes could not be "
                                    "stored.")) << told.text;
    EXPECT_TRUE(Contains(told.text, "\\BACKUP\\" + FileNameOf(logged[1]) + "\r\n")) << told.text;
    ASSERT_TRUE(AnswerMessageBox(told, IDYES));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (dialog = FindTopWindowTitled("#32770", "Restore notes...", again.ProcessId())) != nullptr;
    }));
    EXPECT_TRUE(Contains(ReadWindowText(GetDlgItem(dialog, IDC_RESTORE_QUESTION)), " (unstored) ?"));
    EXPECT_TRUE(IsDlgButtonChecked(dialog, IDC_RESTORE_REPLACE)) << "a rescue backup holds every note";
    EXPECT_TRUE(SaveScreenshotOf(dialog, "RestoreDialogForARescueBackup"));
    RECT yes{};
    GetWindowRect(GetDlgItem(dialog, IDOK), &yes);
    ClickAt(POINT{(yes.left + yes.right) / 2, (yes.top + yes.bottom) / 2});
    EXPECT_TRUE(Contains(AcknowledgeProgramBox(again.ProcessId()), "The restore operation has been successfully"));
    EXPECT_NE(WaitForNoteWithText(again.ProcessId(), "Later " + edited), nullptr);
    EXPECT_TRUE(RescueMarkNames(install).empty()) << "told once";
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
        // The start after an end anyway names the rescue backup of that end.
        if (!written.empty()) {
            const std::string told = AnswerProgramBox(program.ProcessId(), IDNO);
            EXPECT_TRUE(Contains(told, FileNameOf(written[0]) + "\r\n")) << told;
        }
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
    EXPECT_TRUE(Contains(ReadWholeFile(install.File("error.txt")),
                         "the backup folder could not take the file, so the notes as they are now are in " +
                             inDataFolder + "\r\n"));
    EXPECT_EQ(FileNameOf(AnswerNoToTheQuestion(process, "RescueBackupInTheDataFolder")), FileNameOf(logged[1]));
    EXPECT_EQ(ReadWholeFile(install.File("BACKUP")), "not a folder");
    // Here the system ends the process.
}

TEST(RescueBackup, ATimedSaveThatCannotStoreTheEditKeepsItAtOnceAndTheNextOneRenewsIt)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    AddStoredNote(install, "Second stored note");
    AddStoredNote(install, "Third stored note");
    SetAutoSaveInterval(install.Path(), kSaveIntervalMinutes);
    RunningProgram program(install, "");
    HWND main = StartAndEdit(program, "Timed ");
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    const std::string edited = std::string("Timed ") + kStoredText;

    // The memo file goes: the timed save cannot store the edit, which is in
    // the rescue backup before the save's box comes up; the three notes'
    // saves show one box. The box waits within a tick: the ticks go from a
    // thread of their own.
    ASSERT_TRUE(MoveFileA(install.File("notes.QPS").c_str(), install.File("notes.QPS.aside").c_str()));
    bool ticked = false;
    std::thread ticks([&] { ticked = TimedSave(main); });
    ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    const std::vector<std::string> first = RescueBackupNames(install);
    EXPECT_TRUE(Contains(box.text, "notes.qps file is missing")) << box.text;
    if (box.window) {
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    }
    ticks.join();
    EXPECT_TRUE(ticked) << "a second box kept the tick waiting";
    EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_TRUE(Contains(RescueBackupFile(install, first[0]), edited));
    EXPECT_EQ(RescueMarkNames(install), std::vector<std::string>{MarkOf(first[0])});

    // The memo file is back and another program holds the table: the next
    // failed save, with a newer edit, renews the rescue backup, and the
    // older one, which no box named, goes.
    ASSERT_TRUE(MoveFileA(install.File("notes.QPS.aside").c_str(), install.File("notes.QPS").c_str()));
    HeldFile holder(install.File("notes.QPD"), kHolderSharesReadWrite);
    ASSERT_TRUE(holder.Held());
    TypeAtStart(WaitForNoteWithText(process, edited), "Later ");
    ASSERT_NE(WaitForNoteWithText(process, "Later " + edited), nullptr);
    ASSERT_TRUE(TimedSave(main));
    EXPECT_FALSE(ProgramBoxShown(process));
    const std::vector<std::string> renewed = RescueBackupNames(install);
    ASSERT_EQ(renewed.size(), 1u);
    EXPECT_NE(renewed[0], first[0]);
    EXPECT_TRUE(Contains(RescueBackupFile(install, renewed[0]), "Later " + edited));
    EXPECT_EQ(RescueMarkNames(install), std::vector<std::string>{MarkOf(renewed[0])});

    // The third failed save in a row tells the user, naming the file the
    // other program keeps from being replaced and the rescue backup: that
    // file stays when the next failed save renews it.
    TypeAtStart(WaitForNoteWithText(process, "Later " + edited), "More ");
    ASSERT_NE(WaitForNoteWithText(process, "More Later " + edited), nullptr);
    std::thread told([&] { ticked = TimedSave(main); });
    box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    EXPECT_TRUE(Contains(box.text, "has not been able to save your notes")) << box.text;
    EXPECT_TRUE(Contains(box.text, "The last try found that notes.QPD may not be written")) << box.text;
    const std::string named = FileNameOf(BackupNamedIn(box.text));
    if (box.window) {
        EXPECT_TRUE(SaveScreenshotOf(box.window, "TimedSaveFailuresNameTheRescueBackup"));
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    }
    told.join();
    EXPECT_TRUE(Contains(RescueBackupFile(install, named), "More Later " + edited)) << named;
    TypeAtStart(WaitForNoteWithText(process, "More Later " + edited), "Last ");
    const std::string last = "Last More Later " + edited;
    ASSERT_NE(WaitForNoteWithText(process, last), nullptr);
    ASSERT_TRUE(TimedSave(main));
    const std::vector<std::string> kept = RescueBackupNames(install);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_TRUE(std::find(kept.begin(), kept.end(), named) != kept.end()) << named;
    const std::string newest = kept[0] == named ? kept[1] : kept[0];
    EXPECT_TRUE(Contains(RescueBackupFile(install, newest), last));

    // The table free again, the next save stores everything: the rescue
    // backups stay, their marks go, and the next start says nothing.
    holder.Release();
    ASSERT_TRUE(TimedSave(main));
    EXPECT_TRUE(StoredNoteHas(install.Path(), last));
    EXPECT_TRUE(RescueMarkNames(install).empty());
    EXPECT_EQ(RescueBackupNames(install), kept);
    CloseProgram(install, program);
    RunningProgram again(install, "");
    HWND next = WaitForMainWindow(again);
    ASSERT_NE(next, nullptr);
    ASSERT_NE(WaitForNoteWithText(again.ProcessId(), last), nullptr);
    // The start's last step has run by the time this comes back.
    EXPECT_TRUE(SendWithTimeout(next, WM_TIMER, kTimerStartFinish, 0));
    EXPECT_FALSE(ProgramBoxShown(again.ProcessId())) << AcknowledgeProgramBox(again.ProcessId());
    CloseProgram(install, again);
}

TEST(RescueBackup, AnExitThatCannotStoreTheEditWritesItBeforeAnyBoxAndSaysOnceWhyEachFile)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    AddStoredNote(install, "Second stored note");
    AddStoredNote(install, "Third stored note");
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
    // The three notes' saves found the same file missing: one box says so,
    // and the question that follows names the file with its cause and the
    // same rescue backup.
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(box.window, nullptr);
    EXPECT_TRUE(SaveScreenshotOf(box.window, "UnstoredAtEndWithTheMemoFileMissing"));
    EXPECT_FALSE(Contains(box.text, "notes.qps file is missing")) << box.text;
    EXPECT_TRUE(Contains(box.text, "\r\n    notes.qps: it is missing\r\n")) << box.text;
    EXPECT_FALSE(Contains(box.text, "another program")) << box.text;
    EXPECT_TRUE(Contains(box.text, "Please put the missing files back, then end Quillnet+ again")) << box.text;
    EXPECT_EQ(FileNameOf(BackupNamedIn(box.text)), rescues[0]) << box.text;
    EXPECT_EQ(RescueBackupNames(install), rescues);
    // Here the user's session ends with the question up.
}

TEST(RescueBackup, AnEditAfterTheAnswerToAnEndIsKeptInCaseUntilTheLastSaveStoresIt)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    RunningProgram program(install, "");
    HWND main = StartAndEdit(program, "Answered ");
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    const std::string edited = std::string("Answered ") + kStoredText;

    // The end of the session is allowed: everything is stored (and the
    // rescue backup written in case before the save goes again, unheard of).
    LRESULT answer = 0;
    ASSERT_TRUE(SendWithTimeout(main, WM_QUERYENDSESSION, 0, 0, &answer));
    EXPECT_NE(answer, 0);
    EXPECT_TRUE(StoredNoteHas(install.Path(), edited));
    // Typed before the session ends: the edit goes into a rescue backup
    // before the last save, which stores it, and the file goes again.
    TypeAtStart(WaitForNoteWithText(process, edited), "Later ");
    ASSERT_NE(WaitForNoteWithText(process, "Later " + edited), nullptr);
    ASSERT_TRUE(SendWithTimeout(main, WM_ENDSESSION, TRUE, 0));
    EXPECT_TRUE(StoredNoteHas(install.Path(), "Later " + edited));
    EXPECT_TRUE(RescueBackupNames(install).empty());
    EXPECT_TRUE(RescueMarkNames(install).empty());
    const std::vector<std::string> logged = RescueBackupsLogged(install);
    ASSERT_EQ(logged.size(), 1u);
    const std::string log = ReadWholeFile(install.File("error.txt"));
    EXPECT_TRUE(Contains(log, "the session ends now, before the last try to store the changes; the notes as they "
                              "are now are in " + logged[0] + "\r\n")) << log;
    EXPECT_TRUE(Contains(log, logged[0] + " was removed: a save stored every change")) << log;
    EXPECT_FALSE(Contains(log, "could not be stored")) << log;
    EXPECT_FALSE(ProgramBoxShown(process));
    // Here the system ends the process.
}

// Exit leaves in the data folder a rescue backup under the name it is written
// by, which the next start takes in or removes, and a ".tmp" file another
// program holds, even one that lets others delete it; a leftover ".tmp" that
// nobody holds goes.
TEST(RescueBackup, ExitSparesRescuesBeingWrittenAndFilesOthersHold)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    ASSERT_NE(WaitForNoteWithText(program.ProcessId(), kStoredText), nullptr);
    // Put there once the start is over, which takes in what it finds.
    const std::string beingWritten = install.File("Unstored being written 0123456789AB.tmp");
    const std::string othersFile = install.File("synchronising.tmp");
    const std::string leftOver = install.File("left over.tmp");
    WriteWholeFile(beingWritten, "<?xml version=\"1.0\"?>\r\n<backup>\r\n");
    WriteWholeFile(othersFile, "another program's");
    WriteWholeFile(leftOver, "nobody's");
    HeldFile holder(othersFile, kHolderSharesEverything);
    ASSERT_TRUE(holder.Held());

    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadWholeFile(beingWritten), "<?xml version=\"1.0\"?>\r\n<backup>\r\n");
    EXPECT_EQ(ReadWholeFile(othersFile), "another program's");
    EXPECT_FALSE(FileExists(leftOver));
    // Not left pending deletion either, to go once the other program lets go.
    holder.Release();
    EXPECT_EQ(ReadWholeFile(othersFile), "another program's");
}
