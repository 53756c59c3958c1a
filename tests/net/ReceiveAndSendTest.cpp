// Notes sent and received over real sockets on 127.0.0.1: a large note with an
// attachment arrives whole on the port it was sent to, each port stops on its
// own, and a send that cannot arrive is recorded as failed.
#include "NoteCatcher.h"

#include <gtest/gtest.h>

#include "foundation/DataFolder.h"
#include "support/InFolder.h"

namespace {
class ReceiveAndSend : public InFolder {
protected:
    WinsockSession winsock;
    NoteCatcher catcher;
};

std::string MegabyteOfRichText()
{
    std::string rtf = "{\\rtf1\\ansi ";
    for (int line = 0; rtf.size() < 1024 * 1024 - 64; ++line)
        rtf += "line " + std::to_string(line) + " of the note, with } ENDOF rtf tcpip# inside\\par\r\n";
    return rtf + "}";
}

std::string MegabyteOfBytes()
{
    std::string bytes(1024 * 1024, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 2654435761u >> 11);
    return bytes;
}
}

TEST_F(ReceiveAndSend, ALargeNoteArrivesWholeAndEachPortStopsOnItsOwn)
{
    ScopedListener first(catcher.Window(), 1);
    ScopedListener second(catcher.Window(), 2);
    ASSERT_NE(first.record.m_port, 0u);

    CWireNote note;
    note.computerName = "PC-ANNA";
    note.title = "big one";
    note.hasColours = true;
    note.backColour = 0x00C0FFFF;
    note.attachedFileName = "plan.bin";
    std::string rtf = MegabyteOfRichText();
    std::string attachment = MegabyteOfBytes();
    std::string wire = WriteWireText(note, rtf.data(), rtf.size(), attachment.data(), attachment.size());

    std::vector<size_t> progress;
    CTransmitOptions options;
    options.progress = [&](size_t sent, size_t total) { progress.push_back(total - sent); };
    CDestination recipient = LoopbackRecipient(first.record.m_port);
    ASSERT_EQ(catcher.Send(recipient, wire, options), TransmitResult::kSent);
    EXPECT_EQ(recipient.m_status, 1u);
    EXPECT_GE(recipient.m_lastSend.m_year, 2020);
    ASSERT_EQ(progress.size(), (wire.size() + kTransmitChunkBytes - 1) / kTransmitChunkBytes);
    EXPECT_EQ(progress.front(), wire.size() - kTransmitChunkBytes);
    EXPECT_EQ(progress.back(), 0u);

    const CaughtMessage* big = catcher.WaitForNote("big one");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->port, 1);
    EXPECT_EQ(big->peer, "127.0.0.1");
    EXPECT_TRUE(big->message.note == note);
    EXPECT_TRUE(big->message.richText == rtf);
    EXPECT_TRUE(big->attachment == attachment);
    // The receive thread removes its file once the note has been handed over.
    EXPECT_TRUE(catcher.WaitUntil([] { return !FileExists(DataFilePath(DataName::kPort1ReceiveFile)); }, 10000));

    // A small note goes in one piece, to the second port.
    progress.clear();
    CDestination toSecond = LoopbackRecipient(second.record.m_port);
    ASSERT_EQ(catcher.Send(toSecond, SmallWireText("small"), options), TransmitResult::kSent);
    EXPECT_TRUE(progress.empty());
    const CaughtMessage* small = catcher.WaitForNote("small");
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->port, 2);
    EXPECT_FALSE(small->message.hasAttachment);

    // Stopping the first port leaves the second listening.
    DWORD firstPort = first.record.m_port;
    ASSERT_TRUE(StopListening(first.record));
    EXPECT_EQ(second.record.m_receiveStopFlag, 0);
    ASSERT_EQ(catcher.Send(toSecond, SmallWireText("still there"), options), TransmitResult::kSent);
    EXPECT_NE(catcher.WaitForNote("still there"), nullptr);

    // Nothing listens on the first port now: the send is recorded as failed,
    // and goes through once the port listens again.
    CDestination retried = LoopbackRecipient(firstPort);
    retried.m_status = 1;
    EXPECT_EQ(catcher.Send(retried, SmallWireText("retried"), options), TransmitResult::kConnectFailed);
    EXPECT_EQ(retried.m_status, 0u);
    ScopedListener again(catcher.Window(), 1, 32 * 1024 * 1024, 30000, firstPort);
    EXPECT_EQ(catcher.Send(retried, SmallWireText("retried"), options), TransmitResult::kSent);
    EXPECT_EQ(retried.m_status, 1u);
    EXPECT_NE(catcher.WaitForNote("retried"), nullptr);
}

TEST_F(ReceiveAndSend, FailuresAreNamedAndNeverRecordedAsSent)
{
    ScopedListener taken(catcher.Window(), 1);
    CPortRecord clash;
    clash.m_port = taken.record.m_port;
    clash.m_bindAddress = INADDR_LOOPBACK;
    try {
        ListenOnPortThreadNew(catcher.Window(), clash);
        ADD_FAILURE() << "a port in use was taken again";
        StopListening(clash);
    } catch (const CGenericException& failure) {
        EXPECT_STREQ(failure.GetErrorText(), "ListenOnPortThreadNew(),bind() failed");
        EXPECT_EQ(clash.m_socket, INVALID_SOCKET);
        EXPECT_EQ(clash.m_thread, nullptr);
    }

    // Listening again on another port leaves the old one.
    DWORD oldPort = taken.record.m_port;
    taken.record.m_port = 0;
    ListenOnPortThreadNew(catcher.Window(), taken.record);
    ASSERT_NE(taken.record.m_port, oldPort);
    CTransmitOptions options;
    CDestination old = LoopbackRecipient(oldPort);
    EXPECT_EQ(catcher.Send(old, SmallWireText("old port"), options), TransmitResult::kConnectFailed);

    CDestination nowhere("", "", "", "", "", 1, 0, 0, 0, taken.record.m_port, 1);
    EXPECT_EQ(catcher.Send(nowhere, SmallWireText("x"), options), TransmitResult::kNoAddress);
    EXPECT_EQ(nowhere.m_status, 0u);

    // A recipient with an e-mail address goes through the e-mail hook.
    CDestination mailed("", "", "", "ben@example.com", "", 1, 0, 0, 0, 25, 1);
    EXPECT_EQ(catcher.Send(mailed, SmallWireText("x"), options), TransmitResult::kNoEmailSender);
    EXPECT_EQ(mailed.m_status, 0u);
    std::string mailedTo;
    options.sendEmail = [&](CDestination& recipient) {
        mailedTo = recipient.m_email;
        return true;
    };
    EXPECT_EQ(catcher.Send(mailed, SmallWireText("x"), options), TransmitResult::kSent);
    EXPECT_EQ(mailedTo, "ben@example.com");
    EXPECT_EQ(mailed.m_status, 1u);

    // A program that is closing ends a send at once.
    volatile LONG closing = 1;
    options.stopFlag = &closing;
    CDestination stopped = LoopbackRecipient(taken.record.m_port);
    std::string big(3 * 1024 * 1024, 'x');
    EXPECT_EQ(catcher.Send(stopped, big, options), TransmitResult::kStopped);
    EXPECT_EQ(stopped.m_status, 0u);
    // Whatever part of it went out was cut off, not handed over as a message.
    options.stopFlag = nullptr;
    EXPECT_EQ(catcher.Send(stopped, SmallWireText("after"), options), TransmitResult::kSent);
    ASSERT_NE(catcher.WaitForNote("after"), nullptr);
    EXPECT_EQ(catcher.CountOf(ReceivedMessageKind::kNote), 1u);
}
