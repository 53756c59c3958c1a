// A locked note that has arrived from another computer sits on the desktop
// showing its placeholder. When the user appends a backup of their own locked
// notes from the command line, every shown note still locked is offered its
// password as each restored locked note comes, not only the restored one: the
// arrived note opens with the password, a restored note whose prompt is
// cancelled goes from the screen and is not asked for again, and notes that
// are open or were never locked are not asked for. A second restore or an
// undo asked for while a prompt is open is refused.
#include "NetDriving.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "NoteCatcher.h"
#include "globals/MainWindowMessages.h"
#include "note/NoteMessages.h"
#include "noteprops/ProtectedContent.h"
#include "noteprops/bytes/ProtectedBody.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProtectedUser.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
const char kLockedPlaceholder[] = " ...PROTECTED  NOTE... ";
const char kLockedPromptTitle[] = "  Quillnet+";
const int kPasswordEdit = 1125;
const int kOkButton = 1293;
const int kEveryTime = 2;
const char kArrivedText[] = "Hello from Anna in secret";
const char kRefusedText[] =
    "A restore is still under way: please answer its password prompts first.\r\n\r\n"
    "Nothing else was restored or undone.";

void StorePlainNote(const ProgramInstall& install, const char* text, LONG left)
{
    CurrentFolder data(install.Path());
    CNoteController note;
    FillTestNote(note, text, left, 120);
    SaveNote(note);
}

// The prompt on the screen at the moment, its set-up over; null when none.
HWND ShownLockedPrompt(DWORD process)
{
    HWND prompt = FindTopWindowTitled("#32770", kLockedPromptTitle, process);
    return prompt && IsWindowVisible(prompt) ? prompt : nullptr;
}

// A locked note as another computer's program sends it, with the password "secret".
std::string ArrivingLockedNote()
{
    std::string body, failure;
    EXPECT_TRUE(MakeProtectedBody(std::string("{\\rtf1\\ansi ") + kArrivedText + "\\par}", kSecretPasswordText,
                                  ContentDigestText, body, failure))
        << failure;
    return WriteWireText(LockedNoteFromAnna(), body.data(), body.size(), nullptr, 0);
}

bool StartsWith(HWND note, const std::string& text)
{
    return ReadWindowText(BodyOf(note)).rfind(text, 0) == 0;
}
}

TEST(RestoreOffersLockedNotes, EveryShownLockedNoteIsOfferedOnceWhileARestoreBringsLockedNotes)
{
    WinsockSession winsock;
    ProgramInstall install("offered");
    install.AddInstalledDataFiles();
    // Asked for every time: a password typed once opens nothing by itself.
    PrepareProtectingUser(install, kEveryTime);
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
    }
    StorePlainNote(install, "Trip one words", 60);
    StorePlainNote(install, "Trip two words", 340);

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    // The user locks both notes (they stay open until the next start) and
    // backs them up: the backup holds them enciphered with the user's password.
    std::vector<HWND> open;
    for (const char* text : {"Trip one words", "Trip two words"}) {
        HWND note = WaitForNoteWithText(process, text);
        ASSERT_NE(note, nullptr) << text;
        ASSERT_TRUE(SendWithTimeout(note, WM_COMMAND, kNoteCmdToggleLock, 0));
        open.push_back(note);
    }
    RunToEnd(install, "/backup trip.QPK");
    const std::string backup = install.File("trip.QPK");
    ASSERT_TRUE(WaitUntil([&] { return GetFileAttributesA(backup.c_str()) != INVALID_FILE_ATTRIBUTES; }));

    // A locked note arrives and waits on the desktop, masked.
    ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
    ASSERT_TRUE(SendToProgram(install.ListenPort(), ArrivingLockedNote()));
    HWND arrived = NoteHaving(process, kLockedPlaceholder);
    ASSERT_NE(arrived, nullptr);
    EXPECT_TRUE(IsWindowVisible(arrived));
    const std::vector<HWND> before = NoteWindows(process);

    // The command line form that asks: its box first, then the prompts.
    RunningProgram restore(install, "/import trip.QPK");
    EXPECT_EQ(AcknowledgeProgramBox(process), "Restore by appending notes from the following file:\ntrip.QPK");
    // Each prompt is answered by the note it is for: the arrived note with
    // the password, the first restored note asked for with Cancel, any other
    // with the password. Until the restore has ended.
    std::vector<HWND> offered;
    HWND cancelled = nullptr;
    for (int round = 0; round < 10; ++round) {
        HWND prompt = nullptr;
        ASSERT_TRUE(
            WaitUntil([&] { return (prompt = ShownLockedPrompt(process)) != nullptr || !restore.IsRunning(); }));
        if (!prompt)
            break;
        HWND note = GetWindow(prompt, GW_OWNER);
        offered.push_back(note);
        if (offered.size() == 1) {
            EXPECT_TRUE(SaveScreenshot("restore-offers-locked-notes"));
            // The prompt lets other requests in: a second restore or an undo
            // would close the notes this restore is making, and is refused.
            RunToEnd(install, "/replaceSilently trip.QPK");
            PostMessageA(main, WM_COMMAND, kCmdUnrestore, 0);
            EXPECT_EQ(AcknowledgeProgramBox(process), kRefusedText);
            EXPECT_NE(ReadWholeFile(install.File("cmdLineRestore.Err")).find(kRefusedText), std::string::npos);
            for (HWND earlier : before)
                EXPECT_TRUE(IsWindow(earlier)) << "no note was closed";
            ASSERT_TRUE(IsWindow(prompt));
        }
        if (note != arrived && !cancelled) {
            cancelled = note;
            PostMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
        } else {
            SendWithTimeout(GetDlgItem(prompt, kPasswordEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("secret"));
            PostMessageA(prompt, WM_COMMAND, MAKEWPARAM(kOkButton, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(prompt, kOkButton)));
        }
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
    }
    DWORD exitCode = 1;
    ASSERT_TRUE(restore.WaitForExit(&exitCode));
    EXPECT_EQ(ShownLockedPrompt(process), nullptr);

    // The backup brings the two locked notes and the plain welcome note of
    // the user's first start.
    std::vector<HWND> restored;
    HWND welcome = nullptr;
    for (HWND note : NoteWindows(process)) {
        if (std::find(before.begin(), before.end(), note) != before.end())
            continue;
        if (StartsWith(note, "Welcome to Quillnet+!"))
            welcome = note;
        else
            restored.push_back(note);
    }
    ASSERT_EQ(restored.size(), 2u);
    ASSERT_NE(welcome, nullptr);
    auto timesOffered = [&](HWND note) { return std::count(offered.begin(), offered.end(), note); };
    // Three prompts: the arrived note, when the first restored note came, and
    // each restored note; the cancelled one was not asked for again when the
    // second came, and the open notes never.
    EXPECT_EQ(offered.size(), 3u);
    EXPECT_EQ(timesOffered(arrived), 1) << "the note that waited on the desktop is offered too";
    EXPECT_EQ(timesOffered(restored[0]), 1);
    EXPECT_EQ(timesOffered(restored[1]), 1);
    EXPECT_EQ(timesOffered(open[0]) + timesOffered(open[1]) + timesOffered(welcome), 0);
    const auto cancelledAt = std::find(offered.begin(), offered.end(), cancelled) - offered.begin();
    EXPECT_LT(cancelledAt + 1, static_cast<long>(offered.size())) << "a restored note was offered after the cancel";

    EXPECT_TRUE(WaitUntil([&] { return StartsWith(arrived, kArrivedText); })) << ReadWindowText(BodyOf(arrived));
    EXPECT_TRUE(IsWindowVisible(arrived));
    ASSERT_NE(cancelled, nullptr);
    EXPECT_FALSE(IsWindowVisible(cancelled)) << "a cancelled prompt hides its note";
    EXPECT_EQ(ReadWindowText(BodyOf(cancelled)), kLockedPlaceholder);
    HWND answered = cancelled == restored[0] ? restored[1] : restored[0];
    EXPECT_TRUE(IsWindowVisible(answered));
    EXPECT_TRUE(StartsWith(answered, "Trip one words") || StartsWith(answered, "Trip two words"))
        << ReadWindowText(BodyOf(answered));
    EXPECT_TRUE(SaveScreenshot("restore-offered-notes-opened"));
    CloseProgram(install, program);
}

