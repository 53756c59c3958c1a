// Random, truncated and damaged files: each gives an error or a tree, never a
// crash or a read outside the file's bytes.
#include <random>
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
    EXPECT_EQ(whole.Value("backup", "note", 1, "rtf"), "{\\rtf1 a]`>b}");
    // Only the file cut after the root's end tag can still be whole.
    EXPECT_GE(complete, 1);
    EXPECT_LE(complete, 3);
}

// Half the rounds damage the sample, half string random pieces together.
TEST(XmlHostileInput, DamagedAndRandomFilesGiveAnErrorOrATree)
{
    MessageBoxRecorder boxes;
    std::mt19937 random(20240611);
    const std::string alphabet = std::string("<>/?!-[]CDAT \r\n\t\"'=`a_.1") + '\0' + '\xff';
    const char* pieces[] = {"<", ">", "</", "<?", "?>", "<!--", "-->", "<![CDATA[", "]]>", "\r\n", "\n", "\r",
                            " ",  "a", "note", "backup", "title", "-", "!", "?", "]", "\0", "\x80", "x>"};
    for (int round = 0; round < 8000; ++round) {
        std::string text;
        if (round % 2) {
            text = kSample;
            for (int e = 1 + static_cast<int>(random() % 4); e > 0 && !text.empty(); --e) {
                size_t at = random() % text.size();
                char c = alphabet[random() % alphabet.size()];
                switch (random() % 3) {
                case 0: text[at] = c; break;
                case 1: text.insert(text.begin() + at, c); break;
                default: text.erase(at, 1 + random() % 8); break;
                }
            }
        } else {
            text = round % 4 ? "<?xml?>" : "";
            for (int i = static_cast<int>(random() % 60); i > 0; --i) {
                const char* piece = pieces[random() % (sizeof pieces / sizeof pieces[0])];
                text += piece[0] ? std::string(piece) : std::string(1, '\0');
            }
        }
        ParseAndRead(text);
        if (round % 500 == 0)
            boxes.Clear();
    }
}

TEST(XmlHostileInput, DeepAndWideFilesStayWithinBounds)
{
    MessageBoxRecorder boxes;
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
