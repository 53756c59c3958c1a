#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "xmlfiles/bytes/XmlLines.h"

namespace {
std::string Toggled(std::string text, int encode)
{
    std::vector<char> bytes(text.begin(), text.end());
    bytes.push_back('\0');
    ToggleCdataEscape(bytes.data(), encode);
    return bytes.data();
}
}

// The lines' layout is checked byte for byte in the files the writer makes.
TEST(XmlLines, ANegativeLevelIsNotIndented)
{
    EXPECT_EQ(XmlElementLine("x", "1", -1, false), "<x>1</x>");
}

TEST(XmlLines, CdataEscapeChangesTheSecondBracket)
{
    EXPECT_EQ(Toggled("a]]>b", 1), "a]`>b");
    EXPECT_EQ(Toggled("a]`>b", 0), "a]]>b");
    EXPECT_EQ(Toggled("]]]>", 1), "]]`>");
    EXPECT_EQ(Toggled("]]`>", 0), "]]]>");
    EXPECT_EQ(Toggled("]]>]]>", 1), "]`>]`>");
    EXPECT_EQ(Toggled("]] > ]>", 1), "]] > ]>");
    EXPECT_EQ(Toggled("]", 1), "]");
    EXPECT_EQ(Toggled("", 0), "");
    // A text that already held "]`>" does not survive the round trip.
    EXPECT_EQ(Toggled(Toggled("x]`>", 1), 0), "x]]>");
    ToggleCdataEscape(nullptr, 1);
}
