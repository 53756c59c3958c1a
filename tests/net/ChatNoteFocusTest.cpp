// Moving on to a chat note from the note before it (the main window's 0x8075)
// puts the user in the chat's input line while the program has not yet
// raised the note (a chat note kept from the last run), once: the note,
// raised by that move, is then entered in its text like any other note.
#include "NetDriving.h"
#include "NoteCatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "globals/MainWindowMessages.h"
#include "support/NoteDriving.h"
#include "support/NoticeReading.h"

namespace {
// The note after which the walk forward comes to the target: the target's
// predecessor in the program's list, asked of the main window.
HWND NoteBefore(HWND main, const std::vector<HWND>& notes, HWND target)
{
    for (HWND note : notes) {
        LRESULT next = 0;
        if (note != target && SendWithTimeout(main, kMsgNoteAfter, 0, GetWindowLongPtrA(note, GWLP_USERDATA), &next) &&
            next == GetWindowLongPtrA(target, GWLP_USERDATA))
            return note;
    }
    return nullptr;
}

// The program asked to bring the note forward with the focus, once the
// note's thread has read what X told it: Wine gives the foreground back to
// the window X focused last when it reads X's notice of an earlier move late,
// which a user's own click or key, coming through X after it, never meets.
bool FocusComesTo(HWND main, HWND note)
{
    EXPECT_TRUE(WindowReadItsNotices(note));
    return SendWithTimeout(main, kMsgFocusNoteByWindow, 0, reinterpret_cast<LPARAM>(note)) &&
           WaitUntil([&] { return GetForegroundWindow() == note; });
}
}

TEST(ChatNoteFocus, MovingOnToAChatNoteFirstPutsTheUserInItsInputLine)
{
    WinsockSession winsock;
    ProgramInstall install{"chatfocus"};
    install.AddInstalledDataFiles();
    AcceptChats(install);
    RunningProgram program(install, "");
    HWND main = program.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));

    CWireNote wire;
    wire.version = kWireVersion;
    wire.computerName = "PC-ANNA";
    wire.userName = "anna";
    wire.replyPort = FindFreePort();
    wire.title = "Lunch chat";
    wire.chatId = 515151;
    wire.chatOperation = "start";
    wire.coRecipients = {ThisComputer() + "|127.0.0.1|" + std::to_string(install.ListenPort())};
    const std::string text = "{\\rtf1\\ansi shall we meet?\\par}";
    ASSERT_TRUE(SendToProgram(install.ListenPort(), WriteWireText(wire, text.data(), text.size(), nullptr, 0)));
    ASSERT_NE(NoteHaving(program.ProcessId(), "shall we meet?", true), nullptr);
    ExitProgram(program, main);

    RunningProgram again(install, "");
    main = again.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);
    HWND chat = NoteHaving(again.ProcessId(), "shall we meet?", true);
    ASSERT_NE(chat, nullptr);
    HWND input = FindWindowExA(FindWindowExA(chat, nullptr, "QnChatStrip", nullptr), nullptr, "Edit", nullptr);
    ASSERT_NE(input, nullptr);

    const std::vector<HWND> notes = NoteWindows(again.ProcessId());
    ASSERT_EQ(notes.size(), 2u);
    HWND before = NoteBefore(main, notes, chat);
    ASSERT_NE(before, nullptr);
    for (int move = 0; move < 2; ++move) {
        ASSERT_TRUE(FocusComesTo(main, before));
        // And so are those of bringing the note before forward, which a
        // loaded machine was seen to read after the move.
        EXPECT_TRUE(ForegroundReadItsNotices());
        ASSERT_TRUE(SendWithTimeout(main, kMsgFocusNextNote, 0, GetWindowLongPtrA(before, GWLP_USERDATA)));
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == chat; }));
        if (move == 0)
            EXPECT_TRUE(WaitUntil([&] { return FocusedWindowOf(chat) == input; })) << "the first move";
        else
            EXPECT_TRUE(WaitUntil([&] { return FocusedWindowOf(chat) == BodyOf(chat); })) << "a later move";
    }
    ExitProgram(again, main);
}
