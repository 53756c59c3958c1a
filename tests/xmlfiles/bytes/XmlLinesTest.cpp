#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ParsedXml.h"
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

TEST(XmlLines, IndentThreeBlanksPerLevel)
{
    EXPECT_EQ(XmlStartTagLine("content", 0), "<content>");
    EXPECT_EQ(XmlEndTagLine("note", 1), "   </note>");
    EXPECT_EQ(XmlElementLine("title", "Shop", 2, false), "      <title>Shop</title>");
    EXPECT_EQ(XmlCommentLine(" notes ", 1), "   <!-- notes -->");
    EXPECT_EQ(XmlElementLine("x", "1", -1, false), "<x>1</x>");
}

TEST(XmlLines, WriteCdataSectionsAsAsked)
{
    EXPECT_EQ(XmlElementLine("rtf", "{\\rtf1 a<b>}", 2, true), "      <rtf><![CDATA[{\\rtf1 a<b>}]]></rtf>");
    EXPECT_EQ(XmlElementLine("rtf", "", 1, true), "   <rtf><![CDATA[]]></rtf>");
    EXPECT_EQ(XmlCDataElementLine("name", "", 1), "   <name></name>");
    EXPECT_EQ(XmlCDataElementLine("name", "Urgent", 1), "   <name><![CDATA[Urgent]]></name>");
    EXPECT_EQ(std::string(kXmlLineEnd), "\r\n");
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

TEST(XmlLines, WrittenLinesReadBackToTheSameValues)
{
    const std::string rtf = "{\\rtf1 <b> & ]]> and ]]]> }\r\n  second line  ";
    std::string encoded = Toggled(rtf, 1);
    std::string file = "<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"yes\"?>\r\n";
    for (const std::string& line :
         {XmlStartTagLine("backup", 0), XmlCommentLine("notes", 1), XmlStartTagLine("note", 1),
          XmlElementLine("id", "42", 2, false), XmlElementLine("title", "  Shopping list  ", 2, false),
          XmlElementLine("rtf", encoded.c_str(), 2, true), XmlCDataElementLine("group", "", 2),
          XmlElementLine("empty", "", 2, true), XmlEndTagLine("note", 1), XmlEndTagLine("backup", 0)})
        file += line + kXmlLineEnd;

    ParsedXml parsed(file);
    ASSERT_EQ(parsed.result, 1) << parsed.doc.GetErrorText();
    EXPECT_EQ(parsed.Value("backup", "note", 1, "id"), "42");
    EXPECT_EQ(parsed.Value("backup", "note", 1, "title"), "Shopping list");
    EXPECT_EQ(parsed.Value("backup", "note", 1, "group"), "");
    EXPECT_EQ(parsed.Value("backup", "note", 1, "empty"), "");
    EXPECT_EQ(Toggled(parsed.Value("backup", "note", 1, "rtf"), 0), rtf);
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
