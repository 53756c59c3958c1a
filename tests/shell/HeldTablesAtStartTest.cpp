// The real program started while another program holds one of its tables, as
// a virus scanner or a synchronising tool does for a moment, or for longer (a
// settings file held for a moment is waited for too): a
// glance only delays the start, which then shows every note; a table that
// stays held ends the start with one box that names it, before a byte of the
// data folder is written. A "/u=" user's tables are checked in the user's own
// folder. A table taken after the start's first look, as the start goes on,
// is waited for in the same way; one taken while the start-up password is
// asked and kept is named in the same box. A reader of the notes memo file
// that lets the program write it does not stop the start, and the exit keeps
// the edits made meanwhile.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "SettingsFilesDriving.h"
#include "UnstoredEditDriving.h"
#include "globals/MainWindowMessages.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/ProtectedUser.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/TempFolder.h"
#include "support/TextChecks.h"
#include "support/bytes/Occurrences.h"

namespace {
const char* const kNoteTexts[] = {"Dentist on Friday", "Call the garage", "Water the plants"};
const char kWaitingLine[] = "Another program holds ";
const char kPasswordTitle[] = "Quillnet+ password";
const int kStartPasswordEdit = 1125;
const int kPasswordOk = 1294;

// An install of its own data files whose notes table holds the three notes.
void InstallWithNotes(ProgramInstall& install)
{
    install.AddInstalledDataFiles();
    CurrentFolder data(install.Path());
    NotesFreeSlots().Clear();
    LONG left = 40;
    for (const char* text : kNoteTexts) {
        CNoteController note;
        FillTestNote(note, text, left, 60);
        ASSERT_TRUE(SaveNote(note)) << text;
        left += 260;
    }
}

std::string HeldText(const std::string& name)
{
    return name + " is in use by another program, so Quillnet+ can neither read nor save it.\r\n\r\n"
                  "Please close the program that uses " + name + " and start Quillnet+ again.";
}

std::string Lowered(std::string text)
{
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::string ErrorLogOf(const std::string& folder)
{
    return ReadWholeFile(folder + "\\error.txt");
}

const char* SharingName(DWORD sharing)
{
    switch (sharing) {
    case kHolderSharesNothing:
        return " shared with none";
    case kHolderSharesReading:
        return " shared for reading";
    case kHolderSharesEverything:
        return " shared for everything";
    default:
        return " shared for reading and writing";
    }
}

// The program of the process runs with every note of the install shown.
void ExpectEveryNoteShown(const RunningProgram& program)
{
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    for (const char* text : kNoteTexts)
        EXPECT_NE(WaitForNoteWithText(program.ProcessId(), text), nullptr) << text;
    EXPECT_FALSE(ProgramBoxShown(program.ProcessId()));
}

// The box that names the held file, answered; the start ends with the code
// of a sharing violation and never makes its main window.
void ExpectStartEndedNaming(RunningProgram& program, const std::string& name, const std::string& picture)
{
    const ShownMessageBox box = WaitForMessageBox(program.ProcessId(), kDriverWaitMs, "Quillnet+");
    ASSERT_NE(box.window, nullptr) << "no box came";
    // The name as the program spells it, which a check may write in lower case.
    EXPECT_EQ(Lowered(box.text), Lowered(HeldText(name)));
    if (!picture.empty()) {
        EXPECT_TRUE(SaveScreenshotOf(box.window, picture));
    }
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

// Waits for the start-up password dialog, types the password and presses OK,
// as the keyboard and the mouse do; before that, the caller's step.
void AnswerPassword(const RunningProgram& program, const char* password, const std::function<void()>& before)
{
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (dialog = FindTopWindowTitled("#32770", kPasswordTitle, program.ProcessId())) != nullptr;
    }));
    before();
    HWND edit = GetDlgItem(dialog, kStartPasswordEdit);
    ASSERT_NE(edit, nullptr);
    for (const char* key = password; *key; ++key)
        ASSERT_TRUE(SendWithTimeout(edit, WM_CHAR, static_cast<unsigned char>(*key), 1));
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, kPasswordOk), BM_CLICK, 0, 0));
}
}

TEST(HeldTablesAtStart, AGlanceAtATableOnlyDelaysTheStart)
{
    ProgramInstall install("glance");
    InstallWithNotes(install);
    {
        CurrentFolder data(install.Path());
        WriteGroups(install.Path(), 1, {{8, "Plans"}}, {});
    }
    for (const char* name : {"notes.QPD", "users.QPD", "noteman.QPD"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(FileExists(install.File(name)));
        const size_t linesBefore = Occurrences(ErrorLogOf(install.Path()), kWaitingLine);
        {
            // Held from before the start until the program is seen waiting for
            // it: had the start not waited, its box would come instead.
            HeldFile holder(install.File(name), kHolderSharesReadWrite);
            ASSERT_TRUE(holder.Held());
            RunningProgram program(install, "");
            ASSERT_TRUE(WaitUntil([&] {
                return Contains(ErrorLogOf(install.Path()), kWaitingLine + std::string(name)) ||
                       FindTopWindow("#32770", program.ProcessId());
            }));
            const ShownMessageBox box = WaitForMessageBox(program.ProcessId(), 0);
            ASSERT_EQ(box.window, nullptr) << box.caption << ": " << box.text;
            holder.Release();
            ExpectEveryNoteShown(program);
            CloseProgram(install, program);
        }
        // One line for the wait, not one for each look at the file.
        EXPECT_EQ(Occurrences(ErrorLogOf(install.Path()), kWaitingLine), linesBefore + 1) << ErrorLogOf(install.Path());
    }
}

TEST(HeldTablesAtStart, ATableThatStaysHeldEndsTheStartWithOneBoxAndChangesNothing)
{
    ProgramInstall install("held");
    InstallWithNotes(install);
    {
        // A first run, so that every file a run writes is there.
        RunningProgram first(install, "");
        ExpectEveryNoteShown(first);
        CloseProgram(install, first);
    }
    const std::map<std::string, std::string> before = DataFilesUnder(install.Path());
    bool pictured = false;
    // The memo file, which the program itself opens sharing reading and
    // writing, is held only by a reader that keeps others from writing it.
    const std::pair<const char*, DWORD> holders[] = {
        {"notes.QPD", kHolderSharesReadWrite}, {"notes.QPD", kHolderSharesNothing},
        {"users.QPD", kHolderSharesReadWrite}, {"users.QPD", kHolderSharesNothing},
        {"notes.qps", kHolderSharesReading},   {"notes.qps", kHolderSharesNothing}};
    for (const auto& [name, sharing] : holders) {
        SCOPED_TRACE(std::string(name) + SharingName(sharing));
        const size_t linesBefore = Occurrences(ErrorLogOf(install.Path()), kWaitingLine);
        HeldFile holder(install.File(name), sharing);
        ASSERT_TRUE(holder.Held());
        RunningProgram program(install, "");
        ExpectStartEndedNaming(program, name, pictured ? "" : "held-table-at-start");
        pictured = true;
        EXPECT_EQ(FindTopWindow(kMainClass, program.ProcessId()), nullptr);
        holder.Release();
        EXPECT_TRUE(DataFilesUnder(install.Path()) == before) << "a file of the data folder changed";
        EXPECT_EQ(Occurrences(ErrorLogOf(install.Path()), kWaitingLine), linesBefore + 1);
    }

    // With the tables free, the program starts as ever.
    RunningProgram program(install, "");
    ExpectEveryNoteShown(program);
    CloseProgram(install, program);
}

TEST(HeldTablesAtStart, AUserFolderIsCheckedWhereTheProgramRunsOnIt)
{
    ProgramInstall install("userheld");
    install.AddInstalledDataFiles();
    install.AddTemplateFolder();
    {
        // The program folder's tables are not the ones a "/u=" user runs on:
        // the user's first start, which makes the folder, takes no notice of
        // a holder of them.
        HeldFile holder(install.File("notes.QPD"), kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());
        RunningProgram first(install, "/u=Bob");
        ASSERT_NE(WaitForMainWindow(first), nullptr);
        EXPECT_FALSE(ProgramBoxShown(first.ProcessId()));
        CloseProgram(install, first);
    }
    const std::string bob = install.File("Bob");
    ASSERT_TRUE(FileExists(bob + "\\notes.QPD"));
    const std::map<std::string, std::string> before = DataFilesUnder(bob);
    {
        HeldFile holder(bob + "\\notes.QPD", kHolderSharesReadWrite);
        ASSERT_TRUE(holder.Held());
        RunningProgram program(install, "/u=Bob");
        ExpectStartEndedNaming(program, "notes.QPD", "");
    }
    EXPECT_TRUE(DataFilesUnder(bob) == before) << "a file of the user's folder changed";
    RunningProgram again(install, "/u=Bob");
    ASSERT_NE(WaitForMainWindow(again), nullptr);
    EXPECT_FALSE(ProgramBoxShown(again.ProcessId()));
    CloseProgram(install, again);
}

TEST(HeldTablesAtStart, ATableTakenWhileThePasswordIsAskedIsNamedInTheSameBox)
{
    ProgramInstall install("password");
    InstallWithNotes(install);
    PrepareProtectingUser(install, 1, true);
    // The notes table, first opened by the main window as it loads the notes,
    // and the settings table, whose rights are checked before that.
    const std::pair<const char*, DWORD> holders[] = {{"notes.QPD", kHolderSharesReadWrite},
                                                     {"config.QPD", kHolderSharesNothing}};
    for (const auto& [name, sharing] : holders) {
        SCOPED_TRACE(std::string(name) + SharingName(sharing));
        RunningProgram program(install, "");
        HeldFile holder;
        AnswerPassword(program, "secret", [&] { ASSERT_TRUE(holder.Hold(install.File(name), sharing)); });
        ExpectStartEndedNaming(program, name, "");
    }
    RunningProgram program(install, "");
    AnswerPassword(program, "secret", [] {});
    ExpectEveryNoteShown(program);
    CloseProgram(install, program);
}

TEST(HeldTablesAtStart, ATableTakenWhileTheStartIsUnderWayOnlyDelaysIt)
{
    ProgramInstall install("late");
    InstallWithNotes(install);
    {
        CurrentFolder data(install.Path());
        WriteGroups(install.Path(), 1, {{8, "Plans"}}, {});
    }
    // The start's first look waits for the first file; the later one is
    // taken before the first is let go, so that the start meets it only when
    // it opens it: the users table as its rights are checked, the Note
    // Manager's file as the groups are read. The other program lets go of
    // it two seconds after it took it.
    const std::pair<const char*, const char*> holds[] = {{"notes.QPD", "users.QPD"}, {"users.QPD", "noteman.QPD"}};
    for (const auto& [first, later] : holds) {
        SCOPED_TRACE(later);
        const size_t linesBefore = Occurrences(ErrorLogOf(install.Path()), kWaitingLine);
        HeldFile glance(install.File(first), kHolderSharesReadWrite);
        ASSERT_TRUE(glance.Held());
        RunningProgram program(install, "");
        const std::string log = ErrorLogOf(install.Path());
        const size_t firstBefore = Occurrences(log, kWaitingLine + std::string(first));
        const size_t laterBefore = Occurrences(log, kWaitingLine + std::string(later));
        const auto logged = [&](const char* name, size_t before) {
            return Occurrences(ErrorLogOf(install.Path()), kWaitingLine + std::string(name)) > before;
        };
        const auto stopped = [&] { return FindTopWindow("#32770", program.ProcessId()) || !program.IsRunning(); };
        ASSERT_TRUE(WaitUntil([&] { return logged(first, firstBefore) || stopped(); }));
        HeldFile hold(install.File(later), kHolderSharesNothing);
        ASSERT_TRUE(hold.Held());
        const DWORD taken = GetTickCount();
        glance.Release();
        ASSERT_TRUE(WaitUntil([&] { return logged(later, laterBefore) || stopped(); }));
        const ShownMessageBox box = WaitForMessageBox(program.ProcessId(), 0);
        ASSERT_EQ(box.window, nullptr) << box.caption << ": " << box.text;
        ASSERT_TRUE(WaitUntil([&] { return GetTickCount() - taken >= 2000 || stopped(); }));
        hold.Release();
        ExpectEveryNoteShown(program);
        EXPECT_TRUE(program.IsRunning());
        CloseProgram(install, program);
        // One line for each wait.
        EXPECT_EQ(Occurrences(ErrorLogOf(install.Path()), kWaitingLine), linesBefore + 2)
            << ErrorLogOf(install.Path());
    }
}

TEST(HeldTablesAtStart, AReaderOfTheNotesMemoThatLetsItBeWrittenLetsTheStartGoOnAndNoEditIsLost)
{
    // A scanner reads the memo file for longer than the start would wait,
    // letting the program read and write it; that keeps the file from being
    // replaced all the same (as on Windows, an open file is not replaced
    // while another program has it open), so the exit's question names it.
    for (DWORD sharing : {kHolderSharesEverything, kHolderSharesReadWrite}) {
        SCOPED_TRACE(std::string("notes.qps") + SharingName(sharing));
        ProgramInstall install("reader");
        InstallWithNotes(install);
        const size_t linesBefore = Occurrences(ErrorLogOf(install.Path()), kWaitingLine);
        HeldFile reader(install.File("notes.qps"), sharing);
        ASSERT_TRUE(reader.Held());
        RunningProgram program(install, "");
        ExpectEveryNoteShown(program);
        EXPECT_EQ(Occurrences(ErrorLogOf(install.Path()), kWaitingLine), linesBefore) << "nothing to wait for";

        const std::string text = std::string("Edited ") + kNoteTexts[0];
        TypeAtStart(WaitForNoteWithText(program.ProcessId(), kNoteTexts[0]), "Edited ");
        ASSERT_NE(WaitForNoteWithText(program.ProcessId(), text), nullptr);
        HWND main = FindTopWindow(kMainClass, program.ProcessId());
        ASSERT_NE(main, nullptr);
        PostMessageA(main, WM_COMMAND, kCmdExit, 0);
        ASSERT_TRUE(WaitUntil([&] { return ProgramBoxShown(program.ProcessId()) || !program.IsRunning(); }));
        ASSERT_TRUE(program.IsRunning()) << "the program ended with the edit unstored";
        const std::string question = AnswerProgramBox(program.ProcessId(), IDNO);
        EXPECT_TRUE(Contains(question, "notes.qps")) << question;
        EXPECT_TRUE(Contains(question, "these changes would be lost")) << question;
        EXPECT_TRUE(program.IsRunning());
        EXPECT_EQ(RescueBackupNames(install).size(), 1u) << "the edit is kept in a rescue backup meanwhile";
        // Once the reader is done, the next exit stores the edit.
        reader.Release();
        CloseProgram(install, program);
        EXPECT_TRUE(StoredNoteHas(install.Path(), text));
    }
}
