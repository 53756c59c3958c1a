// The listening ports typed on the Network page: refused in a fixed order,
// compared as numbers, bounded to what a TCP port can be.
#include <gtest/gtest.h>

#include "shell/bytes/ListeningPorts.h"

TEST(ListeningPorts, TypedTextsAreRefusedInOrderOrReadAsTwoPorts)
{
    const struct {
        const char* text;
        const char* error;
    } refused[] = {
        {"1,2", "Please type at least 5 digits."},
        {"   1,2    ", "Please type at least 5 digits."},
        {"12345", "You cannot remove the second listening port."},
        {"1,2,3", "Too many commas, please check."},
        {"80,80", "The TCP/IP ports must be different."},
        {"080,80", "The TCP/IP ports must be different."},
        {"0,1234", "The TCP/IP ports must be greater than zero."},
        {"1234,", "The TCP/IP ports must be greater than zero."},
        {"12 4,80", "The TCP/IP ports must be greater than zero."},
        {"1234,70000", "The TCP/IP ports must not be greater than 65535."},
        {"1234,99999999999999999999", "The TCP/IP ports must not be greater than 65535."},
    };
    for (const auto& entry : refused) {
        ListeningPortsCheck check = CheckListeningPorts(entry.text);
        ASSERT_NE(check.error, nullptr) << entry.text;
        EXPECT_EQ(std::string(check.error).rfind(entry.error, 0), 0u) << entry.text << ": " << check.error;
    }
    ListeningPortsCheck accepted = CheckListeningPorts("  2511,65535 ");
    EXPECT_EQ(accepted.error, nullptr);
    EXPECT_EQ(accepted.first, 2511);
    EXPECT_EQ(accepted.second, 65535);
    // Only the first 29 characters are read: the rest of a long paste is cut.
    accepted = CheckListeningPorts("1,2" + std::string(40, '9'));
    EXPECT_EQ(accepted.error, std::string("The TCP/IP ports must not be greater than 65535."));
    EXPECT_EQ(FormatListeningPorts(2511, 2512), "2511,2512");
}
