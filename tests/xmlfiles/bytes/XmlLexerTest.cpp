#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

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

TEST(XmlLexer, CdataKeepsItsTextButDropsCrLfRightAfterTheOpening)
{
    std::vector<Token> tokens = Tokens("<![CDATA[  x ]] > \r\n y  ]]>");
    ASSERT_EQ(tokens[0].kind, XT_CDATA);
    EXPECT_EQ(tokens[0].text, "  x ]] > \r\n y  ");

    tokens = Tokens("<![CDATA[\r\n\r\nline\r\n]]>");
    ASSERT_EQ(tokens[0].kind, XT_CDATA);
    EXPECT_EQ(tokens[0].text, "line\r\n");

    tokens = Tokens("<![CDATA[\nline]]>");
    EXPECT_EQ(tokens[0].text, "\nline");

    tokens = Tokens("<![CDATA[]]>");
    ASSERT_EQ(tokens[0].kind, XT_CDATA);
    EXPECT_EQ(tokens[0].text, "");

    // Plain content loses its blanks, tabs and line ends at both sides.
    tokens = Tokens("<a>\t x y \r\n</a>");
    ASSERT_EQ(tokens[3].kind, XT_CONTENT);
    EXPECT_EQ(tokens[3].text, "x y");
}

TEST(XmlLexer, NeverReadsPastTheEndOfItsBuffer)
{
    // Each input stops where the lexer would look one byte further.
    for (const char* text : {"<", "<!", "<!-", "<!--", "<!---", "<!----", "<![CDATA", "<![CDATA[",
                             "<![CDATA[]", "<![CDATA[]]", "<?", "<??", "<a", "</", "<a>x", "\r", "\r\n", "a\r\n"}) {
        std::vector<Token> tokens = Tokens(text);
        ASSERT_FALSE(tokens.empty());
        int last = tokens.back().kind;
        EXPECT_TRUE(last == XT_ERROR || last == XT_END_OF_FILE) << text;
    }
    EXPECT_EQ(Tokens("")[0].kind, XT_END_OF_FILE);
}

TEST(XmlLexer, WithoutABufferSaysSoAndReadsNothing)
{
    MessageBoxRecorder boxes;
    CXMLLexer lexer;
    lexer.NextToken();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.LastText(), "No buffer has been mentioned yet\r\n Don't know what to analyze... use SetPtrToBuffer");
}
