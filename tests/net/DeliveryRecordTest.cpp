// A sender records a note as delivered only once the receiving program has
// stored it: the receiver is killed the moment the sender hears that its note
// arrived, and its notes table holds the note. What the receiver does not
// keep is recorded as not delivered, and is not in its table either.
#include "NetDriving.h"
#include "NoteCatcher.h"

#include <gtest/gtest.h>

#include "support/NoteDriving.h"
#include "support/StoredNotes.h"

namespace {
std::string DeliveryWireNote(const std::string& title, const std::string& text)
{
    CWireNote note;
    note.computerName = "PC-ANNA";
    note.title = title;
    const std::string rtf = "{\\rtf1\\ansi " + text + "\\par}";
    return WriteWireText(note, rtf.data(), rtf.size(), nullptr, 0);
}

bool Holds(const StoredNoteList& notes, const std::string& title)
{
    for (const auto& note : notes)
        if (note->m_title == title)
            return true;
    return false;
}

// As a power cut would end it: none of its own code runs.
bool Kill(const RunningProgram& program)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, program.ProcessId());
    const bool ended = process && TerminateProcess(process, 9) && WaitForSingleObject(process, kDriverWaitMs) == 0;
    if (process)
        CloseHandle(process);
    return ended;
}
}

TEST(DeliveryRecord, ANoteIsDeliveredOnlyOnceTheReceiversTableHoldsItAndWhatIsNotKeptIsNot)
{
    WinsockSession winsock;
    ProgramInstall install("keeper");
    install.AddInstalledDataFiles();
    CDestination tooLong = LoopbackRecipient(install.ListenPort());
    CDestination noise = LoopbackRecipient(install.ListenPort());
    CDestination kept = LoopbackRecipient(install.ListenPort());
    {
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
        // More note text than a peer may send within a minute, and bytes that
        // are no note: neither is kept nor recorded as delivered.
        tooLong.m_status = noise.m_status = 1;
        const std::string longText(5 * 1024 * 1024, 'w');
        EXPECT_EQ(TransmitToRecipient(tooLong, DeliveryWireNote("Too long", longText), CTransmitOptions()),
                  TransmitResult::kRefused);
        EXPECT_EQ(TransmitToRecipient(noise, RandomBytes(20000, 9), CTransmitOptions()), TransmitResult::kRefused);
        EXPECT_EQ(tooLong.m_status, 0u);
        EXPECT_EQ(noise.m_status, 0u);

        const TransmitResult result =
            TransmitToRecipient(kept, DeliveryWireNote("Kept", "Stored before it was answered"), CTransmitOptions());
        ASSERT_TRUE(Kill(program));
        ASSERT_EQ(result, TransmitResult::kSent);
        EXPECT_EQ(kept.m_status, 1u);
    }
    const StoredNoteList notes = LoadEveryNote(install.Path());
    EXPECT_TRUE(Holds(notes, "Kept"));
    EXPECT_FALSE(Holds(notes, "Too long"));
    const std::string log = ReadWholeFile(install.File("error.txt"));
    EXPECT_NE(log.find("4 MB of note text within a minute"), std::string::npos) << log;
    EXPECT_NE(log.find(DescribeWireParseResult(WireParseResult::kNoHeaderEnd)), std::string::npos) << log;
}
