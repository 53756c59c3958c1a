// The note's send dialog of the real program, filled in from outside as a
// user would: refusals of what names no computer, then a send to a computer
// chosen in the list and to one typed in.
#include "SendLoopback.h"

#include <gtest/gtest.h>

#include "net/bytes/WireText.h"
#include "resources/ids/SendNoteIds.h"
#include "shell/MainWindowMessages.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
const UINT kSendToCommand = 4514;

HWND Field(HWND dialog, int id)
{
    return GetDlgItem(dialog, id);
}

void Type(HWND dialog, int id, const char* text)
{
    ASSERT_TRUE(SendWithTimeout(Field(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

// Presses Send and answers the refusal; its text.
std::string RefusalOnSend(HWND dialog, DWORD process)
{
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    if (!box.window)
        return "(no box)";
    AnswerMessageBox(box, IDOK);
    WaitUntil([&] { return !IsWindow(box.window); });
    return box.text;
}

std::string RichTextOf(const std::string& wireBytes)
{
    CWireNote note;
    CWireParts parts;
    return ParseWireText(wireBytes.data(), wireBytes.size(), note, parts) == WireParseResult::kNote
               ? wireBytes.substr(parts.richTextOffset, parts.richTextLength)
               : std::string();
}
}

TEST(SendDialog, RefusesWhatNamesNoComputerAndSendsToTheListAndToATypedAddress)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    const unsigned short knownPort = FindFreePort();
    LoopbackPeer known(knownPort);
    const unsigned short typedPort = FindFreePort();
    LoopbackPeer typed(typedPort);
    ASSERT_TRUE(known.IsListening() && typed.IsListening());

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND main = program.WaitForWindow("MainWindowClassName6");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    // A first send puts the known peer into the list of computers sent to.
    { ForwardedRequest send(main, 1, "127.0.0.1:" + std::to_string(knownPort) + "!#%@A note for two"); }
    std::string bytes;
    ASSERT_TRUE(known.Receive(bytes));
    HWND note = NoteWhoseTextHas(process, "A note for two");
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return SendStripText(note).find("Sent to") != std::string::npos; }));

    PostMessageA(note, WM_COMMAND, kSendToCommand, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindTopWindowTitled("#32770", "Send note", process)) != nullptr; }));
    HWND list = Field(dialog, IDC_SEND_LIST);
    LRESULT count = 0;
    ASSERT_TRUE(SendWithTimeout(list, LB_GETCOUNT, 0, 0, &count));
    ASSERT_EQ(count, 1);
    EXPECT_EQ(ReadWindowText(Field(dialog, IDC_SEND_PORT)), std::to_string(install.ListenPort()));

    EXPECT_EQ(RefusalOnSend(dialog, process),
              "Please choose a computer in the list, or type a computer name, an IP address or an e-mail address.");
    Type(dialog, IDC_SEND_ADDRESS, "127.0.0.300");
    EXPECT_NE(RefusalOnSend(dialog, process).find("\"127.0.0.300\" is not an IP address."), std::string::npos);
    Type(dialog, IDC_SEND_ADDRESS, "");
    Type(dialog, IDC_SEND_COMPUTER, "PC BEN");
    EXPECT_NE(RefusalOnSend(dialog, process).find("\"PC BEN\" is not a computer name."), std::string::npos);
    Type(dialog, IDC_SEND_COMPUTER, "");
    Type(dialog, IDC_SEND_ADDRESS, "127.0.0.1");
    Type(dialog, IDC_SEND_PORT, "0");
    EXPECT_EQ(RefusalOnSend(dialog, process), "The port must be a number from 1 to 65535.");
    EXPECT_TRUE(IsWindow(dialog));

    // The known computer chosen in the list, and another typed in.
    Type(dialog, IDC_SEND_PORT, std::to_string(typedPort).c_str());
    ASSERT_TRUE(SendWithTimeout(list, LB_SETSEL, TRUE, 0));
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(SaveScreenshotOf(dialog, "SendDialog"));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(known.Receive(bytes));
    EXPECT_NE(RichTextOf(bytes).find("A note for two"), std::string::npos);
    ASSERT_TRUE(typed.Receive(bytes));
    EXPECT_NE(RichTextOf(bytes).find("A note for two"), std::string::npos);
    EXPECT_TRUE(WaitUntil([&] {
        const std::string text = SendStripText(note);
        return text.find("Sent to 127.0.0.1.  Sent to 127.0.0.1.") != std::string::npos;
    })) << SendStripText(note);
    EXPECT_FALSE(IsWindow(dialog));

    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
}
