#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ParsedXml.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "xmlfiles/bytes/XmlLexer.h"

namespace {
struct Token {
    int kind;
    std::string text;
    int line;
    int column;
};

// Every token of a text up to the end or the first error.
std::vector<Token> Tokens(const std::string& text)
{
    std::vector<char> bytes(text.begin(), text.end());
    CXMLLexer lexer;
    lexer.SetPtrToBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), "lex.QPD");
    std::vector<Token> tokens;
    for (int guard = 0; guard < 1000; ++guard) {
        lexer.NextToken();
        tokens.push_back({lexer.GetTokenKind(), lexer.GetTokenText(), lexer.GetTokenStartLine(),
                          lexer.GetTokenStartColumn()});
        if (lexer.GetTokenKind() == XT_END_OF_FILE || lexer.GetTokenKind() == XT_ERROR)
            break;
    }
    return tokens;
}
}

TEST(XmlLexer, CutsAFileIntoItsTokens)
{
    std::vector<Token> tokens = Tokens("<?xml v?>\r\n<note>\r\n  <!-- c -->\r\n  <title> Hi there </title>"
                                       "<body><![CDATA[ a<b> ]]></body></note>");
    std::vector<std::pair<int, std::string>> expected = {
        {XT_PROLOG_OPEN, "<?"},       {XT_PROLOG_CONTENT, "xml v"}, {XT_PROLOG_CLOSE, "?>"},
        {XT_START_TAG_OPEN, "<"},     {XT_TAG_NAME, "note"},        {XT_START_TAG_CLOSE, ">"},
        {XT_COMMENT_OPEN, "<!-- "},   {XT_COMMENT_CONTENT, " c "},  {XT_COMMENT_CLOSE, "->"},
        {XT_START_TAG_OPEN, "<"},     {XT_TAG_NAME, "title"},       {XT_START_TAG_CLOSE, ">"},
        {XT_CONTENT, "Hi there"},     {XT_END_TAG_OPEN, "</"},      {XT_TAG_NAME, "title"},
        {XT_END_TAG_CLOSE, ">"},      {XT_START_TAG_OPEN, "<"},     {XT_TAG_NAME, "body"},
        {XT_START_TAG_CLOSE, ">"},    {XT_CDATA, " a<b> "},         {XT_END_TAG_OPEN, "</"},
        {XT_TAG_NAME, "body"},        {XT_END_TAG_CLOSE, ">"},      {XT_END_TAG_OPEN, "</"},
        {XT_TAG_NAME, "note"},        {XT_END_TAG_CLOSE, ">"},      {XT_END_OF_FILE, ""},
    };
    ASSERT_EQ(tokens.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(tokens[i].kind, expected[i].first) << i;
        EXPECT_EQ(tokens[i].text, expected[i].second) << i;
    }
    // Names carry where they began: "<title>" is on line 3 after two blanks.
    EXPECT_EQ(tokens[10].line, 4);
    EXPECT_EQ(tokens[10].column, 4);
    EXPECT_EQ(tokens[4].line, 2);
    EXPECT_EQ(tokens[4].column, 2);
}

// CDATA keeps its text as it stands, line breaks after the opening too; plain
// content loses its blanks, tabs and line ends at both sides.
TEST(XmlLexer, KeepsCdataAsItStandsAndTrimsPlainContent)
{
    const struct {
        const char* text;
        size_t token;
        int kind;
        const char* value;
    } cases[] = {
        {"<![CDATA[  x ]] > \r\n y  ]]>", 0, XT_CDATA, "  x ]] > \r\n y  "},
        {"<![CDATA[\r\n\r\nline\r\n]]>", 0, XT_CDATA, "\r\n\r\nline\r\n"},
        {"<![CDATA[\nline]]>", 0, XT_CDATA, "\nline"},
        {"<![CDATA[]]>", 0, XT_CDATA, ""},
        {"<a>\t x y \r\n</a>", 3, XT_CONTENT, "x y"},
    };
    for (const auto& c : cases) {
        std::vector<Token> tokens = Tokens(c.text);
        ASSERT_GT(tokens.size(), c.token) << c.text;
        EXPECT_EQ(tokens[c.token].kind, c.kind) << c.text;
        EXPECT_EQ(tokens[c.token].text, c.value) << c.text;
    }
    EXPECT_EQ(Tokens("")[0].kind, XT_END_OF_FILE);

    MessageBoxRecorder boxes;
    CXMLLexer lexer;
    lexer.NextToken();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.LastText(), "No buffer has been mentioned yet\r\n Don't know what to analyze... use SetPtrToBuffer");
}

// The writer's escape of "]]>" in CDATA texts; the lines' layout is checked
// byte for byte in the files the writer makes.
TEST(XmlLines, CdataEscapeChangesTheSecondBracketAndNegativeLevelsAreNotIndented)
{
    const char* const pairs[][2] = {{"a]]>b", "a]`>b"}, {"]]]>", "]]`>"}, {"]]>]]>", "]`>]`>"}};
    for (const auto& pair : pairs) {
        EXPECT_EQ(CdataToggled(pair[0], 1), pair[1]);
        EXPECT_EQ(CdataToggled(pair[1], 0), pair[0]);
    }
    EXPECT_EQ(CdataToggled("]] > ]>", 1), "]] > ]>");
    EXPECT_EQ(CdataToggled("]", 1), "]");
    EXPECT_EQ(CdataToggled("", 0), "");
    // A text that already held "]`>" does not survive the round trip.
    EXPECT_EQ(CdataToggled(CdataToggled("x]`>", 1), 0), "x]]>");
    ToggleCdataEscape(nullptr, 1);

    EXPECT_EQ(XmlElementLine("x", "1", -1, false), "<x>1</x>");
}
