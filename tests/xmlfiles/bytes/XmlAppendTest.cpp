#include <string>

#include <gtest/gtest.h>

#include "ParsedXml.h"
#include "xmlfiles/bytes/XmlLines.h"

// The lines the program's small files are made of, and a text with "]]>"
// read back whole from its CDATA section.
TEST(XmlAppend, LinesAreIndentedEndInCrLfAndCdataTextsComeBackWhole)
{
    std::string text;
    AppendXmlStartTag(text, "content", 0);
    AppendXmlStartTag(text, "group", 1);
    AppendXmlElement(text, "id", "5", 2);
    AppendXmlCDataElement(text, "name", "<A&B> ]]> x", 2);
    AppendXmlCDataElement(text, "empty", "", 2);
    AppendXmlEndTag(text, "group", 1);
    AppendXmlEndTag(text, "content", 0);
    EXPECT_EQ(text, "<content>\r\n"
                    "   <group>\r\n"
                    "      <id>5</id>\r\n"
                    "      <name><![CDATA[<A&B> ]`> x]]></name>\r\n"
                    "      <empty></empty>\r\n"
                    "   </group>\r\n"
                    "</content>\r\n");
    ParsedXml parsed(XmlFile(text));
    ASSERT_EQ(parsed.result, 1);
    EXPECT_EQ(CdataToggled(parsed.Value("content", "group", 1, "name"), 0), "<A&B> ]]> x");
    EXPECT_EQ(parsed.Value("content", "group", 1, "empty"), "");
    EXPECT_EQ(parsed.Value("content", "group", 1, "id"), "5");
}
