// The sender typed on the Email sending page: a bare address or a friendly
// name with the address in angle brackets, bounded, and shown again as typed.
#include <gtest/gtest.h>

#include <string>

#include "net/bytes/SenderAddress.h"

TEST(SenderAddress, NamesAndAddressesAreSplitBoundedAndJoinedAgain)
{
    SenderAddressParse named = ParseSenderAddress("  Jane Doe   <  jane@example.org >  ");
    ASSERT_TRUE(named.accepted);
    EXPECT_EQ(named.friendlyName, "Jane Doe");
    EXPECT_EQ(named.address, "jane@example.org");
    EXPECT_EQ(FormatSenderAddress(named.address, named.friendlyName), "Jane Doe <jane@example.org>");
    EXPECT_EQ(ParseSenderAddress(FormatSenderAddress(named.address, named.friendlyName)).friendlyName, "Jane Doe");

    SenderAddressParse bare = ParseSenderAddress("jane@example.org");
    ASSERT_TRUE(bare.accepted);
    EXPECT_EQ(bare.address, "jane@example.org");
    EXPECT_EQ(bare.friendlyName, "");
    EXPECT_EQ(FormatSenderAddress(bare.address, ""), "jane@example.org");
    SenderAddressParse bracketsOnly = ParseSenderAddress("<jane@example.org>");
    ASSERT_TRUE(bracketsOnly.accepted);
    EXPECT_EQ(FormatSenderAddress(bracketsOnly.address, bracketsOnly.friendlyName), "jane@example.org");

    SenderAddressParse empty = ParseSenderAddress("   ");
    EXPECT_TRUE(empty.accepted);
    EXPECT_TRUE(empty.address.empty() && empty.friendlyName.empty());

    // Refused with nothing of their own to say: only "Incorrect email address" follows.
    for (const char* wrong : {"jane.example.org", "jane@@example.org", "a@b@c", "Jane <jane@example.org",
                              "Jane jane@example.org>", "<<jane@example.org>>", "Jane >jane@example.org<",
                              "Jane <jane@example.org> Doe", "J@ne <jane.example.org>", "Jane <@>", "@", "<>"}) {
        SenderAddressParse parse = ParseSenderAddress(wrong);
        EXPECT_FALSE(parse.accepted) << wrong;
        EXPECT_TRUE(parse.reason.empty()) << wrong;
    }

    // Thirty characters of name and sixty of address are the most.
    const std::string name30(30, 'n');
    const std::string address60 = std::string(48, 'a') + "@example.org";
    ASSERT_EQ(address60.size(), 60u);
    EXPECT_TRUE(ParseSenderAddress(name30 + " <" + address60 + ">").accepted);
    EXPECT_TRUE(ParseSenderAddress(address60).accepted);

    SenderAddressParse longName = ParseSenderAddress(name30 + "m <jane@example.org>");
    EXPECT_FALSE(longName.accepted);
    EXPECT_EQ(longName.reason,
              "Sorry, maximum 30 characters are accepted for the email friendly name (Your Name)\r\n\r\n"
              "The friendly name you typed is 31 characters long. Maximum allowed friendly name is: " +
                  name30);
    const std::string address61 = "b" + address60;
    for (const std::string& typed : {address61, "Jane <" + address61 + ">"}) {
        SenderAddressParse longAddress = ParseSenderAddress(typed);
        EXPECT_FALSE(longAddress.accepted);
        EXPECT_EQ(longAddress.reason,
                  "Sorry, no more than 60 characters can be used for the email address.\r\n\r\n"
                  "The email you typed is 61 characters long. Maximum allowed email address is: " +
                      address61.substr(0, 60));
    }
    // Beyond 99 characters nothing is read, so a long text cannot sneak an address past the bound.
    EXPECT_FALSE(ParseSenderAddress(std::string(120, 'x') + "@example.org").accepted);
}
