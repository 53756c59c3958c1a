// Two running programs on one computer, each in a session of its own: a note
// sent from one over 127.0.0.1 appears on the other with its text, looks,
// sender and attached file, and both sides remember the other.
#include "SendLoopback.h"

#include <gtest/gtest.h>

#include <memory>

#include "net/DestinationLists.h"
#include "net/SentToTable.h"
#include "note/NoteController.h"
#include "shell/MainWindowMessages.h"
#include "store/DbfFile.h"
#include "store/NotesLoader.h"
#include "store/TableText.h"
#include "support/CurrentFolder.h"
#include "support/PeerPrefix.h"
#include "support/ProgramDriver.h"
#include "support/StoredNotes.h"

namespace {
using Notes = StoredNoteList;


const CNoteController* NoteWith(const Notes& notes, const std::string& part)
{
    for (const auto& note : notes)
        if (note->RichText().find(part) != std::string::npos)
            return note.get();
    return nullptr;
}

struct SentToRow {
    std::string name;
    std::string address;
    long port = 0;
};

std::vector<SentToRow> SentToRows(const ProgramInstall& install)
{
    std::vector<SentToRow> rows;
    CDbfFile table;
    table.SetTable(install.File("sentto.QPD").c_str(), true);
    table.Open("READ");
    for (table.GoTop(); !table.IsEOF(); table.Skip(1))
        rows.push_back({ReadTrimmedText(table, "SZDESTINAT"), ReadTrimmedText(table, "SZIPADDR"),
                        table.GetLongValue("PORT")});
    table.Close();
    return rows;
}

std::string ThisComputer()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof name;
    GetComputerNameA(name, &size);
    return name;
}
}

TEST(TwoPrograms, ANoteSentFromOneAppearsOnTheOtherWithItsLooksSenderAndAttachment)
{
    ProgramInstall receiver("receiver");
    receiver.AddInstalledDataFiles();
    PeerProgram peer(receiver, "");
    ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(receiver.ListenPort()) || !peer.IsRunning(); },
                          kPeerPrefixWaitMs));
    ASSERT_TRUE(peer.IsRunning());

    ProgramInstall sender("sender");
    sender.AddInstalledDataFiles();
    std::string attachment(1024 * 1024, '\0');
    for (size_t i = 0; i < attachment.size(); ++i)
        attachment[i] = static_cast<char>(i * 2654435761u >> 13);
    WriteWholeFile(sender.File("photo.bin"), attachment);
    RunningProgram program(sender, "");
    HWND main = program.WaitForWindow("MainWindowClassName6");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    const std::string destination = "127.0.0.1:" + std::to_string(receiver.ListenPort());
    { ForwardedRequest send(main, 1, destination + "!#%@Hello over there!#%@" + sender.File("photo.bin")); }
    HWND note = NoteWhoseTextHas(program.ProcessId(), "Hello over there");
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return SendStripText(note) == "Sent to 127.0.0.1."; })) << SendStripText(note);

    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    ASSERT_TRUE(program.WaitForExit(nullptr));
    ASSERT_TRUE(peer.Forward("/close"));
    ASSERT_TRUE(peer.WaitForExit());

    const Notes sent = LoadEveryNote(sender.Path());
    const CNoteController* original = NoteWith(sent, "Hello over there");
    ASSERT_NE(original, nullptr);
    const Notes received = LoadEveryNote(receiver.Path());
    const CNoteController* first = NoteWith(received, "Hello over there");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(first->m_receivedFrom), ThisComputer());
    EXPECT_EQ(first->m_bodyColor, original->m_bodyColor);
    EXPECT_EQ(first->m_textColor, original->m_textColor);
    EXPECT_EQ(std::string(first->m_title), std::string(original->m_title));
    EXPECT_TRUE(ReadWholeFile(receiver.File("ATTACHED\\photo.bin")) == attachment);

    // Each side knows the other: the receiver the sender's computer, the
    // sender the receiver's address and port.
    bool senderKnown = false;
    for (const SentToRow& row : SentToRows(receiver))
        senderKnown = senderKnown || (row.name == ThisComputer().substr(0, 16) && row.address == "127.0.0.1");
    EXPECT_TRUE(senderKnown);
    bool receiverKnown = false;
    for (const SentToRow& row : SentToRows(sender))
        receiverKnown = receiverKnown || (row.address == "127.0.0.1" && row.port == receiver.ListenPort());
    EXPECT_TRUE(receiverKnown);
}
