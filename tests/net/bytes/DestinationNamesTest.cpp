#include <gtest/gtest.h>

#include "net/bytes/DestinationNames.h"

TEST(DestinationNames, LongNamesAreSplitAfterSixteenCharactersAndJoinedBackWhole)
{
    struct Row {
        std::string computer, email;
        const char *destination, *rest, *c3;
    } rows[] = {
        {"PC1", "", "PC1", "", ""},
        {"SIXTEEN-CHARS-PC", "", "SIXTEEN-CHARS-PC", "", ""},
        {"SEVENTEEN-CHARS-P", "", "SEVENTEEN-CHARS-", "P", ""},
        {"", "sixteen@mail.net", " ", "", "sixteen@mail.net"},
        {"PC9", "seventeen@mail.nt", "seventeen@mail.n", "", "t"},
        {std::string(100, 'n'), "", "nnnnnnnnnnnnnnnn", nullptr, ""},
        {"", "", "", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.computer + "|" + row.email);
        DestinationNameColumns columns = SplitDestinationName(row.computer, row.email);
        EXPECT_EQ(columns.destination, row.destination);
        if (row.rest) {
            EXPECT_EQ(columns.rest, row.rest);
        }
        EXPECT_EQ(columns.email, row.c3);
        std::string computer = "old", email = "old";
        JoinDestinationName(columns, computer, email);
        EXPECT_EQ(email, row.email);
        EXPECT_EQ(computer, row.email.empty() ? row.computer : std::string());
    }
}
