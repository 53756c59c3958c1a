// Truncated, cut short and oversized files: each gives an error or a tree,
// never a crash or a read outside the file's bytes. (Random and damaged files
// are the XmlFile fuzz program's, which every test run replays.)
#include <string>

#include <gtest/gtest.h>

#include "ParsedXml.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const std::string kSample = XmlFile(
    "<!-- backup -->\r\n"
    "<backup>\r\n"
    "   <note>\r\n"
    "      <id>1</id>\r\n"
    "      <title>  Shopping  </title>\r\n"
    "      <rtf><![CDATA[\r\n{\\rtf1 a]`>b}]]></rtf>\r\n"
    "      <font><size>10</size><face>Tahoma</face></font>\r\n"
    "   </note>\r\n"
    "   <note><id>2</id><title></title></note>\r\n"
    "</backup>\r\n");

// Reads whatever tree came out, through every kind of look-up and the cursor.
void ReadEverything(CXMLBufferDocument& doc)
{
    char out[16];
    char err[64];
    int count = doc.CountElements("backup", "note", err, sizeof err);
    for (int k = 1; k <= count && k <= 4; ++k) {
        doc.GetValue("backup", "note", k, "title", out, sizeof out, err, sizeof err);
        doc.GetValue1("backup", "note", "font", k, "size", out, sizeof out, err, sizeof err);
        doc.GetValue2("backup", "note", "font", "face", k, "x", out, sizeof out, err, sizeof err);
    }
    doc.CountSubElements("backup", "note", "id", err, sizeof err);
    doc.GetValueSubCollection("backup", "note", "font", 1, "size", out, sizeof out, err, sizeof err);
    for (int step = 0; step < 8; ++step) {
        if (doc.GotoChildOfCurrentParent("note", 1, err, sizeof err))
            doc.GetValueOfCurrentChild("id", out, sizeof out, err, sizeof err);
        if (!doc.SetCurrentChildAsParent(err, sizeof err))
            break;
    }
    doc.GotoParent(err, sizeof err);
}

void ParseAndRead(const std::string& text)
{
    ParsedXml parsed(text);
    ASSERT_TRUE(parsed.result == 0 || parsed.result == 1);
    EXPECT_EQ(parsed.result == 0, parsed.doc.HasError());
    EXPECT_LE(std::string(parsed.doc.GetErrorText()).size(), 300u);
    ReadEverything(parsed.doc);
}
}

TEST(XmlHostileInput, EveryTruncationGivesAnErrorOrATree)
{
    MessageBoxRecorder boxes;
    int complete = 0;
    for (size_t length = 0; length <= kSample.size(); ++length) {
        ParsedXml parsed(kSample.substr(0, length));
        complete += parsed.result;
        ReadEverything(parsed.doc);
    }
    ParsedXml whole(kSample);
    EXPECT_EQ(whole.Value("backup", "note", 1, "rtf"), "\r\n{\\rtf1 a]`>b}");
    // Only the file cut after the root's end tag can still be whole.
    EXPECT_GE(complete, 1);
    EXPECT_LE(complete, 3);
}

TEST(XmlHostileInput, ShortDeepAndWideFilesStayWithinBounds)
{
    MessageBoxRecorder boxes;
    // Each stops where the lexer would look one byte further.
    for (const char* text : {"", "<", "<!", "<!-", "<!--", "<!---", "<!----", "<![CDATA", "<![CDATA[", "<![CDATA[]",
                             "<![CDATA[]]", "<?", "<??", "<a", "</", "<a>x", "\r", "\r\n", "a\r\n"})
        ParseAndRead(text);
    std::string deep = "<?xml?>";
    for (int i = 0; i < 5000; ++i)
        deep += "<a>";
    ParseAndRead(deep);
    ParseAndRead(deep + "x");

    std::string unclosed = XmlFile("<r>") + std::string(100000, '<');
    ParseAndRead(unclosed);
    std::string comments = XmlFile("<r>");
    for (int i = 0; i < 2000; ++i)
        comments += "<!---->";
    ParseAndRead(comments + "</r>");
}
