#include <string>

#include <gtest/gtest.h>

#include "ParsedXml.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"

namespace {
const char kLexical[] = ". Can't work with this XML file. A lexical error was found: \r\n";

std::string ParseError(const std::string& text, const char* fileName = "t.QPD")
{
    ParsedXml parsed(text, fileName);
    EXPECT_EQ(parsed.result, 0) << text;
    EXPECT_TRUE(parsed.doc.HasError());
    return parsed.doc.GetErrorText();
}

std::string Expected(const char* fileName, const std::string& message)
{
    return fileName + std::string(kLexical) + message;
}
}

TEST(XmlParser, ReadsAFileOfTheDialect)
{
    ParsedXml parsed(XmlFile("<!-- saved by Quillnet+ -->\r\n"
                             "<content>\r\n"
                             "   <options>\r\n"
                             "      <userID>  7 </userID>\r\n"
                             "      <!-- the title -->\r\n"
                             "      <title><![CDATA[ <b>Shop</b> ]]></title>\r\n"
                             "      <empty></empty>\r\n"
                             "   </options>\r\n"
                             "</content>\r\n"
                             "<!-- end -->\r\n"));
    ASSERT_EQ(parsed.result, 1) << parsed.doc.GetErrorText();
    EXPECT_FALSE(parsed.doc.HasError());
    EXPECT_EQ(parsed.Value("content", "options", 1, "userID"), "7");
    EXPECT_EQ(parsed.Value("content", "options", 1, "title"), " <b>Shop</b> ");
    EXPECT_EQ(parsed.Value("content", "options", 1, "empty"), "");

    const CXMLNode* root = parsed.doc.GetTree()->GetRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->name, "content");
    EXPECT_EQ(root->level, 1);
    EXPECT_EQ(root->line, 3);
    EXPECT_EQ(root->column, 2);
    const CXMLNode* userId = root->firstChild->firstChild;
    EXPECT_EQ(userId->level, 3);
    EXPECT_EQ(userId->line, 5);
    EXPECT_EQ(userId->column, 8);
    EXPECT_EQ(root->firstChild->firstChild->nextSibling->nextSibling->content, nullptr);
}

TEST(XmlParser, RequiresTheProlog)
{
    EXPECT_EQ(ParseError("<content></content>"), Expected("t.QPD", "\"<?\" expected\r\nin line 1 column=2\r\n"));
    // Grammar errors name the lexer's position after the token: here past "<!--".
    EXPECT_EQ(ParseError("<!-- c --><?xml?><content></content>"),
              Expected("t.QPD", "\"<?\" expected\r\nin line 1 column=5\r\n"));
    EXPECT_EQ(ParseError(""), Expected("t.QPD", "\"<?\" expected\r\nin line 1 column=1\r\n"));
    ParsedXml parsed("  \r\n<?xml?><content></content>");
    EXPECT_EQ(parsed.result, 1);
}

TEST(XmlParser, RefusesAttributesAndEmptyElementTags)
{
    EXPECT_EQ(ParseError(XmlFile("<content a=\"1\">\r\n</content>\r\n"), "noteman.QPD"),
              "noteman.QPD. Can't work with this XML file. A lexical error was found: \r\n"
              "Invalid character in the tag name.Missing \">\"\r\nin line 2 column 9\r\n");
    EXPECT_EQ(ParseError(XmlFile("<content>\r\n<a/>\r\n</content>")),
              Expected("t.QPD", "Invalid character in the tag name.Missing \">\"\r\nin line 3 column 3\r\n"));
    EXPECT_EQ(ParseError(XmlFile("<content >\r\n</content>")),
              Expected("t.QPD", "Invalid character in the tag name.Missing \">\"\r\nin line 2 column 9\r\n"));
}

TEST(XmlParser, RefusesPlainTextThatIsNotSafe)
{
    EXPECT_EQ(ParseError(XmlFile("<r><a> !x</a></r>")),
              Expected("t.QPD", "Unexpected character encountered. Missing \"<\"\r\nin line 2 column 8\r\n"));
    EXPECT_EQ(ParseError(XmlFile("<r><a>?</a></r>")),
              Expected("t.QPD", "Unexpected character encountered. Missing \"<\"\r\nin line 2 column 7\r\n"));
    EXPECT_EQ(ParseError(XmlFile("<r><a>1 > 0</a></r>")),
              Expected("t.QPD", "Unexpected character encountered. Missing \"<\"\r\nin line 2 column 9\r\n"));
    // The same texts are fine inside CDATA.
    ParsedXml parsed(XmlFile("<r><a><![CDATA[!1 > 0 ?]]></a></r>"));
    ASSERT_EQ(parsed.result, 1);
    EXPECT_STREQ(parsed.doc.GetTree()->GetRoot()->firstChild->content, "!1 > 0 ?");
}

TEST(XmlParser, KeepsOneTextPerElement)
{
    // Text and then child elements: the text belongs to the element.
    ParsedXml both(XmlFile("<r><a> head <b>1</b></a></r>"));
    ASSERT_EQ(both.result, 1) << both.doc.GetErrorText();
    EXPECT_STREQ(both.doc.GetTree()->GetRoot()->firstChild->content, "head");
    EXPECT_EQ(both.Value("r", "a", 1, "b"), "1");

    // Text after child elements is refused.
    EXPECT_EQ(ParseError(XmlFile("<r>\r\n<a>\r\n<b>1</b>\r\ntail\r\n</a>\r\n</r>\r\n")),
              Expected("t.QPD", "\"</\" expected\r\nin line 6 column=1\r\n"));
    // Two texts, or plain text and CDATA, are refused.
    EXPECT_EQ(ParseError(XmlFile("<r><a>one<!-- c -->two</a></r>")),
              Expected("t.QPD", "\"</\" expected\r\nin line 2 column=23\r\n"));
    EXPECT_EQ(ParseError(XmlFile("<r><a><![CDATA[x]]>y</a></r>")),
              Expected("t.QPD", "\"</\" expected\r\nin line 2 column=21\r\n"));
}

TEST(XmlParser, AllowsCommentsBetweenElementsAndAroundText)
{
    ParsedXml parsed(XmlFile("<!--a--><!--b--><r><!--c--><a><!--d-->x<!--e--></a><!--f--><a>y</a><!--g--></r>"
                             "<!--h-->"));
    ASSERT_EQ(parsed.result, 1) << parsed.doc.GetErrorText();
    char err[256];
    EXPECT_EQ(parsed.doc.CountElements("r", "a", err, sizeof err), 2);
    EXPECT_STREQ(parsed.doc.GetTree()->GetRoot()->firstChild->content, "x");

    EXPECT_EQ(ParseError(XmlFile("<r><a><!--x</a></r>")),
              Expected("t.QPD", "Opened comment tag not closed. Unexpected end of file\r\nin line 2 column 20\r\n"));
}

TEST(XmlParser, SkipsTextDirectlyInsideTheRootBeforeItsChildren)
{
    ParsedXml parsed(XmlFile("<r> loose <![CDATA[more]]><a>1</a></r>"));
    ASSERT_EQ(parsed.result, 1) << parsed.doc.GetErrorText();
    EXPECT_EQ(parsed.doc.GetTree()->GetRoot()->content, nullptr);
    char err[256];
    EXPECT_EQ(parsed.doc.CountElements("r", "a", err, sizeof err), 1);
}

TEST(XmlParser, ComparesNamesWithoutRegardToCase)
{
    ParsedXml parsed(XmlFile("<Content><noteID>4</NOTEid></CONTENT>"));
    ASSERT_EQ(parsed.result, 1) << parsed.doc.GetErrorText();
    char out[16];
    char err[256];
    EXPECT_EQ(parsed.doc.CountElements("content", "noteId", err, sizeof err), 1);
    ParsedXml records(XmlFile("<content><note><noteID>4</noteID></note></content>"));
    EXPECT_EQ(records.doc.GetValue("CONTENT", "Note", 1, "noteId", out, sizeof out, err, sizeof err), 1);
    EXPECT_STREQ(out, "4");

    EXPECT_EQ(ParseError(XmlFile("<r><a>1</B></r>")),
              Expected("t.QPD", "The end tag does not match the start tag\r\nin line 2 column 11\r\n"
                                "expecting \"</a>\" but found \"</B>\""));
    EXPECT_EQ(ParseError(XmlFile("<r><a>1</a></rr>")),
              Expected("t.QPD", "The end tag does not match the start tag\r\nin line 2 column 16\r\n"
                                "expecting \"</r>\" but found \"</rr>\""));
}

TEST(XmlParser, RefusesAnythingButCommentsAfterTheRoot)
{
    MessageBoxRecorder boxes;
    EXPECT_EQ(ParseError(XmlFile("<r></r>\r\n<x></x>")), Expected("t.QPD", "\"<?\" expected\r\nin line 3 column=2\r\n"));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Unknown token in the QPK file");
    EXPECT_EQ(boxes.Boxes()[0].caption, "Quillnet+");
    EXPECT_EQ(boxes.Boxes()[0].flags, 0u);
}

TEST(XmlParser, ReportsGrammarErrors)
{
    EXPECT_EQ(ParseError(XmlFile("</r>")), Expected("t.QPD", "\"<\" expected\r\nin line 2 column=3\r\n"));
    EXPECT_EQ(ParseError(XmlFile("<?xml?><r></r>")), Expected("t.QPD", "\"<\" expected\r\nin line 2 column=3\r\n"));
    EXPECT_EQ(ParseError(XmlFile("<r><a>1</a>")), Expected("t.QPD", "\"</\" expected\r\nin line 2 column=12\r\n"));
    EXPECT_EQ(ParseError(XmlFile("<r></>")),
              Expected("t.QPD", "The end tag does not match the start tag\r\nin line 2 column 6\r\n"
                                "expecting \"</r>\" but found \"</>\""));
    EXPECT_EQ(ParseError("<?x?>"), Expected("t.QPD", "\"<\" expected\r\nin line 1 column=6\r\n"));
}

TEST(XmlParser, CapsTheNestingDepth)
{
    auto nested = [](int depth) {
        std::string open, close;
        for (int i = 0; i < depth; ++i) {
            open += "<e>";
            close += "</e>";
        }
        return XmlFile(open + "x" + close);
    };
    ParsedXml deepest(nested(64));
    EXPECT_EQ(deepest.result, 1) << deepest.doc.GetErrorText();

    // 65 levels: the 65th start tag ends at column 195 of line 2.
    EXPECT_EQ(ParseError(nested(65)),
              Expected("t.QPD", "The elements are nested deeper than 64 levels\r\nin line 2 column=195\r\n"));
    // A hostile file nesting far deeper is refused just as plainly.
    ParsedXml hostile(nested(200000));
    EXPECT_EQ(hostile.result, 0);
    EXPECT_NE(std::string(hostile.doc.GetErrorText()).find("nested deeper than 64 levels"), std::string::npos);
}

TEST(XmlParser, KeepsErrorTextsWithin300Characters)
{
    std::string longName(259, 'n');
    std::string text = ParseError(XmlFile("<r a>"), longName.c_str());
    EXPECT_EQ(text, longName + ". ");

    std::string midName(200, 'm');
    text = ParseError(XmlFile("<r a>"), midName.c_str());
    EXPECT_EQ(text, midName + kLexical);
    EXPECT_LE(text.size(), 300u);

    // The found name no longer fits: the text stops before it.
    std::string tag(120, 't');
    text = ParseError(XmlFile("<" + tag + ">1</" + tag + "x>"), "f");
    EXPECT_EQ(text, Expected("f", "The end tag does not match the start tag\r\nin line 2 column 247\r\n"
                                  "expecting \"</" + tag + ">\" but found \"</"));
    EXPECT_LE(text.size(), 300u);
}

TEST(XmlParser, ReportsParsingWithoutBytes)
{
    MessageBoxRecorder boxes;
    CXMLBufferDocument doc;
    EXPECT_EQ(doc.Parse(), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.LastText(), "No QPK file has been mentioned yet\r\n Don't know what file to parse");
    EXPECT_EQ(boxes.Boxes()[0].flags, static_cast<unsigned>(kMbIconHand));
}

TEST(XmlParser, ASecondParseBuildsANewTree)
{
    ParsedXml parsed(XmlFile("<r><a>1</a><a>2</a></r>"));
    ASSERT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.doc.Parse(), 1);
    char err[256];
    EXPECT_EQ(parsed.doc.CountElements("r", "a", err, sizeof err), 2);
    EXPECT_EQ(parsed.doc.GetTree()->GetNodeCount(), 3);
}
