// Notes sent and received over real sockets on 127.0.0.1: a large note with an
// attachment arrives whole on the port it was sent to, each port stops on its
// own, and a send that cannot arrive is recorded as failed. What a hostile or
// broken peer may do to a listening port: random bytes, a stream that never
// ends, a huge announcement, a crowd of connections, a peer that goes silent.
// The port survives each, keeps no more than its limit on disk, and the next
// good note still arrives.
#include "NetDriving.h"
#include "NoteCatcher.h"

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "foundation/DataFolder.h"
#include "support/InFolder.h"

namespace {
class ReceiveAndSend : public InFolder {
protected:
    // The good note that must get through after each attack.
    void ExpectGoodNoteArrives(const ScopedListener& port, const std::string& title)
    {
        CDestination recipient = LoopbackRecipient(port.record.m_port);
        EXPECT_EQ(catcher.Send(recipient, SmallWireText(title), CTransmitOptions()), TransmitResult::kSent) << title;
        EXPECT_NE(catcher.WaitForNote(title, 120000), nullptr) << title;
    }

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

// A plain client socket, blocking, whose sends give up after a few seconds.
class RawPeer {
public:
    explicit RawPeer(DWORD port) : m_socket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP))
    {
        DWORD sendTimeoutMs = 5000;
        setsockopt(m_socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendTimeoutMs),
                   sizeof sendTimeoutMs);
        LoopbackAddress address(port);
        connected = connect(m_socket, address.Get(), sizeof address) == 0;
    }
    ~RawPeer() { closesocket(m_socket); }
    bool Send(const std::string& bytes)
    {
        return send(m_socket, bytes.data(), static_cast<int>(bytes.size()), 0) == static_cast<int>(bytes.size());
    }
    void FinishSending() { shutdown(m_socket, SD_SEND); }
    // True when the other side has closed or reset the connection.
    bool WasDropped(DWORD timeoutMs)
    {
        char byte;
        return Readable(m_socket, static_cast<long>(timeoutMs) * 1000) && recv(m_socket, &byte, 1, 0) <= 0;
    }

    bool connected = false;

private:
    SOCKET m_socket;
};

DWORD FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
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
    std::string attachment = RandomBytes(1024 * 1024, 7);
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
    EXPECT_TRUE(WaitUntil([] { return !FileExists(DataFilePath(DataName::kPort1ReceiveFile)); }, 10000));

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

    // A recipient with an e-mail address needs the e-mail hook (which the
    // e-mail tests give).
    CDestination mailed("", "", "", "ben@example.com", "", 1, 0, 0, 0, 25, 1);
    EXPECT_EQ(catcher.Send(mailed, SmallWireText("x"), options), TransmitResult::kNoEmailSender);
    EXPECT_EQ(mailed.m_status, 0u);

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

TEST_F(ReceiveAndSend, APortSurvivesEveryAttackTheNextNoteArrivesAndClosingEndsASilentPeersReceive)
{
    const DWORD sizeLimit = 4 * 1024 * 1024;
    ScopedListener port(catcher.Window(), 1, sizeLimit, 1000);
    // A probe under 50 bytes is passed over; random bytes are handed over
    // whole, and refused by the reader.
    {
        RawPeer probe(port.record.m_port);
        EXPECT_TRUE(probe.Send(std::string(kWireHeaderEnd) + "{rtf}" + kWireRichTextEnd));
        probe.FinishSending();
        ExpectGoodNoteArrives(port, "after a probe");
    }
    EXPECT_EQ(catcher.CountOf(ReceivedMessageKind::kIgnored), 1u);
    {
        RawPeer peer(port.record.m_port);
        ASSERT_TRUE(peer.connected);
        EXPECT_TRUE(peer.Send(RandomBytes(20000, 1)));
        peer.FinishSending();
        ExpectGoodNoteArrives(port, "after random bytes");
    }
    EXPECT_EQ(catcher.CountOf(ReceivedMessageKind::kRefused), 1u);

    // A stream that never ends is cut off at the size limit; the file never
    // grows past it.
    std::atomic<bool> streamEnded{false};
    std::atomic<bool> streamRefused{false};
    std::atomic<DWORD> largestFile{0};
    std::thread stream([&] {
        RawPeer peer(port.record.m_port);
        std::string block = RandomBytes(64 * 1024, 2);
        std::string file = DataFilePath(DataName::kPort1ReceiveFile);
        for (DWORD sent = 0; peer.connected && sent < 8 * sizeLimit; sent += static_cast<DWORD>(block.size())) {
            if (!peer.Send(block)) {
                streamRefused = true;
                break;
            }
            DWORD size = FileSize(file);
            if (size > largestFile)
                largestFile = size;
        }
        streamEnded = true;
    });
    EXPECT_TRUE(WaitUntil([&] { return streamEnded.load(); }, 120000));
    stream.join();
    EXPECT_TRUE(streamRefused);
    EXPECT_LE(largestFile, sizeLimit);
    ExpectGoodNoteArrives(port, "after an endless stream");

    // A header announcing 100 MB that never come.
    {
        RawPeer peer(port.record.m_port);
        std::string announcement = "Version=1#\r\nTitle=liar#\r\nRtfBytes=5#\r\nAttachedBytes=104857600#\r\n" +
                                   std::string(kWireHeaderEnd) + "{rtf}" + kWireRichTextEnd + kWireAttachmentMark +
                                   RandomBytes(65536, 3);
        EXPECT_TRUE(peer.Send(announcement));
        peer.FinishSending();
        ExpectGoodNoteArrives(port, "after a false announcement");
    }
    ASSERT_EQ(catcher.CountOf(ReceivedMessageKind::kRefused), 2u);
    EXPECT_EQ(catcher.caught.back().message.kind, ReceivedMessageKind::kNote);
    bool refusedAnnouncement = false;
    for (const CaughtMessage& c : catcher.caught)
        refusedAnnouncement |= c.message.parseResult == WireParseResult::kAttachmentIncomplete;
    EXPECT_TRUE(refusedAnnouncement);

    // A thousand connections opened at once and dropped.
    {
        std::vector<SOCKET> crowd;
        LoopbackAddress address(port.record.m_port);
        for (int i = 0; i < 1000; ++i) {
            SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            if (s == INVALID_SOCKET)
                break;
            u_long nonBlocking = 1;
            ioctlsocket(s, FIONBIO, &nonBlocking);
            connect(s, address.Get(), sizeof address);
            crowd.push_back(s);
        }
        EXPECT_EQ(crowd.size(), 1000u);
        for (SOCKET s : crowd)
            closesocket(s);
    }
    ExpectGoodNoteArrives(port, "after a crowd");

    // A peer that says a little and then nothing is dropped after the stall
    // timeout; the note waiting behind it gets through.
    {
        RawPeer silent(port.record.m_port);
        ASSERT_TRUE(silent.connected);
        EXPECT_TRUE(silent.Send("Version=1#\r\nTitle=slow#\r\n"));
        ExpectGoodNoteArrives(port, "after a silent peer");
        EXPECT_TRUE(silent.WasDropped(10));
    }

    EXPECT_EQ(catcher.CountOf(ReceivedMessageKind::kNote), 6u);
    std::string log = ReadWholeFile(DataFilePath(DataName::kErrorLog));
    EXPECT_NE(log.find("passed the size limit"), std::string::npos);
    EXPECT_NE(log.find("sent nothing for too long"), std::string::npos);
    EXPECT_TRUE(WaitUntil([] { return !FileExists(DataFilePath(DataName::kPort1ReceiveFile)); }, 10000));

    // A silent peer would hold this port for half a minute; stopping the port
    // must not wait for that.
    const size_t caught = catcher.caught.size();
    ScopedListener patient(catcher.Window(), 2, sizeLimit, 30000);
    RawPeer silent(patient.record.m_port);
    ASSERT_TRUE(silent.connected);
    EXPECT_TRUE(silent.Send("Version=1#\r\n"));
    ASSERT_TRUE(WaitUntil([] { return FileExists(DataFilePath(DataName::kPort2ReceiveFile)); }, 10000));
    EXPECT_TRUE(StopListening(patient.record));
    EXPECT_EQ(patient.record.m_receiveStopFlag, 0);
    EXPECT_FALSE(FileExists(DataFilePath(DataName::kPort2ReceiveFile)));
    EXPECT_EQ(catcher.caught.size(), caught);
}
