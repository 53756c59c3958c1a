#include <gtest/gtest.h>

#include "net/bytes/SendTarget.h"

TEST(SendTarget, CommandLineDestinationsAreReadOrRefusedWithTheirReason)
{
    SendTarget target;
    std::string reason;
    ASSERT_TRUE(ParseSendRequestTarget("  PC-BEN  ", target, reason));
    EXPECT_EQ(target.computerName, "PC-BEN");
    EXPECT_EQ(target.port, 0u);
    EXPECT_TRUE(target.attachedFile.empty());

    ASSERT_TRUE(ParseSendRequestTarget("127.0.0.1:5123!#%@C:\\docs\\plan.txt  ", target, reason));
    EXPECT_EQ(target.ipAddress, "127.0.0.1");
    EXPECT_TRUE(target.computerName.empty());
    EXPECT_EQ(target.port, 5123u);
    EXPECT_EQ(target.attachedFile, "C:\\docs\\plan.txt");

    ASSERT_TRUE(ParseSendRequestTarget("ben@example.com", target, reason));
    EXPECT_EQ(target.email, "ben@example.com");

    const char* refused[] = {"", "   ", "10.0.0.300", "PC BEN", "PC:0", "PC:65536", "PC:12x", "a@b@c.d", "@x.org",
                             "bad\"name@x.org", "1.2.3.4.5"};
    for (const char* text : refused) {
        SCOPED_TRACE(text);
        reason.clear();
        EXPECT_FALSE(ParseSendRequestTarget(text, target, reason));
        EXPECT_FALSE(reason.empty());
    }
    EXPECT_FALSE(ParseSendRequestTarget("PC!#%@" + std::string(260, 'f'), target, reason));
    EXPECT_FALSE(ParseSendRequestTarget(std::string(101, 'n'), target, reason));
    EXPECT_TRUE(ParseSendRequestTarget(std::string(100, 'n'), target, reason));
}

TEST(SendTarget, TypedBoxesOfTheSendDialogAreCheckedOneByOne)
{
    SendTarget target;
    EXPECT_EQ(CheckTypedDestination("", "  ", "2000", target), "");
    EXPECT_TRUE(target.computerName.empty() && target.ipAddress.empty());

    EXPECT_EQ(CheckTypedDestination(" PC-ANNA ", "", "2000", target), "");
    EXPECT_EQ(target.computerName, "PC-ANNA");
    EXPECT_EQ(target.port, 2000u);
    EXPECT_EQ(CheckTypedDestination("", "192.168.0.12", " 65535 ", target), "");
    EXPECT_EQ(target.ipAddress, "192.168.0.12");
    EXPECT_EQ(target.port, 65535u);

    EXPECT_NE(CheckTypedDestination("PC/ANNA", "", "2000", target).find("is not a computer name"), std::string::npos);
    EXPECT_NE(CheckTypedDestination("10.1.1.999", "", "2000", target).find("is not a computer name"),
              std::string::npos);
    EXPECT_NE(CheckTypedDestination("", "192.168.0", "2000", target).find("\"192.168.0\" is not an IP address"),
              std::string::npos);
    EXPECT_NE(CheckTypedDestination("", "1.2.3.256", "2000", target).find("is not an IP address"), std::string::npos);
    EXPECT_EQ(CheckTypedDestination("PC", "", "", target), "The port must be a number from 1 to 65535.");
    EXPECT_EQ(CheckTypedDestination("PC", "", "0", target), "The port must be a number from 1 to 65535.");
    EXPECT_EQ(CheckTypedDestination("PC", "", "70000", target), "The port must be a number from 1 to 65535.");
    // An e-mail address in the name box is an e-mail recipient, whatever the other boxes hold.
    EXPECT_EQ(CheckTypedDestination(" ben@example.com ", "10.0.0.1", "", target), "");
    EXPECT_EQ(target.email, "ben@example.com");
    EXPECT_TRUE(target.ipAddress.empty());
    for (const char* odd : {"ben@exa mple.com", "ben@example", "a@b@c.d", "<ben@example.com>", "ben@example.com\r\nBcc: x"})
        EXPECT_NE(CheckTypedDestination(odd, "", "2000", target).find("is not an e-mail address"), std::string::npos)
            << odd;
    // A refusal leaves no half-filled target behind.
    EXPECT_TRUE(target.computerName.empty());
}
