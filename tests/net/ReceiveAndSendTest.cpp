// Notes sent and received over real sockets on loopback: a large note with an
// attachment arrives whole on the port it was sent to, each port stops on its
// own, and a send that cannot arrive, or that the receiver does not keep, is
// recorded as failed. What a hostile or broken peer may do to a listening
// port: random bytes, a stream that never ends, a huge announcement, a crowd
// of connections, a peer that goes silent or trickles, more than its share.
// The port survives each, refuses what passes its bounds with the reason in
// the log, and a good note from another peer still arrives meanwhile.
#include "NetDriving.h"
#include "NoteCatcher.h"

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "foundation/DataFolder.h"
#include "net/bytes/ReceiveBudget.h"
#include "net/bytes/ReceiverAnswer.h"
#include "globals/MainWindowMessages.h"
#include "support/InFolder.h"

namespace {
class ReceiveAndSend : public InFolder {
protected:
    // The good note that must get through after each attack.
    void ExpectGoodNoteArrives(const ScopedListener& port, const std::string& title)
    {
        ExpectGoodNoteArrives(port.record.m_port, title);
    }
    void ExpectGoodNoteArrives(DWORD port, const std::string& title)
    {
        CDestination recipient = LoopbackRecipient(port);
        EXPECT_EQ(catcher.Send(recipient, SmallWireText(title), CTransmitOptions()), TransmitResult::kSent) << title;
        EXPECT_NE(catcher.WaitForNote(title, 120000), nullptr) << title;
    }

    void TearDown() override { SetReceiveLimits(CReceiveLimits()); }

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

bool LogHolds(const std::string& part)
{
    return ReadWholeFile(DataFilePath(DataName::kErrorLog)).find(part) != std::string::npos;
}

// A window on a thread of its own that takes no message until told to: a
// connection handing it a note cannot end before then.
class BusyWindow {
public:
    BusyWindow()
    {
        m_thread = std::thread([this] {
            m_window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
            m_ready = true;
            // Looks at its queue without taking anything from it.
            while (!m_free) {
                if (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE)
                    m_waiting = true;
                Sleep(10);
            }
            for (MSG message; !m_done && GetMessageA(&message, nullptr, 0, 0) > 0;)
                DispatchMessageA(&message);
            DestroyWindow(m_window);
        });
        WaitUntil([&] { return m_ready.load(); });
    }
    ~BusyWindow()
    {
        m_free = true;
        m_done = true;
        PostMessageA(m_window, WM_NULL, 0, 0);
        m_thread.join();
    }
    HWND Window() const { return m_window; }
    bool HasMessageWaiting() const { return m_waiting; }
    void Free() { m_free = true; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return message == kMsgMessageReceived ? 1 : DefWindowProcA(window, message, wParam, lParam);
    }
    std::thread m_thread;
    HWND m_window = nullptr;
    std::atomic<bool> m_ready{false}, m_waiting{false}, m_free{false}, m_done{false};
};
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
    EXPECT_TRUE(big->message.attachment == attachment);

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

TEST_F(ReceiveAndSend, BothPortsStopTogetherWhileASilentPeerHoldsEachAndListenAgainOnTheirNumbers)
{
    struct TwoPorts {
        CPortRecord ports[2];
        ~TwoPorts() { StopListening(ports, 2); }
    } two;
    DWORD numbers[2];
    for (int i = 0; i < 2; ++i) {
        two.ports[i].m_portNumber = i + 1;
        two.ports[i].m_bindAddress = INADDR_LOOPBACK;
        ListenOnPortThreadNew(catcher.Window(), two.ports[i]);
        numbers[i] = two.ports[i].m_port;
    }
    // Each port has a connection that waits on its peer.
    RawPeer first(numbers[0]);
    RawPeer second(numbers[1]);
    ASSERT_TRUE(first.connected && second.connected);
    EXPECT_TRUE(first.Send("Version=1#\r\n"));

    EXPECT_TRUE(StopListening(two.ports, 2));
    for (const CPortRecord& port : two.ports) {
        EXPECT_EQ(port.m_thread, nullptr);
        EXPECT_EQ(port.m_socket, INVALID_SOCKET);
        EXPECT_EQ(port.m_receiveStopFlag, 0);
    }
    EXPECT_TRUE(first.WasDropped(kDriverWaitMs));
    EXPECT_TRUE(second.WasDropped(kDriverWaitMs));
    EXPECT_FALSE(PortAcceptsConnections(static_cast<unsigned short>(numbers[0])));
    EXPECT_FALSE(PortAcceptsConnections(static_cast<unsigned short>(numbers[1])));
    EXPECT_TRUE(StopListening(two.ports, 2)) << "stopping stopped ports is harmless";

    for (int i = 0; i < 2; ++i) {
        ListenOnPortThreadNew(catcher.Window(), two.ports[i]);
        EXPECT_EQ(two.ports[i].m_port, numbers[i]);
        ExpectGoodNoteArrives(two.ports[i].m_port, "again " + std::to_string(i));
    }
    EXPECT_EQ(catcher.caught.size(), 2u);
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

    // A note the receiver does not keep is refused, not delivered.
    catcher.refuseNotes = true;
    CDestination refused = LoopbackRecipient(taken.record.m_port);
    refused.m_status = 1;
    EXPECT_EQ(catcher.Send(refused, SmallWireText("not kept"), options), TransmitResult::kRefused);
    EXPECT_EQ(refused.m_status, 0u);
    ASSERT_NE(catcher.WaitForNote("not kept"), nullptr);
    EXPECT_FALSE(catcher.caught.back().kept);
}

TEST_F(ReceiveAndSend, AListenerThatDoesNotStopInTimeKeepsItsRecordUntilItHasEnded)
{
    BusyWindow busy;
    ScopedListener port(busy.Window(), 1);
    port.record.m_stopWaitMs = 300;
    const DWORD number = port.record.m_port;
    // The note's connection waits on a window that takes nothing yet.
    std::atomic<TransmitResult> result{TransmitResult::kStopped};
    std::thread sender([&] {
        CDestination recipient = LoopbackRecipient(number);
        result = TransmitToRecipient(recipient, SmallWireText("held"), CTransmitOptions());
    });
    ASSERT_TRUE(WaitUntil([&] { return busy.HasMessageWaiting(); }));
    const HANDLE thread = port.record.m_thread;
    EXPECT_FALSE(StopListening(port.record));
    EXPECT_EQ(port.record.m_thread, thread);
    EXPECT_EQ(port.record.m_receiveStopFlag, 1);
    // No second thread on the record while the first lives.
    EXPECT_THROW(ListenOnPortThreadNew(catcher.Window(), port.record), CGenericException);
    EXPECT_EQ(port.record.m_thread, thread);
    EXPECT_TRUE(LogHolds("the receive thread did not end in time"));
    busy.Free();
    sender.join();
    EXPECT_EQ(result.load(), TransmitResult::kSent);
    // Once it has ended, the record listens again, with its stop flag clear.
    port.record.m_port = number;
    ASSERT_TRUE(WaitUntil([&] {
        try {
            ListenOnPortThreadNew(catcher.Window(), port.record);
            return true;
        } catch (const CGenericException&) {
            return false;
        }
    }));
    EXPECT_EQ(port.record.m_receiveStopFlag, 0);
    EXPECT_NE(port.record.m_thread, thread);
    ExpectGoodNoteArrives(port, "after a late stop");
}

TEST_F(ReceiveAndSend, APortSurvivesEveryAttackTheNextNoteArrivesAndClosingEndsASilentPeersReceive)
{
    const DWORD sizeLimit = 4 * 1024 * 1024;
    ScopedListener port(catcher.Window(), 1, sizeLimit, 1000);
    CDestination recipient = LoopbackRecipient(port.record.m_port);
    // A probe under 50 bytes, random bytes and a header announcing 100 MB
    // that never come are refused by a reset and never reach the window.
    {
        RawPeer probe(port.record.m_port);
        EXPECT_TRUE(probe.Send(std::string(kWireHeaderEnd) + "{rtf}" + kWireRichTextEnd));
        probe.FinishSending();
        EXPECT_TRUE(probe.WasDropped(kDriverWaitMs));
        ExpectGoodNoteArrives(port, "after a probe");
    }
    EXPECT_EQ(catcher.Send(recipient, RandomBytes(20000, 1), CTransmitOptions()), TransmitResult::kRefused);
    ExpectGoodNoteArrives(port, "after random bytes");
    const std::string announcement = "Version=1#\r\nTitle=liar#\r\nRtfBytes=5#\r\nAttachedBytes=104857600#\r\n" +
                                     std::string(kWireHeaderEnd) + "{rtf}" + kWireRichTextEnd + kWireAttachmentMark +
                                     RandomBytes(65536, 3);
    EXPECT_EQ(catcher.Send(recipient, announcement, CTransmitOptions()), TransmitResult::kRefused);
    ExpectGoodNoteArrives(port, "after a false announcement");

    // A stream that never ends is cut off at the size limit.
    std::atomic<bool> streamEnded{false};
    std::atomic<bool> streamRefused{false};
    std::thread stream([&] {
        RawPeer peer(port.record.m_port);
        std::string block = RandomBytes(64 * 1024, 2);
        for (DWORD sent = 0; peer.connected && sent < 8 * sizeLimit; sent += static_cast<DWORD>(block.size())) {
            if (!peer.Send(block)) {
                streamRefused = true;
                break;
            }
        }
        streamEnded = true;
    });
    EXPECT_TRUE(WaitUntil([&] { return streamEnded.load(); }, 120000));
    stream.join();
    EXPECT_TRUE(streamRefused);
    ExpectGoodNoteArrives(port, "after an endless stream");

    // A thousand connections of another peer opened at once and dropped:
    // those past that peer's share are refused at once.
    {
        std::vector<SOCKET> crowd;
        LoopbackAddress source(0);
        source.sin_addr.s_addr = htonl(kOtherPeer);
        LoopbackAddress address(port.record.m_port);
        for (int i = 0; i < 1000; ++i) {
            SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            if (s == INVALID_SOCKET)
                break;
            u_long nonBlocking = 1;
            ioctlsocket(s, FIONBIO, &nonBlocking);
            bind(s, source.Get(), sizeof source);
            connect(s, address.Get(), sizeof address);
            crowd.push_back(s);
        }
        EXPECT_EQ(crowd.size(), 1000u);
        for (SOCKET s : crowd)
            closesocket(s);
    }
    ExpectGoodNoteArrives(port, "after a crowd");

    // A peer that says a little and then nothing is dropped after the stall
    // timeout.
    {
        RawPeer silent(port.record.m_port);
        ASSERT_TRUE(silent.connected);
        EXPECT_TRUE(silent.Send("Version=1#\r\nTitle=slow#\r\n"));
        ExpectGoodNoteArrives(port, "after a silent peer");
        EXPECT_TRUE(silent.WasDropped(kDriverWaitMs));
    }

    EXPECT_EQ(catcher.caught.size(), 6u);
    EXPECT_EQ(catcher.CountOf(ReceivedMessageKind::kNote), 6u);
    EXPECT_TRUE(LogHolds(DescribeWireParseResult(WireParseResult::kNoHeaderEnd)));
    EXPECT_TRUE(LogHolds(DescribeWireParseResult(WireParseResult::kAttachmentIncomplete)));
    EXPECT_TRUE(LogHolds("passed the size limit"));
    EXPECT_TRUE(LogHolds("sent nothing for too long"));

    // A silent peer would hold this port for half a minute; stopping the port
    // must not wait for that.
    ScopedListener patient(catcher.Window(), 2, sizeLimit, 30000);
    RawPeer silent(patient.record.m_port);
    ASSERT_TRUE(silent.connected);
    EXPECT_TRUE(silent.Send("Version=1#\r\n"));
    EXPECT_TRUE(StopListening(patient.record));
    EXPECT_EQ(patient.record.m_receiveStopFlag, 0);
    EXPECT_TRUE(silent.WasDropped(kDriverWaitMs));
    EXPECT_EQ(catcher.caught.size(), 6u);
}

TEST_F(ReceiveAndSend, PeersThatTrickleCrowdOrPassTheirShareKeepNoOtherPeerOut)
{
    ScopedListener port(catcher.Window(), 1);
    // Connections of another peer that trickle hold the port for long; one
    // past that peer's share is refused at once.
    std::vector<std::unique_ptr<RawPeer>> others;
    for (int i = 0; i < port.record.m_maxConnectionsFromPeer; ++i) {
        others.push_back(std::make_unique<RawPeer>(port.record.m_port, kOtherPeer));
        ASSERT_TRUE(others.back()->connected);
        EXPECT_TRUE(others.back()->Send("V"));
    }
    RawPeer tooMany(port.record.m_port, kOtherPeer);
    EXPECT_TRUE(tooMany.WasDropped(kDriverWaitMs));
    // Meanwhile a note from 127.0.0.1 arrives, long before any of them is dropped.
    ExpectGoodNoteArrives(port, "beside the trickles");
    for (const auto& other : others)
        EXPECT_FALSE(other->WasDropped(0));
    EXPECT_TRUE(LogHolds("too many connections"));

    // With short bounds: a peer that trickles is dropped once its first
    // second is past, one that keeps sending at its deadline.
    ScopedListener quick(catcher.Window(), 2);
    quick.record.m_rateGraceMs = 1000;
    quick.record.m_messageDeadlineMs = 3000;
    RawPeer trickle(quick.record.m_port, kOtherPeer);
    EXPECT_TRUE(trickle.Send("V"));
    std::atomic<bool> endlessDropped{false};
    std::thread endless([&] {
        RawPeer peer(quick.record.m_port, kOtherPeer);
        const std::string block(4096, 'x');
        for (int round = 0; peer.connected && round < 600; ++round) {
            if (!peer.Send(block) || peer.WasDropped(0)) {
                endlessDropped = true;
                break;
            }
            Sleep(50);  // about 80 KB a second, far above the minimum rate
        }
    });
    EXPECT_TRUE(trickle.WasDropped(kDriverWaitMs));
    endless.join();
    EXPECT_TRUE(endlessDropped);
    EXPECT_TRUE(LogHolds("sent too slowly"));
    EXPECT_TRUE(LogHolds("took too long over its message"));

    // Each peer's share within a minute: a second note past its share of
    // note text, and a flood past its share of bytes, are refused; another
    // peer's note of the same size is kept.
    CReceiveLimits limits;
    limits.peerTextPerMinute = 16 * 1024;
    limits.peerBytesPerMinute = 256 * 1024;
    SetReceiveLimits(limits);
    const std::string text(10 * 1024, 'a');
    CWireNote note;
    note.title = "ten kilobytes";
    const std::string wire = WriteWireText(note, text.data(), text.size(), nullptr, 0);
    CDestination recipient = LoopbackRecipient(port.record.m_port);
    EXPECT_EQ(catcher.Send(recipient, wire, CTransmitOptions()), TransmitResult::kSent);
    EXPECT_EQ(catcher.Send(recipient, wire, CTransmitOptions()), TransmitResult::kRefused);
    EXPECT_NE(catcher.Send(recipient, RandomBytes(512 * 1024, 4), CTransmitOptions()), TransmitResult::kSent);
    std::string answer;
    std::thread other([&] {
        RawPeer peer(port.record.m_port, kThirdPeer);
        peer.Send(wire);
        peer.FinishSending();
        answer = peer.AnswerUntilClosed();
    });
    WaitUntil([&] { return catcher.caught.size() > 0 && catcher.caught.back().peer == "127.0.0.3"; });
    other.join();
    EXPECT_EQ(answer, std::string(kReceiverGreeting) + kReceiverStored);
    EXPECT_TRUE(LogHolds("more than 16 KB of note text within a minute"));
    EXPECT_TRUE(LogHolds("more than 256 KB within a minute"));
    size_t kept = 0;
    for (const CaughtMessage& c : catcher.caught)
        kept += c.message.note.title == "ten kilobytes" ? 1 : 0;
    EXPECT_EQ(kept, 2u);
}
