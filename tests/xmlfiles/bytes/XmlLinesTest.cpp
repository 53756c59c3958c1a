#include <string>

#include <gtest/gtest.h>

#include "ParsedXml.h"

// The lines' layout is checked byte for byte in the files the writer makes.
TEST(XmlLines, CdataEscapeChangesTheSecondBracketAndNegativeLevelsAreNotIndented)
{
    EXPECT_EQ(CdataToggled("a]]>b", 1), "a]`>b");
    EXPECT_EQ(CdataToggled("a]`>b", 0), "a]]>b");
    EXPECT_EQ(CdataToggled("]]]>", 1), "]]`>");
    EXPECT_EQ(CdataToggled("]]`>", 0), "]]]>");
    EXPECT_EQ(CdataToggled("]]>]]>", 1), "]`>]`>");
    EXPECT_EQ(CdataToggled("]] > ]>", 1), "]] > ]>");
    EXPECT_EQ(CdataToggled("]", 1), "]");
    EXPECT_EQ(CdataToggled("", 0), "");
    // A text that already held "]`>" does not survive the round trip.
    EXPECT_EQ(CdataToggled(CdataToggled("x]`>", 1), 0), "x]]>");
    ToggleCdataEscape(nullptr, 1);

    EXPECT_EQ(XmlElementLine("x", "1", -1, false), "<x>1</x>");
}
