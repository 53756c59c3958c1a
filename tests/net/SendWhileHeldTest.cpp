// A note never saved gets its record before it is sent. While another
// program holds the notes table or its memo file it cannot: the send is
// refused in one box that names the file, and nothing goes out; once the
// file is free, the same note is sent.
#include "NetDriving.h"

#include <gtest/gtest.h>

#include "resources/ids/SendNoteIds.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/TextChecks.h"

namespace {
const char kUnsentText[] = "Typed and sent before any save";

void SendRefusedWhileHeld(const std::string& held)
{
    ProgramInstall install("sendheld");
    install.AddInstalledDataFiles();
    const unsigned short peerPort = FindFreePort();
    LoopbackPeer peer(peerPort);
    ASSERT_TRUE(peer.IsListening());
    HeldFile holder;
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ASSERT_TRUE(WaitForTheStartsFocus(process));
    HWND note = NewNoteFromMainWindow(main, process);
    ASSERT_NE(note, nullptr);
    TypeAtStart(note, kUnsentText);
    ASSERT_EQ(WaitForNoteWithText(process, kUnsentText), note);
    ASSERT_TRUE(holder.Hold(install.File(held), kHolderSharesNothing));

    HWND dialog = OpenSendDialog(note, process);
    ASSERT_NE(dialog, nullptr);
    TypeInto(dialog, IDC_SEND_ADDRESS, "127.0.0.1");
    TypeInto(dialog, IDC_SEND_PORT, std::to_string(peerPort));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.text, "The note could not be saved, so it was not sent; another program is using " + held +
                            ".\r\n\r\nPlease close that program and try again.");
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
    EXPECT_EQ(SendStripText(note), "");

    // The other program lets go: the note is stored and sent.
    holder.Release();
    dialog = OpenSendDialog(note, process);
    ASSERT_NE(dialog, nullptr);
    TypeInto(dialog, IDC_SEND_ADDRESS, "127.0.0.1");
    TypeInto(dialog, IDC_SEND_PORT, std::to_string(peerPort));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    std::string bytes;
    ASSERT_TRUE(peer.Receive(bytes));
    EXPECT_TRUE(Contains(bytes, kUnsentText));
    EXPECT_TRUE(WaitUntil([&] { return SendStripText(note) == "Sent to 127.0.0.1."; })) << SendStripText(note);
    ExitProgram(program, main);
}
}

TEST(SendWhileHeld, ANewNoteIsNotSentWhileTheTableIsHeldAndTheBoxNamesIt)
{
    SendRefusedWhileHeld("notes.QPD");
}

TEST(SendWhileHeld, ANewNoteIsNotSentWhileTheMemoFileIsHeldAndTheBoxNamesIt)
{
    SendRefusedWhileHeld("notes.qps");
}
