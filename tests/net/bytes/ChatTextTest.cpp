// The participant entries of chat texts and of "chatnote.QPD": written and
// read back, and refused when damaged or hostile.
#include <string>

#include <gtest/gtest.h>

#include "net/bytes/ChatText.h"
#include "net/bytes/ReceivedAvatar.h"

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
    // The picture of a participant is kept with its state, never with a folder.
    anna.avatar = "owl (2).bmp";
    EXPECT_EQ(WriteChatPeer(anna, false), "PC-ANNA|10.0.0.7|5001");
    ASSERT_TRUE(ParseChatPeer(WriteChatPeer(anna, true), read));
    EXPECT_TRUE(read == anna);
    for (const char* odd : {"PC|1.2.3.4|5|0|..\\x.bmp", "PC|1.2.3.4|5|0|c:x.bmp", "PC|1.2.3.4|5|0|.."}) {
        ASSERT_TRUE(ParseChatPeer(odd, read)) << odd;
        EXPECT_EQ(read.avatar, "") << odd;
    }
    ASSERT_TRUE(ParseChatPeer("PC|1.2.3.4|5|0|" + std::string(100, 'a'), read));
    EXPECT_EQ(read.avatar, "");

    for (const char* odd : {"", "PC|1.2.3.4", "PC|1.2.3.4|70000", "PC|1.2.3.4|5|9", "PC|1.2.3.4|5|1|x|y",
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
                                    ChatOperation::kLeft, ChatOperation::kClosed, ChatOperation::kUndeleted,
                                    ChatOperation::kAvatar})
        EXPECT_EQ(ParseChatOperation(ChatOperationName(operation)), operation);
    EXPECT_EQ(ParseChatOperation("line"), ChatOperation::kNone);
    EXPECT_EQ(ParseChatOperation(""), ChatOperation::kNone);
}

TEST(ChatText, ReceivedAvatarsKeepOnlyPictureNamesAndPictureBytes)
{
    EXPECT_EQ(SafeAvatarName("Owl.Bmp"), "Owl.bmp");
    EXPECT_EQ(SafeAvatarName("..\\..\\qnpost.gif"), "qnpost.gif");
    EXPECT_EQ(SafeAvatarName("con.jpg"), "_con.jpg");
    for (const char* refused : {"  NoImage", "setup.exe", "owl.bmp.exe", ".bmp", "", "picture"})
        EXPECT_EQ(SafeAvatarName(refused), "") << refused;
    std::string longName = SafeAvatarName(std::string(300, 'w') + ".gif");
    EXPECT_EQ(longName.size(), kReceivedAvatarNameBytes);
    EXPECT_EQ(longName.substr(longName.size() - 4), ".gif");

    const unsigned char bmp[] = {'B', 'M', 0}, jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0}, gif[] = "GIF89a..";
    const unsigned char text[] = "MZ not a picture", shortGif[] = "GIF8";
    EXPECT_TRUE(LooksLikePicture(bmp, sizeof bmp));
    EXPECT_TRUE(LooksLikePicture(jpeg, sizeof jpeg));
    EXPECT_TRUE(LooksLikePicture(gif, 6));
    EXPECT_FALSE(LooksLikePicture(text, sizeof text));
    EXPECT_FALSE(LooksLikePicture(shortGif, 4));
    EXPECT_FALSE(LooksLikePicture(bmp, 1));
}
