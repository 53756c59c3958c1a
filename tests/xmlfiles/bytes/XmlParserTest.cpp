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

const char* Content(ParsedXml& parsed)
{
    EXPECT_EQ(parsed.result, 1) << parsed.doc.GetErrorText();
    return parsed.doc.GetTree()->GetRoot()->firstChild->content;
}
}

TEST(XmlParser, ReadsAFileOfTheDialectAndWhatItAllows)
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
    EXPECT_EQ(userId->nextSibling->nextSibling->content, nullptr);
    // A second parse builds a new tree rather than adding to the old one.
    EXPECT_EQ(parsed.doc.Parse(), 1);
    EXPECT_EQ(parsed.doc.GetTree()->GetNodeCount(), 5);

    ParsedXml blanks("  \r\n<?xml?><content></content>");
    EXPECT_EQ(blanks.result, 1) << "blank lines before the prolog";
    ParsedXml cdata(XmlFile("<r><a><![CDATA[!1 > 0 ?]]></a></r>"));
    EXPECT_STREQ(Content(cdata), "!1 > 0 ?") << "what plain text may not hold, CDATA may";
    ParsedXml both(XmlFile("<r><a> head <b>1</b></a></r>"));
    EXPECT_STREQ(Content(both), "head") << "text before child elements belongs to the element";
    EXPECT_EQ(both.Value("r", "a", 1, "b"), "1");

    char err[256];
    ParsedXml comments(XmlFile("<!--a--><!--b--><r><!--c--><a><!--d-->x<!--e--></a><!--f--><a>y</a><!--g--></r>"
                               "<!--h-->"));
    EXPECT_STREQ(Content(comments), "x");
    EXPECT_EQ(comments.doc.CountElements("r", "a", err, sizeof err), 2);

    // Text directly inside the root, before its children, is skipped.
    ParsedXml loose(XmlFile("<r> loose <![CDATA[more]]><a>1</a></r>"));
    ASSERT_EQ(loose.result, 1) << loose.doc.GetErrorText();
    EXPECT_EQ(loose.doc.GetTree()->GetRoot()->content, nullptr);
    EXPECT_EQ(loose.doc.CountElements("r", "a", err, sizeof err), 1);

    ParsedXml cases(XmlFile("<Content><note><noteID>4</NOTEid></note></CONTENT>"));
    EXPECT_EQ(cases.Value("CONTENT", "Note", 1, "noteId"), "4") << "names compare without regard to case";
}

TEST(XmlParser, EachBrokenRuleGivesItsTextLineAndColumn)
{
    struct {
        std::string text;
        const char* message;
    } cases[] = {
        {"<content></content>", "\"<?\" expected\r\nin line 1 column=2\r\n"},
        // Grammar errors name the lexer's position after the token: here past "<!--".
        {"<!-- c --><?xml?><content></content>", "\"<?\" expected\r\nin line 1 column=5\r\n"},
        {"", "\"<?\" expected\r\nin line 1 column=1\r\n"},
        {XmlFile("<content>\r\n<a/>\r\n</content>"),
         "Invalid character in the tag name.Missing \">\"\r\nin line 3 column 3\r\n"},
        {XmlFile("<content >\r\n</content>"),
         "Invalid character in the tag name.Missing \">\"\r\nin line 2 column 9\r\n"},
        {XmlFile("<r><a> !x</a></r>"), "Unexpected character encountered. Missing \"<\"\r\nin line 2 column 8\r\n"},
        {XmlFile("<r><a>?</a></r>"), "Unexpected character encountered. Missing \"<\"\r\nin line 2 column 7\r\n"},
        {XmlFile("<r><a>1 > 0</a></r>"), "Unexpected character encountered. Missing \"<\"\r\nin line 2 column 9\r\n"},
        // Text after child elements, two texts, or text and CDATA.
        {XmlFile("<r>\r\n<a>\r\n<b>1</b>\r\ntail\r\n</a>\r\n</r>\r\n"), "\"</\" expected\r\nin line 6 column=1\r\n"},
        {XmlFile("<r><a>one<!-- c -->two</a></r>"), "\"</\" expected\r\nin line 2 column=23\r\n"},
        {XmlFile("<r><a><![CDATA[x]]>y</a></r>"), "\"</\" expected\r\nin line 2 column=21\r\n"},
        {XmlFile("<r><a><!--x</a></r>"),
         "Opened comment tag not closed. Unexpected end of file\r\nin line 2 column 20\r\n"},
        {XmlFile("<r><a>1</B></r>"),
         "The end tag does not match the start tag\r\nin line 2 column 11\r\nexpecting \"</a>\" but found \"</B>\""},
        {XmlFile("<r><a>1</a></rr>"),
         "The end tag does not match the start tag\r\nin line 2 column 16\r\nexpecting \"</r>\" but found \"</rr>\""},
        {XmlFile("</r>"), "\"<\" expected\r\nin line 2 column=3\r\n"},
        {XmlFile("<?xml?><r></r>"), "\"<\" expected\r\nin line 2 column=3\r\n"},
        {XmlFile("<r><a>1</a>"), "\"</\" expected\r\nin line 2 column=12\r\n"},
        {XmlFile("<r></>"),
         "The end tag does not match the start tag\r\nin line 2 column 6\r\nexpecting \"</r>\" but found \"</>\""},
        {"<?x?>", "\"<\" expected\r\nin line 1 column=6\r\n"},
        // The lexical pass refuses these before the grammar looks at them.
        {"<a>x!</a>\r\n!", "Unexpected character encountered. Missing \"<\"\r\nin line 2 column 1\r\n"},
        {"<", "Unexpected end of file after \"<\"\r\nin line 1 column 2\r\n"},
        {"<1a>", "Unexpected character as the first letter of the tag name\r\nin line 1 column 2\r\n"},
        {"<!DOCTYPE x>", "Unexpected character as the first letter of the tag name\r\nin line 1 column 2\r\n"},
        {"<?xml", "Processing instruction \"<?\" not closed.Unexpected end of file\r\nin line 1 column 6\r\n"},
        {"<?xml <a>", "Processing instruction \"<?\" not closed.Missing \"?>\"\r\nin line 1 column 7\r\n"},
        {"<?xml ? >", "Processing instruction \"?>\" not closed\r\nin line 1 column 7\r\n"},
        {"<a", "Element not closed. Missing \">\". Unexpected end of file\r\nin line 1 column 3\r\n"},
        {"<a></a b>", "Invalid character in the tag name.Missing \">\"\r\nin line 1 column 7\r\n"},
        {"<a>text", "End tag is missing \"/>\". Unexpected end of file\r\nin line 1 column 8\r\n"},
        {"<![CDATA[ x ]]", "CDATA section not closed. \"]]>\" is missing\r\nin line 1 column 15\r\n"},
        // Only CR LF starts a new line; a lone LF or CR does not count one.
        {"<a>\r\n<b>\r\n<c d>", "Invalid character in the tag name.Missing \">\"\r\nin line 3 column 3\r\n"},
        {"<a>\n<b>\n<c d>", "Invalid character in the tag name.Missing \">\"\r\nin line 1 column 3\r\n"},
        {"<a>\r<b>\r<c d>", "Invalid character in the tag name.Missing \">\"\r\nin line 1 column 3\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseError(c.text), "t.QPD" + std::string(kLexical) + c.message) << c.text;
    EXPECT_EQ(ParseError(XmlFile("<content a=\"1\">\r\n</content>\r\n"), "noteman.QPD"),
              "noteman.QPD. Can't work with this XML file. A lexical error was found: \r\n"
              "Invalid character in the tag name.Missing \">\"\r\nin line 2 column 9\r\n");

    // Only comments may follow the root.
    MessageBoxRecorder boxes;
    EXPECT_EQ(ParseError(XmlFile("<r></r>\r\n<x></x>")),
              "t.QPD" + std::string(kLexical) + "\"<?\" expected\r\nin line 3 column=2\r\n");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Unknown token in the QPK file");
    EXPECT_EQ(boxes.Boxes()[0].flags, 0u);
}

TEST(XmlParser, CapsTheNestingDepthAndKeepsErrorTextsWithin300Characters)
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
              "t.QPD" + std::string(kLexical) +
                  "The elements are nested deeper than 64 levels\r\nin line 2 column=195\r\n");
    // A hostile file nesting far deeper is refused just as plainly.
    ParsedXml hostile(nested(200000));
    EXPECT_EQ(hostile.result, 0);
    EXPECT_NE(std::string(hostile.doc.GetErrorText()).find("nested deeper than 64 levels"), std::string::npos);

    std::string longName(259, 'n');
    EXPECT_EQ(ParseError(XmlFile("<r a>"), longName.c_str()), longName + ". ");
    std::string midName(200, 'm');
    EXPECT_EQ(ParseError(XmlFile("<r a>"), midName.c_str()), midName + kLexical);

    // The found name no longer fits: the text stops before it.
    std::string tag(120, 't');
    std::string text = ParseError(XmlFile("<" + tag + ">1</" + tag + "x>"), "f");
    EXPECT_EQ(text, "f" + std::string(kLexical) + "The end tag does not match the start tag\r\nin line 2 column 247\r\n"
                    "expecting \"</" + tag + ">\" but found \"</");
    EXPECT_LE(text.size(), 300u);
}
