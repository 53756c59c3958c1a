// The real program sends a note by e-mail, to a mail server of the test's on
// 127.0.0.1, from a send request and from the send dialog where an e-mail
// address is typed; and the same dialog starts a chat with a computer, which
// receives the note's text as the chat's start.
#include "NoteCatcher.h"
#include "SendLoopback.h"

#include <gtest/gtest.h>

#include "MailServer.h"
#include "net/bytes/WireText.h"
#include "resources/ids/SendNoteIds.h"
#include "shell/MainWindowMessages.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
const UINT kSendToCommand = 4514;

void UseMailServer(const ProgramInstall& install, unsigned short port)
{
    CDbfFile settings;
    settings.SetTable(install.File("config.QPD").c_str(), true);
    settings.Open("MAPPINGALL");
    WriteText(settings, 1, "SZSMTP", "127.0.0.1");
    WriteNumber(settings, 1, "ISMTPPORT", port);
    WriteText(settings, 1, "SZSENDER", "anna@example.org");
    WriteText(settings, 1, "SZFRIENDLY", "Anna");
    // New users of this installation accept chats.
    WriteLogical(settings, 1, "BDELAY", true);
    settings.Close();
}

HWND OpenSendDialog(HWND note, DWORD process)
{
    PostMessageA(note, WM_COMMAND, kSendToCommand, 0);
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindTopWindowTitled("#32770", "Send note", process)) != nullptr; });
    return dialog;
}

void Type(HWND dialog, int id, const std::string& text)
{
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
}
}

TEST(MailAndChatFromNote, ANoteGoesByMailFromARequestAndTheDialogAndTheDialogStartsAChat)
{
    WinsockSession winsock;
    MailServer server;
    ASSERT_NE(server.Port(), 0) << "the mail server did not start";
    ProgramInstall install("mailchat");
    install.AddInstalledDataFiles();
    UseMailServer(install, server.Port());
    const unsigned short peerPort = FindFreePort();
    LoopbackPeer peer(peerPort);
    ASSERT_TRUE(peer.IsListening());

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);

    // A send request to an e-mail address makes the note and mails it.
    { ForwardedRequest send(main, 1, "bob@example.net!#%@Lunch at noon, by mail"); }
    ASSERT_TRUE(server.WaitForMessage(1));
    EXPECT_EQ(server.Fact(1, "rcpt-to"), "bob@example.net");
    EXPECT_EQ(server.Fact(1, "from"), "Anna <anna@example.org>");
    EXPECT_NE(server.Read("message-1.text").find("Lunch at noon, by mail"), std::string::npos);
    HWND note = NoteWhoseTextHas(process, "Lunch at noon, by mail");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return SendStripText(note).find("bob@example.net") != std::string::npos; }))
        << SendStripText(note);

    // The dialog takes an e-mail address where a computer's name goes; a
    // damaged one is refused with the reason.
    HWND dialog = OpenSendDialog(note, process);
    ASSERT_NE(dialog, nullptr);
    Type(dialog, IDC_SEND_COMPUTER, "carol@exa mple.org");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ShownMessageBox refusal = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(refusal.window, nullptr);
    EXPECT_NE(refusal.text.find("is not an e-mail address"), std::string::npos) << refusal.text;
    AnswerMessageBox(refusal, IDOK);
    Type(dialog, IDC_SEND_COMPUTER, "carol@example.org");
    EXPECT_TRUE(SaveScreenshotOf(dialog, "SendDialogMailAndChat"));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(server.WaitForMessage(2));
    EXPECT_EQ(server.Fact(2, "rcpt-to"), "carol@example.org");
    EXPECT_NE(server.Read("message-2.text").find("Lunch at noon, by mail"), std::string::npos);

    // "Chat" with a computer typed in: it receives the chat's start with the
    // note's text, and the note becomes a chat note.
    dialog = OpenSendDialog(note, process);
    ASSERT_NE(dialog, nullptr);
    Type(dialog, IDC_SEND_ADDRESS, "127.0.0.1");
    Type(dialog, IDC_SEND_PORT, std::to_string(peerPort));
    PostMessageA(dialog, WM_COMMAND, IDC_SEND_CHAT, 0);
    std::string bytes;
    ASSERT_TRUE(peer.Receive(bytes));
    CWireNote start;
    CWireParts parts;
    ASSERT_EQ(ParseWireText(bytes.data(), bytes.size(), start, parts), WireParseResult::kNote);
    EXPECT_EQ(start.chatOperation, "start");
    EXPECT_NE(start.chatId, 0u);
    EXPECT_EQ(start.replyPort, install.ListenPort());
    EXPECT_NE(bytes.substr(parts.richTextOffset, parts.richTextLength).find("Lunch at noon, by mail"),
              std::string::npos);
    EXPECT_EQ(start.coRecipients, std::vector<std::string>{"|127.0.0.1|" + std::to_string(peerPort)});
    HWND strip = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (strip = FindWindowExA(note, nullptr, "QnChatStrip", nullptr)) != nullptr; }));
    EXPECT_NE(FindWindowExA(strip, nullptr, "Button", "127.0.0.1"), nullptr);

    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
}
