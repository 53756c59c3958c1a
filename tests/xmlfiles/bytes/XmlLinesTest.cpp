#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "xmlfiles/bytes/XmlLines.h"
#include "xmlfiles/bytes/XmlValueText.h"

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

TEST(XmlValueText, TrimsBlanksAndReadsDecimalNumbers)
{
    char text[] = "   12 ab  ";
    TrimBlanks(text);
    EXPECT_STREQ(text, "12 ab");
    char blanks[] = "    ";
    TrimBlanks(blanks);
    EXPECT_STREQ(blanks, "");

    EXPECT_EQ(DecimalTextToInt("  -42x"), -42);
    EXPECT_EQ(DecimalTextToInt("+7"), 7);
    EXPECT_EQ(DecimalTextToInt("\t\r\n 19"), 19);
    EXPECT_EQ(DecimalTextToInt("abc"), 0);
    EXPECT_EQ(DecimalTextToInt(""), 0);
    EXPECT_EQ(DecimalTextToInt(nullptr), 0);
    EXPECT_EQ(DecimalTextToInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(DecimalTextToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(DecimalTextToInt("-99999999999999999999"), -2147483647 - 1);
}
