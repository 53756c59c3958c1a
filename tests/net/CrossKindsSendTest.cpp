// The two kinds of program (32 and 64 bits), each in a Wine prefix of its
// own, over 127.0.0.1: a note with a file sent from either arrives whole on
// the other, its text, looks and sender with it, and both sides remember the
// other.
#include "NetDriving.h"

#include <gtest/gtest.h>

#include "support/NoteDriving.h"
#include "support/OtherKind.h"
#include "support/PeerPrefix.h"
#include "support/StoredNotes.h"

namespace {
// The received note matches the sent one in what the wire carries.
void ExpectArrivedWhole(const CNoteController* sent, const CNoteController* received)
{
    ASSERT_NE(sent, nullptr);
    ASSERT_NE(received, nullptr);
    EXPECT_EQ(std::string(received->m_receivedFrom), ThisComputer());
    EXPECT_EQ(received->m_bodyColor, sent->m_bodyColor);
    EXPECT_EQ(received->m_textColor, sent->m_textColor);
    EXPECT_EQ(std::string(received->m_title), std::string(sent->m_title));
}
}

TEST(CrossKinds, ANoteWithAFileSentFromEitherKindArrivesWholeOnTheOther)
{
    SKIP_UNLESS_OTHER_KIND_RUNS();
    const std::string fromOwn = "From the " + std::to_string(OwnKindBits()) + "-bit program under test";
    const std::string fromOther = "From the " + std::to_string(OtherKindBits()) + "-bit program beside it";

    ProgramInstall other("other");
    other.AddInstalledDataFiles();
    UseOtherKindProgram(other);
    const std::string toOwn = RandomBytes(300 * 1024, 11);
    WriteWholeFile(other.File("to-own.bin"), toOwn);
    PeerProgram peer(other, "", OtherKindBits());
    ASSERT_TRUE(peer.WaitFor([&] { return PortAcceptsConnections(other.ListenPort()); })) << peer.Trouble();

    ProgramInstall own("own");
    own.AddInstalledDataFiles();
    const std::string toOther = RandomBytes(300 * 1024, 12);
    WriteWholeFile(own.File("to-other.bin"), toOther);
    RunningProgram program(own, "");
    const DWORD process = program.ProcessId();
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);

    RequestSend(main, Loopback(other.ListenPort()) + "!#%@" + fromOwn + "!#%@" + own.File("to-other.bin"));
    HWND sent = NoteHaving(process, fromOwn);
    ASSERT_NE(sent, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return SendStripText(sent) == "Sent to 127.0.0.1."; })) << SendStripText(sent);

    // The other kind sends from a second start in its prefix, which runs in
    // the install's folder: the file is named as it lies there. (The peer's
    // command line goes through a shell: its text is quoted for that shell.)
    ASSERT_TRUE(peer.Forward("/send " + Loopback(own.ListenPort()) + " '" + fromOther + "' to-own.bin"))
        << peer.Trouble();
    EXPECT_NE(NoteHaving(process, fromOther), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(own.File("ATTACHED\\to-own.bin")); }));

    ExitProgram(program, main);
    ASSERT_TRUE(peer.Forward("/close")) << peer.Trouble();
    ASSERT_TRUE(peer.WaitForExit());
    EXPECT_EQ(peer.ShownBox(), "");

    EXPECT_TRUE(ReadWholeFile(other.File("ATTACHED\\to-other.bin")) == toOther);
    EXPECT_TRUE(ReadWholeFile(own.File("ATTACHED\\to-own.bin")) == toOwn);
    const StoredNoteList ownNotes = LoadEveryNote(own.Path());
    const StoredNoteList otherNotes = LoadEveryNote(other.Path());
    ExpectArrivedWhole(StoredNoteHaving(ownNotes, fromOwn), StoredNoteHaving(otherNotes, fromOwn));
    ExpectArrivedWhole(StoredNoteHaving(otherNotes, fromOther), StoredNoteHaving(ownNotes, fromOther));
}
