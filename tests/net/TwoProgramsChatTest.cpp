// Two running programs, each in a Wine prefix of its own, chat over
// 127.0.0.1: a chat started on one becomes a chat note on the other, a line
// said on the first reaches it, and when the first ends the chat the other
// marks it as having left and keeps its chat note, participants and lines.
// Each shows the other's avatar on its participant's button.
#include "SendLoopback.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "note/NoteController.h"
#include "store/NotesLoader.h"
#include "support/CurrentFolder.h"
#include "resources/ids/SendNoteIds.h"
#include "shell/MainWindowMessages.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "support/PeerPrefix.h"
#include "support/ProgramDriver.h"
#include "support/StoredNotes.h"
#include "support/PictureFiles.h"

namespace {
const UINT kSendToCommand = 4514;

// New users of the install accept chats.
void AcceptChats(const ProgramInstall& install)
{
    CDbfFile settings;
    settings.SetTable(install.File("config.QPD").c_str(), true);
    settings.Open("MAPPINGALL");
    WriteLogical(settings, 1, "BDELAY", true);
    settings.Close();
}

// The user's picture: the only one in the install's CHAT folder.
void GivePicture(const ProgramInstall& install, const char* name, const std::string& picture)
{
    CreateDirectoryA(install.File("CHAT").c_str(), nullptr);
    WriteWholeFile(install.File(std::string("CHAT\\") + name), picture);
}

bool FileHas(const std::string& path, const std::string& part)
{
    return FileExists(path) && ReadWholeFile(path).find(part) != std::string::npos;
}
}

TEST(TwoProgramsChat, AChatStartedOnOneIsHeldOnTheOtherWhichMarksItsEnd)
{
    ProgramInstall other("chatpeer");
    other.AddInstalledDataFiles();
    AcceptChats(other);
    const std::string theirs = SquareBitmap(24, RGB(30, 90, 200));
    GivePicture(other, "theirs.bmp", theirs);
    PeerProgram peer(other, "");
    ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(other.ListenPort()) || !peer.IsRunning(); },
                          kPeerPrefixWaitMs));
    ASSERT_TRUE(peer.IsRunning());

    ProgramInstall mine("chatself");
    mine.AddInstalledDataFiles();
    AcceptChats(mine);
    const std::string own = SquareBitmap(24, RGB(230, 200, 20));
    GivePicture(mine, "mine.bmp", own);
    RunningProgram program(mine, "");
    HWND main = program.WaitForWindow("MainWindowClassName6");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    const std::string otherPort = std::to_string(other.ListenPort());
    // A note sent to the other program first, as the start of the talk.
    { ForwardedRequest send(main, 1, "127.0.0.1:" + otherPort + "!#%@Shall we talk?"); }
    HWND note = NoteWhoseTextHas(program.ProcessId(), "Shall we talk?");
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return SendStripText(note) == "Sent to 127.0.0.1."; })) << SendStripText(note);

    // The chat is started from the send dialog with the other program.
    PostMessageA(note, WM_COMMAND, kSendToCommand, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindTopWindowTitled("#32770", "Send note", program.ProcessId())); }));
    SendWithTimeout(GetDlgItem(dialog, IDC_SEND_ADDRESS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("127.0.0.1"));
    SendWithTimeout(GetDlgItem(dialog, IDC_SEND_PORT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(otherPort.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDC_SEND_CHAT, 0);
    HWND strip = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (strip = FindWindowExA(note, nullptr, "QnChatStrip", nullptr)) != nullptr; }));
    // The other program's button, named by the address it was chosen by, shows
    // the picture the other program sent when it joined; it has this one's.
    HWND otherButton = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        otherButton = FindWindowExA(strip, nullptr, "Button", "127.0.0.1");
        return otherButton && (GetWindowLongA(otherButton, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
    }));
    EXPECT_EQ(ReadWholeFile(mine.File("CHAT\\theirs.bmp")), theirs);
    EXPECT_EQ(ReadWholeFile(other.File("CHAT\\mine.bmp")), own);

    // A line said here.
    HWND input = FindWindowExA(strip, nullptr, "Edit", nullptr);
    SendWithTimeout(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("a line for the other side"));
    PostMessageA(input, WM_CHAR, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return ReadWindowText(input).empty(); }));

    // Ending the chat here tells the other side, and forgets the chat here.
    PostMessageA(FindWindowExA(strip, nullptr, "Button", "End chat"), BM_CLICK, 0, 0);
    ShownMessageBox ask = WaitForMessageBox(program.ProcessId());
    ASSERT_NE(ask.window, nullptr);
    ASSERT_TRUE(AnswerMessageBox(ask, IDYES));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(note); }));

    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    ASSERT_TRUE(program.WaitForExit(nullptr));
    ASSERT_TRUE(peer.Forward("/close"));
    ASSERT_TRUE(peer.WaitForExit());

    // The other side kept its chat note: the started text and the line said,
    // and this program as a participant who has left.
    const std::string kept = ReadWholeFile(other.File("chatnote.QPD"));
    EXPECT_NE(kept.find("Participants=1"), std::string::npos) << kept;
    EXPECT_NE(kept.find("|127.0.0.1|" + std::to_string(mine.ListenPort()) + "|1|mine.bmp"), std::string::npos) << kept;
    StoredNoteList notes = LoadEveryNote(other.Path());
    bool chatKept = false;
    for (const auto& stored : notes)
        chatKept = chatKept || (stored->RichText().find("Shall we talk?") != std::string::npos &&
                                stored->RichText().find("a line for the other side") != std::string::npos);
    EXPECT_TRUE(chatKept);
    EXPECT_FALSE(FileHas(mine.File("chatnote.QPD"), "ChatId"));
}
