// A connection is read piece by piece as the bytes come, and waited on only
// when it has nothing: over real sockets on 127.0.0.1, a note cut at every
// awkward place (inside each mark, at the edges of a 4096-byte read, one byte
// at a time) and paused longer than a wait arrives whole; a peer that closes
// or resets before the end of its note hands nothing to the window. The
// threads that serve connections serve one after another: many notes from
// two peers, more than may be served at once, each arrive from their own peer.
#include "NetDriving.h"
#include "NoteCatcher.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "foundation/DataFolder.h"
#include "net/bytes/ReceiverAnswer.h"
#include "support/InFolder.h"

namespace {
class ReceivePieces : public InFolder {
protected:
    // Sends the pieces from a thread of its own, each after a pause (so that
    // the receiver has read the one before and found nothing more), then
    // what the receiver answered until it closed.
    std::string SendInPieces(const ScopedListener& port, const std::string& bytes, const std::vector<size_t>& cuts,
                             DWORD pauseMs, ULONG from = INADDR_LOOPBACK)
    {
        std::string answer;
        bool done = false;
        std::thread peer([&] {
            RawPeer raw(port.record.m_port, from);
            size_t sent = 0;
            for (size_t cut : cuts) {
                EXPECT_TRUE(raw.Send(bytes.substr(sent, cut - sent))) << cut;
                sent = cut;
                Sleep(pauseMs);
            }
            EXPECT_TRUE(raw.Send(bytes.substr(sent)));
            raw.FinishSending();
            answer = raw.AnswerUntilClosed();
            done = true;
        });
        // This thread's window takes what the connection hands over meanwhile.
        EXPECT_TRUE(WaitUntil([&] { return done; }, 120000));
        peer.join();
        return answer;
    }

    WinsockSession winsock;
    NoteCatcher catcher;
};

bool ErrorLogHolds(const std::string& part)
{
    return ReadWholeFile(DataFilePath(DataName::kErrorLog)).find(part) != std::string::npos;
}
}

TEST_F(ReceivePieces, ANoteCutAtEveryAwkwardPlaceArrivesWholeAndOneCutShortHandsNothingOver)
{
    ScopedListener port(catcher.Window(), 1);
    CWireNote note;
    note.computerName = "PC-ANNA";
    note.title = "in pieces";
    note.attachedFileName = "plan.bin";
    std::string rtf = "{\\rtf1\\ansi ";
    while (rtf.size() < 3 * 4096)
        rtf += "a line with the mark ENDOF rtf tcpip# inside it\\par\r\n";
    rtf += "}";
    const std::string attachment = RandomBytes(9000, 5);
    const std::string wire = WriteWireText(note, rtf.data(), rtf.size(), attachment.data(), attachment.size());
    const size_t headerEnd = wire.find(kWireHeaderEnd);
    const size_t richEnd = headerEnd + std::strlen(kWireHeaderEnd) + rtf.size();
    const size_t attachmentMark = richEnd + std::strlen(kWireRichTextEnd);
    ASSERT_EQ(wire.compare(richEnd, std::strlen(kWireRichTextEnd), kWireRichTextEnd), 0);

    // The first bytes and the header's end one byte at a time, then cuts in
    // the middle of each mark and on each side of the reads' 4096-byte edges.
    std::vector<size_t> cuts = {1, 2, 3};
    for (size_t at = headerEnd - 2; at <= headerEnd + std::strlen(kWireHeaderEnd) + 1; ++at)
        cuts.push_back(at);
    for (size_t edge = 4096; edge < wire.size(); edge += 4096)
        cuts.insert(cuts.end(), {edge - 1, edge, edge + 1});
    cuts.insert(cuts.end(), {richEnd - 1, richEnd + 1, richEnd + 8, attachmentMark + 5, attachmentMark + 19,
                             wire.size() - 1});
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    EXPECT_EQ(SendInPieces(port, wire, cuts, 10), std::string(kReceiverGreeting) + kReceiverStored);
    const CaughtMessage* whole = catcher.WaitForNote("in pieces");
    ASSERT_NE(whole, nullptr);
    EXPECT_TRUE(whole->message.note == note);
    EXPECT_TRUE(whole->message.richText == rtf);
    EXPECT_TRUE(whole->message.attachment == attachment);

    // A pause longer than a receive waits at a time (half a second) is not an end.
    note.title = "after a pause";
    const std::string paused = WriteWireText(note, rtf.data(), rtf.size(), nullptr, 0);
    EXPECT_EQ(SendInPieces(port, paused, {headerEnd + 3, paused.size() - 3}, 700),
              std::string(kReceiverGreeting) + kReceiverStored);
    const CaughtMessage* late = catcher.WaitForNote("after a pause");
    ASSERT_NE(late, nullptr);
    EXPECT_TRUE(late->message.richText == rtf);
    EXPECT_FALSE(late->message.hasAttachment);

    // A peer that closes in the middle of its rich text, or of its attached
    // file, is answered by a reset; a peer that resets is let go. Nothing of
    // theirs reaches the window.
    const size_t before = catcher.caught.size();
    EXPECT_EQ(SendInPieces(port, wire.substr(0, richEnd - 3), {headerEnd, 4096}, 10), kReceiverGreeting);
    EXPECT_EQ(SendInPieces(port, wire.substr(0, wire.size() - 1), {attachmentMark}, 10), kReceiverGreeting);
    RawPeer broken(port.record.m_port);
    EXPECT_TRUE(broken.Send(wire.substr(0, 5000)));
    broken.Reset();
    note.title = "after the early ends";
    EXPECT_EQ(SendInPieces(port, WriteWireText(note, "{x}", 3, nullptr, 0), {4}, 10),
              std::string(kReceiverGreeting) + kReceiverStored);
    EXPECT_NE(catcher.WaitForNote("after the early ends"), nullptr);
    EXPECT_EQ(catcher.caught.size(), before + 1);
    EXPECT_TRUE(ErrorLogHolds(DescribeWireParseResult(WireParseResult::kRichTextIncomplete)));
    EXPECT_TRUE(ErrorLogHolds(DescribeWireParseResult(WireParseResult::kAttachmentIncomplete)));
}

TEST_F(ReceivePieces, ManyNotesFromTwoPeersMoreThanAreServedAtOnceEachArriveFromTheirOwnPeer)
{
    ScopedListener port(catcher.Window(), 2);
    port.record.m_maxConnections = 3;
    port.record.m_maxConnectionsFromPeer = 2;
    const int kNotes = 24;
    for (int i = 0; i < kNotes; ++i) {
        CWireNote note;
        note.title = "note " + std::to_string(i);
        const std::string rtf = "{\\rtf1 " + std::string(static_cast<size_t>(i) * 700, 'a' + i % 26) + "}";
        const ULONG from = i % 2 ? kOtherPeer : INADDR_LOOPBACK;
        // Every third breaks off in its header first, on the same port.
        if (i % 3 == 0) {
            EXPECT_EQ(SendInPieces(port, "Version=1#\r\nTitle=broken#\r\n", {}, 0, from), kReceiverGreeting) << i;
        }
        EXPECT_EQ(SendInPieces(port, WriteWireText(note, rtf.data(), rtf.size(), nullptr, 0), {}, 0, from),
                  std::string(kReceiverGreeting) + kReceiverStored)
            << i;
        const CaughtMessage* caught = catcher.WaitForNote(note.title);
        ASSERT_NE(caught, nullptr) << i;
        EXPECT_EQ(caught->peer, i % 2 ? "127.0.0.2" : "127.0.0.1") << i;
        EXPECT_EQ(caught->port, 2);
        EXPECT_TRUE(caught->message.richText == rtf) << i;
    }
    EXPECT_EQ(catcher.caught.size(), static_cast<size_t>(kNotes));
    EXPECT_FALSE(ErrorLogHolds("too many connections"));
}
