// The participant entries of chat texts and of "chatnote.QPD": written and
// read back, and refused when damaged or hostile.
#include <string>

#include <gtest/gtest.h>

#include "net/bytes/ChatText.h"

TEST(ChatText, ParticipantsAndOperationsGoThereAndBackAndOddEntriesAreRefused)
{
    CChatPeer anna;
    anna.computerName = "PC-ANNA";
    anna.ipAddress = "10.0.0.7";
    anna.port = 5001;
    anna.state = kPeerLeft;
    EXPECT_EQ(WriteChatPeer(anna, false), "PC-ANNA|10.0.0.7|5001");
    EXPECT_EQ(WriteChatPeer(anna, true), "PC-ANNA|10.0.0.7|5001|1");
    CChatPeer read;
    ASSERT_TRUE(ParseChatPeer(WriteChatPeer(anna, true), read));
    EXPECT_TRUE(read == anna);
    ASSERT_TRUE(ParseChatPeer("PC-ANNA||0", read));
    EXPECT_EQ(read.state, kPeerActive);

    for (const char* odd : {"", "PC|1.2.3.4", "PC|1.2.3.4|70000", "PC|1.2.3.4|5|9", "PC|1.2.3.4|5|1|x",
                            "P C|1.2.3.4|5", "PC|1.2.3.4x|5", "||5", "PC|1.2.3.4|-5", "PC|1.2.3.4|"})
        EXPECT_FALSE(ParseChatPeer(odd, read)) << odd;
    EXPECT_FALSE(ParseChatPeer(std::string(101, 'a') + "|1.2.3.4|5", read));

    // Two programs on one computer are told apart by their ports.
    CChatPeer twin = anna;
    twin.port = 5002;
    EXPECT_FALSE(twin.SamePerson(anna));
    CChatPeer byName;
    byName.computerName = "pc-anna";
    EXPECT_TRUE(byName.SamePerson(anna));

    for (ChatOperation operation : {ChatOperation::kStart, ChatOperation::kMessage, ChatOperation::kJoined,
                                    ChatOperation::kLeft, ChatOperation::kClosed, ChatOperation::kUndeleted})
        EXPECT_EQ(ParseChatOperation(ChatOperationName(operation)), operation);
    EXPECT_EQ(ParseChatOperation("line"), ChatOperation::kNone);
    EXPECT_EQ(ParseChatOperation(""), ChatOperation::kNone);
}
