// Protected notes on the real program: a note locked with the lock command
// leaves no plain text in the notes table and asks for its password at the
// next start; three wrong passwords hide it; a second request only brings
// the prompt forward; a password typed once opens another note silently when
// asked for once per run, never when asked for every time; the split
// button of a ringing note's prompt hides it to ring again in 3 hours; and a
// lock whose save fails says so, logs no plain text, and leaves none once a
// save works.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "foundation/DateTime.h"
#include "foundation/bytes/ProtectedMark.h"
#include "note/NoteController.h"
#include "note/AlarmTestTimes.h"
#include "globals/MainWindowMessages.h"
#include "note/NoteMessages.h"
#include "store/FieldAccess.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/ProtectedUser.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
const char kPasswordPromptTitle[] = "  Quillnet+";
const char kPlaceholder[] = " ...PROTECTED  NOTE... ";
const char* const kLockedSecretText = kSecretPasswordText;
const int kPasswordEdit = 1125;
const int kOkButton = 1293;
const int kOncePerRun = 1;
const int kLockedEveryTime = 2;

// A note of the install's table: protected (with "secret") when asked, shown
// or hidden, with an alarm when one is given.
void StoreProtectableNote(const char* text, LONG left, bool isProtected, bool hidden, const CDateTime* alarm = nullptr)
{
    CNoteController note;
    FillTestNote(note, text, left, 140);
    note.m_hidden = hidden;
    if (alarm) {
        note.m_alarmSet = true;
        note.m_alarm = *alarm;
    }
    note.m_protected = isProtected;
    note.m_passwordText = kLockedSecretText;
    SaveNote(note);
}

HWND FindPrompt(DWORD process)
{
    return FindTopWindowTitled("#32770", kPasswordPromptTitle, process);
}

// The prompt once it is shown, its set-up over.
HWND WaitForPrompt(DWORD process)
{
    HWND prompt = nullptr;
    WaitUntil([&] { return (prompt = FindPrompt(process)) != nullptr && IsWindowVisible(prompt); });
    return prompt;
}

int CountPrompts(DWORD process)
{
    int count = 0;
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", kPasswordPromptTitle); window;
         window = FindWindowExA(nullptr, window, "#32770", kPasswordPromptTitle)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        count += owner == process;
    }
    return count;
}

void TypePassword(HWND prompt, const char* password)
{
    SendWithTimeout(GetDlgItem(prompt, kPasswordEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(password));
    PostMessageA(prompt, WM_COMMAND, MAKEWPARAM(kOkButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(prompt, kOkButton)));
}

std::string BodyText(HWND note)
{
    return ReadWindowText(BodyOf(note));
}

// Two notes locked with "secret": Alpha shown, Beta hidden with its alarm a
// few seconds after the start; Beta's alarm.
CDateTime PrepareAlphaAndBeta(const ProgramInstall& install, int passwordMode)
{
    PrepareProtectingUser(install, passwordMode);
    CurrentFolder data(install.Path());
    NotesFreeSlots().Clear();
    StoreProtectableNote("Alpha secret", 60, true, false);
    const CDateTime soon = SecondsFromNow(4);
    StoreProtectableNote("Beta secret", 360, true, true, &soon);
    return soon;
}

// An alarm told to come again every three hours at the moment: at its own
// minute and second in the hour of that moment, three hours on (chosen at
// 10:20, an alarm of 9:30 comes at 13:30).
CDateTime ThreeHoursOn(const CDateTime& alarm, const CDateTime& moment)
{
    CDateTime next = moment;
    next.m_minute = alarm.m_minute;
    next.m_second = alarm.m_second;
    next.AddHours(3);
    return next;
}

// At the start the shown note asks for its password; "secret" opens it.
void OpenAlphaAtStart(DWORD process)
{
    HWND prompt = WaitForPrompt(process);
    ASSERT_NE(prompt, nullptr);
    TypePassword(prompt, "secret");
    ASSERT_NE(WaitForNoteWithText(process, "Alpha secret"), nullptr);
}

// Keys go to the menu that the prompt's thread is tracking.
void PressKey(HWND window, WPARAM key)
{
    PostMessageA(window, WM_KEYDOWN, key, 0);
    PostMessageA(window, WM_KEYUP, key, 0xC0000000);
}
}

TEST(ProtectedNotesProgram, ALockedNoteLeavesNoPlainTextAsksAtStartAndHidesAfterThreeWrongPasswords)
{
    ProgramInstall install("protected");
    install.AddInstalledDataFiles();
    PrepareProtectingUser(install, kLockedEveryTime);
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreProtectableNote("Plain words of mine", 300, false, false);
    }
    {
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND note = WaitForNoteWithText(program.ProcessId(), "Plain words of mine");
        ASSERT_NE(note, nullptr);
        ASSERT_TRUE(SendWithTimeout(note, WM_COMMAND, kNoteCmdToggleLock, 0));
        EXPECT_EQ(BodyText(note), "Plain words of mine") << "locked, and open until the next start";
        CloseProgram(install, program);
    }
    EXPECT_EQ(ReadWholeFile(install.File("notes.QPS")).find("Plain words"), std::string::npos);
    StoredNoteList stored = LoadEveryNote(install.Path());
    const CNoteController* locked = StoredNoteTitled(stored, "Plain words of mine");
    ASSERT_NE(locked, nullptr);
    EXPECT_TRUE(locked->m_protected && locked->m_masked);

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND prompt = WaitForPrompt(process);
    ASSERT_NE(prompt, nullptr) << "the next start asks for the password";
    HWND note = NoteWithText(process, kPlaceholder);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(ReadWindowText(GetDlgItem(prompt, 1296)), "This note is protected. Please enter the password.");
    EXPECT_EQ(ReadWindowText(GetDlgItem(prompt, IDCANCEL)), "&Cancel");
    EXPECT_EQ(ReadWindowText(GetDlgItem(prompt, 1287)), "Password Recovery Service");
    EXPECT_TRUE(SaveScreenshotOf(prompt, "note-password-prompt"));
    TypePassword(prompt, "wrong");
    EXPECT_EQ(AcknowledgeProgramBox(process), "The password is incorrect, please try again (two tries remaining)");
    TypePassword(prompt, "Secret");
    EXPECT_EQ(AcknowledgeProgramBox(process), "The password is incorrect, please try again (last try)");
    TypePassword(prompt, "secret ish");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(note); })) << "three wrong passwords hide the note";
    EXPECT_EQ(FindTopWindowTitled("#32770", "Quillnet+", process), nullptr) << "no box after the third";

    // Shown again, it asks again; a second request only brings the prompt forward.
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, kCmdShowAll, 0);
    prompt = WaitForPrompt(process);
    ASSERT_NE(prompt, nullptr);
    EXPECT_TRUE(IsWindowVisible(note));
    ASSERT_TRUE(SendWithTimeout(note, WM_COMMAND, kNoteCmdToggleLock, 0));
    EXPECT_EQ(CountPrompts(process), 1);
    TypePassword(prompt, "secret");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
    EXPECT_TRUE(WaitUntil([&] { return BodyText(note) == "Plain words of mine"; }));
    EXPECT_TRUE(SaveScreenshot("protected-note-opened"));
    CloseProgram(install, program);
}

TEST(ProtectedNotesProgram, APasswordTypedOnceOpensAnotherNoteWhenAskedForOncePerRun)
{
    ProgramInstall install("once");
    install.AddInstalledDataFiles();
    PrepareAlphaAndBeta(install, kOncePerRun);
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    OpenAlphaAtStart(process);
    // Its alarm brings the other note up, opened with the password given.
    HWND beta = WaitForNoteWithText(process, "Beta secret");
    ASSERT_NE(beta, nullptr);
    EXPECT_TRUE(IsWindowVisible(beta));
    EXPECT_EQ(FindPrompt(process), nullptr);
    CloseProgram(install, program);
}

TEST(ProtectedNotesProgram, AskedForEveryTimeARingingNoteAsksAndItsSplitButtonHidesItForThreeHours)
{
    ProgramInstall install("every");
    install.AddInstalledDataFiles();
    const CDateTime alarm = PrepareAlphaAndBeta(install, kLockedEveryTime);
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    OpenAlphaAtStart(process);

    // The ringing note comes up masked and asks: Cancel is the split button.
    HWND beta = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        beta = NoteWithText(process, kPlaceholder);
        return beta && IsWindowVisible(beta);
    }));
    HWND prompt = WaitForPrompt(process);
    ASSERT_NE(prompt, nullptr) << "asked for every time: never opened silently";
    HWND hide = GetDlgItem(prompt, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return ReadWindowText(hide) == "H&ide note"; }));
    EXPECT_TRUE(GetWindowLongA(hide, GWL_STYLE) & BS_OWNERDRAW);
    EXPECT_TRUE(SaveScreenshotOf(prompt, "note-password-prompt-ringing"));

    // Its menu part opens "... but remind again every:"; "3 hours" is the
    // fifth item down, after the heading, 5 and 15 minutes and 1 hour.
    RECT button{};
    GetClientRect(hide, &button);
    PostMessageA(hide, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.right - 8, button.bottom / 2));
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindTopWindow("#32768", process)) != nullptr; }));
    EXPECT_TRUE(SaveScreenshotOf(menu, "note-password-hide-menu"));
    for (int i = 0; i < 5; ++i)
        PressKey(prompt, VK_DOWN);
    // Chosen between these two moments, which may lie in two hours: the
    // note hides once its next alarm is reckoned.
    const CDateTime beforeChoice = SecondsFromNow(0);
    PressKey(prompt, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(beta); }));
    const CDateTime afterChoice = SecondsFromNow(0);
    CloseProgram(install, program);

    StoredNoteList stored = LoadEveryNote(install.Path());
    const CNoteController* snoozed = StoredNoteTitled(stored, "Beta secret");
    ASSERT_NE(snoozed, nullptr);
    EXPECT_TRUE(snoozed->m_alarmRecurring);
    EXPECT_EQ(snoozed->m_alarmUnit, 2);
    EXPECT_EQ(snoozed->m_alarmValue, 3);
    EXPECT_TRUE(snoozed->m_alarm == ThreeHoursOn(alarm, beforeChoice) ||
                snoozed->m_alarm == ThreeHoursOn(alarm, afterChoice))
        << TextOf(snoozed->m_alarm) << " for an alarm of " << TextOf(alarm);
    EXPECT_TRUE(snoozed->m_masked) << "still locked";
}

TEST(ProtectedNotesProgram, ALockWhoseSaveFailsSaysThePlainTextStaysAndNoSaveLogsIt)
{
    const char kPlain[] = "Plain words of mine";
    ProgramInstall install("lockfail");
    install.AddInstalledDataFiles();
    PrepareProtectingUser(install, kLockedEveryTime);
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreProtectableNote(kPlain, 300, false, false);
    }
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    HWND note = WaitForNoteWithText(process, kPlain);
    ASSERT_NE(note, nullptr);

    // No save can make its working copy: the lock is not a success.
    {
        WriteWholeFile(install.File("notesTemp.QPD"), "left by a stop");
        HeldFile holder(install.File("notesTemp.QPD"), kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());
        PostMessageA(note, WM_COMMAND, kNoteCmdToggleLock, 0);
        const std::string told = AcknowledgeReadableProgramBox(process, "lock-not-saved");
        EXPECT_NE(told.find("could not be saved"), std::string::npos) << told;
        EXPECT_NE(told.find("Until a save succeeds, the plain text of the note stays in notes.QPS"), std::string::npos)
            << told;
    }
    EXPECT_NE(ReadWholeFile(install.File("notes.QPS")).find(kPlain), std::string::npos);

    // The memo file's working copy is held: the hidden note's own save fails,
    // and what it keeps in the error log is its enciphered body alone.
    {
        WriteWholeFile(install.File("notesTemp.QPS"), "left by a stop");
        HeldFile holder(install.File("notesTemp.QPS"), kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());
        PostMessageA(note, WM_COMMAND, kNoteCmdHide, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(note); }));
    }
    const std::string log = ReadWholeFile(install.File("error.txt"));
    const std::string failed = "SaveTextInMemoFile(): Error copying notes.qps\r\n";
    const size_t entry = log.find(failed);
    ASSERT_NE(entry, std::string::npos) << log;
    const size_t body = entry + failed.size();
    const size_t end = log.find("\r\n\r\n", body);
    ASSERT_NE(end, std::string::npos);
    EXPECT_GE(end - body, kMinProtectedBodyBytes);
    EXPECT_TRUE(HasProtectedMark(log.data() + body, end - body)) << log.substr(body, end - body);
    EXPECT_EQ(log.find("Plain words"), std::string::npos) << log;

    // The end's save of all notes rebuilds the memo file: no plain text is left.
    CloseProgram(install, program);
    EXPECT_EQ(ReadWholeFile(install.File("notes.QPS")).find("Plain words"), std::string::npos);
    StoredNoteList stored = LoadEveryNote(install.Path());
    const CNoteController* locked = StoredNoteTitled(stored, kPlain);
    ASSERT_NE(locked, nullptr);
    EXPECT_TRUE(locked->m_protected && locked->m_masked);
    EXPECT_EQ(ReadWholeFile(install.File("error.txt")).find("Plain words"), std::string::npos);
}
