// What the receiver takes from its peers, counted over the wrapping clock: the
// bytes held at once, each peer's bytes and note text within a minute, and the
// answers a sender reads back.
#include <string>

#include <gtest/gtest.h>

#include "net/bytes/ReceiveBudget.h"
#include "net/bytes/ReceiverAnswer.h"

namespace {
CReceiveLimits SmallLimits()
{
    CReceiveLimits limits;
    limits.bytesInFlight = 1000;
    limits.peerBytesPerMinute = 600;
    limits.peerTextPerMinute = 100;
    return limits;
}
}

TEST(ReceiveBudget, BoundsWhatIsHeldAtOnceAndWhatEachPeerSendsWithinAMinute)
{
    CReceiveBudget budget(SmallLimits());
    // Near the clock's wrap: a minute later the clock reads small numbers.
    const std::uint32_t start = 0xFFFFF000u;
    EXPECT_EQ(budget.TakeBytes("10.0.0.1", 600, start), BudgetRefusal::kNone);
    EXPECT_EQ(budget.TakeBytes("10.0.0.1", 1, start + 10), BudgetRefusal::kPeerBytes);
    EXPECT_EQ(budget.TakeBytes("10.0.0.2", 400, start + 20), BudgetRefusal::kNone);
    // The held bytes of both leave room for no third.
    EXPECT_EQ(budget.TakeBytes("10.0.0.3", 1, start + 30), BudgetRefusal::kInFlight);
    EXPECT_EQ(budget.BytesInFlight(), 1000u);
    // Handled, the first peer's text frees its bytes for others, but still
    // counts for the peer's own minute.
    budget.Release(600);
    EXPECT_EQ(budget.TakeBytes("10.0.0.3", 500, start + 40), BudgetRefusal::kNone);
    EXPECT_EQ(budget.TakeBytes("10.0.0.1", 1, start + 50), BudgetRefusal::kPeerBytes);
    budget.Release(900);
    EXPECT_EQ(budget.BytesInFlight(), 0u);
    // A minute after its usage the peer may send again.
    EXPECT_EQ(budget.TakeBytes("10.0.0.1", 1, start + 59999), BudgetRefusal::kPeerBytes);
    EXPECT_EQ(budget.TakeBytes("10.0.0.1", 600, start + 60000), BudgetRefusal::kNone);
    budget.Release(600);
    budget.Release(5);  // never below nothing
    EXPECT_EQ(budget.BytesInFlight(), 0u);

    // Note text: one peer's allowance shrinks with what it brought; a text
    // over what is left is refused whole, and others keep theirs.
    const std::uint32_t later = start + 100000;
    EXPECT_EQ(budget.TextAllowance("10.0.0.4", later), 100u);
    EXPECT_EQ(budget.TakeText("10.0.0.4", 70, later), BudgetRefusal::kNone);
    EXPECT_EQ(budget.TextAllowance("10.0.0.4", later + 1500), 30u);
    EXPECT_EQ(budget.TakeText("10.0.0.4", 31, later + 1500), BudgetRefusal::kPeerText);
    EXPECT_EQ(budget.TakeText("10.0.0.4", 30, later + 1500), BudgetRefusal::kNone);
    EXPECT_EQ(budget.TakeText("10.0.0.5", 100, later + 1500), BudgetRefusal::kNone);
    // Usage ages out in the order it came.
    EXPECT_EQ(budget.TextAllowance("10.0.0.4", later + 60000), 70u);
    EXPECT_EQ(budget.TextAllowance("10.0.0.4", later + 61500), 100u);

    // Peers that sent nothing for a minute are forgotten; many peers, each
    // within its bounds, leave only those of the last minute.
    budget = CReceiveBudget();
    for (std::uint32_t i = 0; i < 5000; ++i)
        EXPECT_EQ(budget.TakeBytes("peer " + std::to_string(i), 10, start + 200000 + i * 100), BudgetRefusal::kNone);
    EXPECT_LE(budget.PeersRemembered(), 601u);
    EXPECT_EQ(budget.TakeText("peer 4999", 4u * 1024 * 1024, start + 700000), BudgetRefusal::kNone);
    EXPECT_EQ(budget.TakeText("peer 4999", 1, start + 700000), BudgetRefusal::kPeerText);
    EXPECT_NE(DescribeBudgetRefusal(BudgetRefusal::kPeerText, budget.Limits()).find("4 MB of note text"),
              std::string::npos);
}

TEST(ReceiverAnswer, OnlyAGreetedReceiverThatSaysStoredHasKeptTheText)
{
    const std::string greeting = kReceiverGreeting;
    const std::string stored = greeting + kReceiverStored;
    EXPECT_EQ(ReadReceiverAnswer(stored.data(), stored.size()), ReceiverAnswer::kStored);
    // A receiver that ended after its greeting (killed, say) kept nothing
    // that it said so of; nor did one that answered something else.
    EXPECT_EQ(ReadReceiverAnswer(greeting.data(), greeting.size()), ReceiverAnswer::kNotStored);
    const std::string doubled = stored + kReceiverStored;
    EXPECT_EQ(ReadReceiverAnswer(doubled.data(), doubled.size()), ReceiverAnswer::kNotStored);
    const std::string alone = kReceiverStored;
    EXPECT_EQ(ReadReceiverAnswer(alone.data(), alone.size()), ReceiverAnswer::kNotStored);
    EXPECT_EQ(ReadReceiverAnswer("HTTP/1.0 400", 12), ReceiverAnswer::kNotStored);
    const std::string cut = stored.substr(0, stored.size() - 1);
    EXPECT_EQ(ReadReceiverAnswer(cut.data(), cut.size()), ReceiverAnswer::kNotStored);
    // Silence, then a close: an older receiver, which closes once the text is in.
    EXPECT_EQ(ReadReceiverAnswer("", 0), ReceiverAnswer::kOlderReceiver);
    EXPECT_TRUE(IsGreeted(stored.data(), stored.size()));
    EXPECT_FALSE(IsGreeted(greeting.data(), greeting.size() - 1));
    EXPECT_LE(stored.size(), kMaxReceiverAnswer);
}
