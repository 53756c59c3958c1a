// Two running programs on one computer, each in a Wine prefix of its own,
// over 127.0.0.1: a note sent from one appears on the other with its text,
// looks, sender and attached file, and both sides remember the other. A chat
// started on the first becomes a chat note on the other, with each side's
// avatar on its participant's button there; a line said reaches it, and when
// the first ends the chat the other marks it as having left and keeps its
// chat note, participants and lines. A note that arrives while another
// program holds the recipient's notes file stays shown there and goes into
// its rescue backup at once, and its sender records it as sent: after a
// crash of the recipient the next start's offer brings it back, once.
#include "NetDriving.h"

#include <gtest/gtest.h>

#include "foundation/bytes/GenericException.h"
#include "resources/ids/SendNoteIds.h"
#include "globals/MainWindowMessages.h"
#include "store/DbfFile.h"
#include "store/TableText.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/PeerPrefix.h"
#include "support/PictureFiles.h"
#include "support/RescueFiles.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/TempFolder.h"
#include "support/TextChecks.h"

namespace {
// Whether a row of the install's "sentto.QPD" names the computer (when given)
// at 127.0.0.1 (on the port, when given).
bool KnowsPeer(const ProgramInstall& install, const std::string& name, long port)
{
    CDbfFile table;
    table.SetTable(install.File("sentto.QPD").c_str(), true);
    table.Open("READ");
    bool known = false;
    for (table.GoTop(); !table.IsEOF(); table.Skip(1))
        known = known || ((name.empty() || ReadTrimmedText(table, "SZDESTINAT") == name) &&
                          ReadTrimmedText(table, "SZIPADDR") == "127.0.0.1" &&
                          (!port || table.GetLongValue("PORT") == port));
    table.Close();
    return known;
}

// The install's delivery record of a note to the port on 127.0.0.1, as its
// "transact.QPD" holds it: 1 sent, 0 not sent, -1 none (yet).
int DeliveryTo(const ProgramInstall& install, long port)
{
    int status = -1;
    try {
        CDbfFile table;
        table.SetTable(install.File("transact.QPD").c_str(), true);
        table.Open("READ");
        for (table.GoTop(); !table.IsEOF(); table.Skip(1)) {
            if (ReadTrimmedText(table, "SZIPADDR") == "127.0.0.1" && table.GetLongValue("PORT") == port)
                status = table.GetLogicalValue("BSTATUS") ? 1 : 0;
        }
        table.Close();
    } catch (const CGenericException&) {
        // Read while the other program writes it: looked at again.
    }
    return status;
}

// The user's picture: the only one in the install's CHAT folder.
void GivePicture(const ProgramInstall& install, const char* name, const std::string& picture)
{
    CreateDirectoryA(install.File("CHAT").c_str(), nullptr);
    WriteWholeFile(install.File(std::string("CHAT\\") + name), picture);
}
}

TEST(TwoPrograms, ANoteAndAChatFromOneAppearOnTheOtherWithLooksSenderAttachmentAndAvatars)
{
    ProgramInstall receiver("receiver");
    receiver.AddInstalledDataFiles();
    AcceptChats(receiver);
    const std::string theirs = SquareBitmap(24, RGB(30, 90, 200));
    GivePicture(receiver, "theirs.bmp", theirs);
    PeerProgram peer(receiver, "");
    ASSERT_TRUE(peer.WaitFor([&] { return PortAcceptsConnections(receiver.ListenPort()); })) << peer.Trouble();

    ProgramInstall sender("sender");
    sender.AddInstalledDataFiles();
    AcceptChats(sender);
    const std::string own = SquareBitmap(24, RGB(230, 200, 20));
    GivePicture(sender, "mine.bmp", own);
    const std::string attachment = RandomBytes(1024 * 1024, 5);
    WriteWholeFile(sender.File("photo.bin"), attachment);
    RunningProgram program(sender, "");
    const DWORD process = program.ProcessId();
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const std::string otherPort = std::to_string(receiver.ListenPort());
    RequestSend(main, Loopback(receiver.ListenPort()) + "!#%@Hello over there!#%@" + sender.File("photo.bin"));
    RequestSend(main, Loopback(receiver.ListenPort()) + "!#%@Shall we talk?");
    HWND hello = NoteHaving(process, "Hello over there");
    HWND note = NoteHaving(process, "Shall we talk?");
    ASSERT_TRUE(hello && note);
    ASSERT_TRUE(WaitUntil([&] { return SendStripText(hello) == "Sent to 127.0.0.1."; })) << SendStripText(hello);
    ASSERT_TRUE(WaitUntil([&] { return SendStripText(note) == "Sent to 127.0.0.1."; })) << SendStripText(note);

    // The chat is started from the send dialog with the other program.
    HWND dialog = OpenSendDialog(note, process);
    ASSERT_NE(dialog, nullptr);
    TypeInto(dialog, IDC_SEND_ADDRESS, "127.0.0.1");
    TypeInto(dialog, IDC_SEND_PORT, otherPort);
    PostMessageA(dialog, WM_COMMAND, IDC_SEND_CHAT, 0);
    HWND strip = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (strip = FindWindowExA(note, nullptr, "QnChatStrip", nullptr)) != nullptr; }));
    // The other program's button, named by the address it was chosen by, shows
    // the picture the other program sent when it joined; it has this one's.
    EXPECT_TRUE(WaitUntil([&] { return ShowsPicture(note, "127.0.0.1"); }));
    EXPECT_EQ(ReadWholeFile(sender.File("CHAT\\theirs.bmp")), theirs);
    EXPECT_EQ(ReadWholeFile(receiver.File("CHAT\\mine.bmp")), own);

    // A line said here.
    HWND input = FindWindowExA(strip, nullptr, "Edit", nullptr);
    SendWithTimeout(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("a line for the other side"));
    PostMessageA(input, WM_CHAR, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return ReadWindowText(input).empty(); }));

    // Ending the chat here tells the other side, and forgets the chat here.
    PostMessageA(FindWindowExA(strip, nullptr, "Button", "End chat"), BM_CLICK, 0, 0);
    ShownMessageBox ask = WaitForMessageBox(process);
    ASSERT_NE(ask.window, nullptr);
    ASSERT_TRUE(AnswerMessageBox(ask, IDYES));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(note); }));

    ExitProgram(program, main);
    ASSERT_TRUE(peer.Forward("/close")) << peer.Trouble();
    ASSERT_TRUE(peer.WaitForExit());
    EXPECT_EQ(peer.ShownBox(), "");

    const StoredNoteList sent = LoadEveryNote(sender.Path());
    const CNoteController* original = StoredNoteHaving(sent, "Hello over there");
    ASSERT_NE(original, nullptr);
    const StoredNoteList received = LoadEveryNote(receiver.Path());
    const CNoteController* first = StoredNoteHaving(received, "Hello over there");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(first->m_receivedFrom), ThisComputer());
    EXPECT_EQ(first->m_bodyColor, original->m_bodyColor);
    EXPECT_EQ(first->m_textColor, original->m_textColor);
    EXPECT_EQ(std::string(first->m_title), std::string(original->m_title));
    EXPECT_TRUE(ReadWholeFile(receiver.File("ATTACHED\\photo.bin")) == attachment);
    // Each side knows the other: the receiver the sender's computer, the
    // sender the receiver's address and port.
    EXPECT_TRUE(KnowsPeer(receiver, ThisComputer().substr(0, 16), 0));
    EXPECT_TRUE(KnowsPeer(sender, "", receiver.ListenPort()));

    // The other side kept its chat note: the started text and the line said,
    // and this program as a participant who has left.
    const std::string kept = ReadWholeFile(receiver.File("chatnote.QPD"));
    EXPECT_NE(kept.find("Participants=1"), std::string::npos) << kept;
    EXPECT_NE(kept.find("|127.0.0.1|" + std::to_string(sender.ListenPort()) + "|1|mine.bmp"), std::string::npos)
        << kept;
    const CNoteController* chat = StoredNoteHaving(received, "a line for the other side");
    ASSERT_NE(chat, nullptr);
    EXPECT_NE(chat->RichText().find("Shall we talk?"), std::string::npos);
    const std::string mine = sender.File("chatnote.QPD");
    EXPECT_TRUE(!FileExists(mine) || ReadWholeFile(mine).find("ChatId") == std::string::npos);
}

TEST(TwoPrograms, ANoteTheRecipientCannotStoreIsShownKeptInItsRescueBackupAndRecordedAsSent)
{
    const std::string text = "Sent while the notes file was held";
    ProgramInstall sender("sender");
    sender.AddInstalledDataFiles();
    PeerProgram peer(sender, "");
    ASSERT_TRUE(peer.WaitFor([&] { return PortAcceptsConnections(sender.ListenPort()); })) << peer.Trouble();

    ProgramInstall receiver("receiver");
    receiver.AddInstalledDataFiles();
    // No timed save comes before the crash.
    SetAutoSaveInterval(receiver.Path(), 60);
    const long port = receiver.ListenPort();
    std::string rescue;
    {
        RunningProgram program(receiver, "");
        const DWORD process = program.ProcessId();
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(receiver.ListenPort()); }));
        HeldFile holder(receiver.File("notes.qps"), kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());

        // The sender's program sends from a second start in its prefix.
        ASSERT_TRUE(peer.Forward("/send " + Loopback(receiver.ListenPort()) + " '" + text + "'")) << peer.Trouble();
        HWND note = NoteHaving(process, text);
        ASSERT_NE(note, nullptr);
        // The sender hears that it arrived once the rescue backup holds it.
        ASSERT_TRUE(WaitUntil([&] { return DeliveryTo(sender, port) != -1; }));
        EXPECT_EQ(DeliveryTo(sender, port), 1);
        const std::vector<std::string> rescues = FileNamesMatching(receiver.File("BACKUP\\Unstored *.QPK"));
        ASSERT_EQ(rescues.size(), 1u);
        rescue = rescues[0];
        EXPECT_TRUE(Contains(ReadWholeFile(receiver.File("BACKUP\\" + rescue)), text));
        EXPECT_EQ(RescueMarksIn(receiver.File("BACKUP")).size(), 1u);
        EXPECT_TRUE(Contains(ReadWholeFile(receiver.File("error.txt")),
                             "A received note could not be stored: it is kept in " + receiver.File("BACKUP\\" + rescue) +
                                 " until a save stores it, and its sender is told that it arrived\r\n"));
        EXPECT_TRUE(IsWindowVisible(note));
        SetWindowPos(note, nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(SaveScreenshotOf(note, "ReceivedWhileTheNotesFileWasHeld"));
        program.EndAsACrash();
    }
    EXPECT_EQ(StoredNoteHaving(LoadEveryNote(receiver.Path()), text), nullptr) << "the crash came before a save";

    // The sender has it as sent to the recipient, and sends nothing again.
    ASSERT_TRUE(peer.Forward("/close")) << peer.Trouble();
    ASSERT_TRUE(peer.WaitForExit());
    EXPECT_EQ(peer.ShownBox(), "");
    EXPECT_EQ(DeliveryTo(sender, port), 1);
    const StoredNoteList sent = LoadEveryNote(sender.Path());
    const CNoteController* original = StoredNoteHaving(sent, text);
    ASSERT_NE(original, nullptr);
    EXPECT_TRUE(original->m_sent);
    EXPECT_STREQ(original->m_lastSentTo, "127.0.0.1");

    // The recipient's next start offers the rescue backup; its Yes brings
    // the note back, once.
    TakeTheRescueOfferedAtStart(receiver, rescue);
    size_t copies = 0;
    for (const auto& note : LoadEveryNote(receiver.Path()))
        copies += Contains(note->RichText(), text) ? 1 : 0;
    EXPECT_EQ(copies, 1u);
}
