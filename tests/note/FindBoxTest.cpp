// The notes' Find box on the real program: opened from a note's command and
// from the tray's Find note, a word found and selected forward and back
// without regard to case, the end of the note and a missing word told in a
// box, the search passed on to the user's other notes, and the history of
// the texts searched for.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "note/NoteMessages.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
const UINT kCmdFindNote = 4115;
const int kFindText = 1301;
const int kFindOtherNotes = 1302;
const int kFindPrevious = 1303;

bool Selects(HWND body, LONG start, LONG end)
{
    return WaitUntil([&] { return ReadSelection(body) == EditSelection{start, end}; });
}

void Search(HWND box, const std::string& text, UINT command)
{
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(box, kFindText), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
    PostMessageA(box, WM_COMMAND, command, 0);
}

// Two new notes with the texts; in the order given.
std::vector<HWND> MakeNotes(RunningProgram& program, HWND main, const std::vector<std::string>& texts)
{
    std::vector<HWND> made;
    for (const std::string& text : texts) {
        HWND note = NewNoteFromMainWindow(main, program.ProcessId());
        if (note)
            SendWithTimeout(BodyOf(note), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        made.push_back(note);
    }
    return made;
}
}

TEST(FindBox, FindsForwardAndBackTellsWhatItCannotFindAndAsksTheOtherNotes)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    // Paragraph ends count one character in the body: "milk" at 14, "Milk" at 34.
    std::vector<HWND> notes =
        MakeNotes(program, main, {"Shopping list\r\nmilk and bread\r\nMore Milk", "The meeting is at noon"});
    ASSERT_NE(notes[0], nullptr);
    ASSERT_NE(notes[1], nullptr);
    HWND shopping = notes[0], meeting = notes[1];
    SetWindowPos(shopping, nullptr, 100, 100, 260, 180, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(meeting, nullptr, 500, 100, 260, 180, SWP_NOZORDER | SWP_NOACTIVATE);

    // The note's Find command opens the box beside it.
    PostMessageA(shopping, WM_COMMAND, kNoteCmdFind, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindTopWindowTitled("#32770", "Find....", program.ProcessId())) != nullptr; }));
    EXPECT_EQ(GetWindow(box, GW_OWNER), shopping);
    EXPECT_TRUE(IsWindowVisible(box));

    HWND body = BodyOf(shopping);
    Search(box, "MILK", IDOK);
    EXPECT_TRUE(Selects(body, 14, 18));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Selects(body, 34, 38));
    EXPECT_TRUE(SaveScreenshotOf(box, "find-box"));
    PostMessageA(box, WM_COMMAND, kFindPrevious, 0);
    EXPECT_TRUE(Selects(body, 14, 18));

    // Past the last match the user is told, and the next search starts at the top.
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Selects(body, 34, 38));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(AcknowledgeProgramBox(program.ProcessId()),
              "No more \"MILK\" in this note.\r\nThe next search starts at the top of the note.");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Selects(body, 14, 18));

    Search(box, "cheese", IDOK);
    EXPECT_EQ(AcknowledgeProgramBox(program.ProcessId()), "\"cheese\" is not in this note.");
    EXPECT_TRUE(Selects(body, 14, 18)) << "the selection stays where it was";

    // With the other notes too, the note that holds the word shows it selected
    // and the box goes on with that note.
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(box, kFindOtherNotes), BM_SETCHECK, BST_CHECKED, 0));
    Search(box, "NOON", IDOK);
    EXPECT_TRUE(Selects(BodyOf(meeting), 18, 22));
    EXPECT_TRUE(WaitUntil([&] { return GetWindow(box, GW_OWNER) == meeting; }));
    Search(box, "Tuesday", IDOK);
    EXPECT_EQ(AcknowledgeProgramBox(program.ProcessId()), "\"Tuesday\" is in none of your notes.");

    // The last texts searched for, the newest first, each once.
    LRESULT count = 0;
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(box, kFindText), CB_GETCOUNT, 0, 0, &count));
    EXPECT_EQ(count, 4);
    // An item's text comes across the processes as wide characters.
    wchar_t first[64] = L"";
    DWORD_PTR copied = 0;
    ASSERT_NE(SendMessageTimeoutW(GetDlgItem(box, kFindText), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first),
                                  SMTO_ABORTIFHUNG, kDriverWaitMs, &copied),
              0);
    EXPECT_STREQ(first, L"Tuesday");

    // Closed, and opened again by the tray's Find note on a shown note.
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    PostMessageA(main, WM_COMMAND, kCmdFindNote, 0);
    ASSERT_TRUE(WaitUntil([&] { return (box = FindTopWindowTitled("#32770", "Find....", program.ProcessId())) != nullptr; }));
    HWND owner = GetWindow(box, GW_OWNER);
    std::vector<HWND> all = NoteWindows(program.ProcessId());
    EXPECT_NE(std::find(all.begin(), all.end(), owner), all.end());
    EXPECT_TRUE(IsWindowVisible(owner));
    CloseProgram(install, program);
}
