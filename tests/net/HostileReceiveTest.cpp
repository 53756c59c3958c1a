// What a hostile or broken peer may do to a listening port: random bytes, a
// stream that never ends, a huge announcement, a crowd of connections, a peer
// that goes silent. The port survives each, keeps no more than its limit on
// disk, and the next good note still arrives.
#include "NoteCatcher.h"

#include <atomic>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "foundation/DataFolder.h"
#include "support/InFolder.h"

namespace {
const DWORD kSizeLimit = 4 * 1024 * 1024;
const DWORD kStallMs = 1000;

class HostileReceive : public InFolder {
protected:
    // The good note that must get through after each attack.
    void ExpectGoodNoteArrives(const std::string& title)
    {
        CDestination recipient = LoopbackRecipient(port.record.m_port);
        CTransmitOptions options;
        EXPECT_EQ(catcher.Send(recipient, SmallWireText(title), options), TransmitResult::kSent) << title;
        EXPECT_NE(catcher.WaitForNote(title, 120000), nullptr) << title;
    }

    WinsockSession winsock;
    NoteCatcher catcher;
    ScopedListener port{catcher.Window(), 1, kSizeLimit, kStallMs};
};

// A plain client socket, blocking, whose sends give up after a few seconds.
class RawPeer {
public:
    explicit RawPeer(DWORD port) : m_socket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP))
    {
        DWORD sendTimeoutMs = 5000;
        setsockopt(m_socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendTimeoutMs),
                   sizeof sendTimeoutMs);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<u_short>(port));
        connected = connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
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
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_socket, &readable);
        timeval wait = {static_cast<long>(timeoutMs / 1000), 0};
        if (select(0, &readable, nullptr, nullptr, &wait) != 1)
            return false;
        char byte;
        return recv(m_socket, &byte, 1, 0) <= 0;
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

std::string RandomBytes(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}
}

TEST_F(HostileReceive, ThePortSurvivesEveryAttackAndTheNextNoteArrives)
{
    // A probe under 50 bytes is passed over; random bytes are handed over
    // whole, and refused by the reader.
    {
        RawPeer probe(port.record.m_port);
        EXPECT_TRUE(probe.Send(std::string(kWireHeaderEnd) + "{rtf}" + kWireRichTextEnd));
        probe.FinishSending();
        ExpectGoodNoteArrives("after a probe");
    }
    EXPECT_EQ(catcher.CountOf(ReceivedMessageKind::kIgnored), 1u);
    {
        RawPeer peer(port.record.m_port);
        ASSERT_TRUE(peer.connected);
        EXPECT_TRUE(peer.Send(RandomBytes(20000, 1)));
        peer.FinishSending();
        ExpectGoodNoteArrives("after random bytes");
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
        for (DWORD sent = 0; peer.connected && sent < 8 * kSizeLimit; sent += static_cast<DWORD>(block.size())) {
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
    EXPECT_TRUE(catcher.WaitUntil([&] { return streamEnded.load(); }, 120000));
    stream.join();
    EXPECT_TRUE(streamRefused);
    EXPECT_LE(largestFile, kSizeLimit);
    ExpectGoodNoteArrives("after an endless stream");

    // A header announcing 100 MB that never come.
    {
        RawPeer peer(port.record.m_port);
        std::string announcement = "Version=1#\r\nTitle=liar#\r\nRtfBytes=5#\r\nAttachedBytes=104857600#\r\n" +
                                   std::string(kWireHeaderEnd) + "{rtf}" + kWireRichTextEnd + kWireAttachmentMark +
                                   RandomBytes(65536, 3);
        EXPECT_TRUE(peer.Send(announcement));
        peer.FinishSending();
        ExpectGoodNoteArrives("after a false announcement");
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
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<u_short>(port.record.m_port));
        for (int i = 0; i < 1000; ++i) {
            SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            if (s == INVALID_SOCKET)
                break;
            u_long nonBlocking = 1;
            ioctlsocket(s, FIONBIO, &nonBlocking);
            connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
            crowd.push_back(s);
        }
        EXPECT_EQ(crowd.size(), 1000u);
        for (SOCKET s : crowd)
            closesocket(s);
    }
    ExpectGoodNoteArrives("after a crowd");

    // A peer that says a little and then nothing is dropped after the stall
    // timeout; the note waiting behind it gets through.
    {
        RawPeer silent(port.record.m_port);
        ASSERT_TRUE(silent.connected);
        EXPECT_TRUE(silent.Send("Version=1#\r\nTitle=slow#\r\n"));
        ExpectGoodNoteArrives("after a silent peer");
        EXPECT_TRUE(silent.WasDropped(10));
    }

    EXPECT_EQ(catcher.CountOf(ReceivedMessageKind::kNote), 6u);
    std::string log = ReadWholeFile(DataFilePath(DataName::kErrorLog));
    EXPECT_NE(log.find("passed the size limit"), std::string::npos);
    EXPECT_NE(log.find("sent nothing for too long"), std::string::npos);
    EXPECT_TRUE(catcher.WaitUntil([] { return !FileExists(DataFilePath(DataName::kPort1ReceiveFile)); }, 10000));
}

TEST_F(HostileReceive, ClosingEndsAReceiveThatASilentPeerHolds)
{
    // A silent peer would hold this port for half a minute; stopping the port
    // must not wait for that.
    ScopedListener patient(catcher.Window(), 2, kSizeLimit, 30000);
    RawPeer silent(patient.record.m_port);
    ASSERT_TRUE(silent.connected);
    EXPECT_TRUE(silent.Send("Version=1#\r\n"));
    ASSERT_TRUE(catcher.WaitUntil([] { return FileExists(DataFilePath(DataName::kPort2ReceiveFile)); }, 10000));
    EXPECT_TRUE(StopListening(patient.record));
    EXPECT_EQ(patient.record.m_receiveStopFlag, 0);
    EXPECT_FALSE(FileExists(DataFilePath(DataName::kPort2ReceiveFile)));
    EXPECT_TRUE(catcher.caught.empty());
}
