#include "xmlfiles/bytes/XmlBufferDocument.h"

#include <cstdio>
#include <new>

#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "xmlfiles/bytes/XmlMessages.h"

namespace {
int MessageForExpected(int kind)
{
    switch (kind) {
    case XT_START_TAG_OPEN: return IDS_XML_EXPECT_START_TAG_OPEN;
    case XT_START_TAG_CLOSE: return IDS_XML_EXPECT_START_TAG_CLOSE;
    case XT_END_TAG_OPEN: return IDS_XML_EXPECT_END_TAG_OPEN;
    case XT_END_TAG_CLOSE: return IDS_XML_EXPECT_END_TAG_CLOSE;
    case XT_TAG_NAME: return IDS_XML_EXPECT_TAG_NAME;
    case XT_CONTENT:
    case XT_CDATA: return IDS_XML_EXPECT_CONTENT;
    case XT_PROLOG_OPEN: return IDS_XML_EXPECT_PROLOG_OPEN;
    case XT_PROLOG_CONTENT: return IDS_XML_EXPECT_PROLOG_CONTENT;
    case XT_PROLOG_CLOSE: return IDS_XML_EXPECT_PROLOG_CLOSE;
    case XT_COMMENT_OPEN: return IDS_XML_EXPECT_COMMENT_OPEN;
    case XT_COMMENT_CONTENT: return IDS_XML_EXPECT_COMMENT_CONTENT;
    case XT_COMMENT_CLOSE: return IDS_XML_EXPECT_COMMENT_CLOSE;
    default: return 0;
    }
}
}

CXMLBufferDocument::CXMLBufferDocument()
    : m_buffer(nullptr), m_bufferSize(0), m_errorFlag(0), m_fileOpened(0), m_level(0), m_noTree(0)
{
    m_fileName[0] = '\0';
    m_errorText[0] = '\0';
}

CXMLBufferDocument::~CXMLBufferDocument() = default;

void CXMLBufferDocument::SetBuffer(const char* bytes, int32_t length, const char* fileName)
{
    m_fileName[0] = '\0';
    if (fileName)
        std::snprintf(m_fileName, sizeof m_fileName, "%s", fileName);
    m_buffer = bytes;
    m_bufferSize = (bytes && length > 0) ? length : 0;
    m_fileOpened = 1;
    ResetLexer();
}

void CXMLBufferDocument::ClearBuffer()
{
    m_buffer = nullptr;
    m_bufferSize = 0;
    m_fileOpened = 0;
    m_lexer.SetPtrToBuffer(nullptr, 0, nullptr);
}

void CXMLBufferDocument::SetErrorText(const char* text)
{
    std::snprintf(m_errorText, sizeof m_errorText, "%s", text ? text : "");
}

void CXMLBufferDocument::ResetLexer()
{
    m_lexer.SetPtrToBuffer(m_buffer, m_bufferSize, m_fileName);
    m_tree.reset();
    m_level = 0;
}

int CXMLBufferDocument::Parse()
{
    try {
        return RunParse();
    } catch (const CGenericException&) {
        ShowMessageBox(nullptr, "The XML file is invalid", ProgramTitle, kMbOk | kMbIconHand);
        throw;
    } catch (...) {
        ShowMessageBox(nullptr, "The XML file is invalid\\r\n\r\nUnknown exception", ProgramTitle,
                       kMbOk | kMbIconHand);
        return 0;
    }
}

int CXMLBufferDocument::RunParse()
{
    if (!m_fileOpened) {
        ShowMessageBox(nullptr, "No QPK file has been mentioned yet\r\n Don't know what file to parse", ProgramTitle,
                       kMbOk | kMbIconHand);
        return 0;
    }
    m_errorFlag = 0;
    m_errorText[0] = '\0';
    // A broken file is refused by the lexical pass before any node is built.
    ResetLexer();
    if (!LexicalCheck())
        return 0;
    ResetLexer();
    NextToken();
    return ParseDocument();
}

int CXMLBufferDocument::LexicalCheck()
{
    do
        NextToken();
    while (Kind() != XT_END_OF_FILE && Kind() != XT_ERROR);
    if (Kind() == XT_ERROR) {
        m_errorFlag = 1;
        std::snprintf(m_errorText, sizeof m_errorText, "%s", m_lexer.GetErrorText());
        return 0;
    }
    return 1;
}

int CXMLBufferDocument::ParseDocument()
{
    if (!Expect(XT_PROLOG_OPEN) || !ExpectNext(XT_PROLOG_CONTENT) || !ExpectNext(XT_PROLOG_CLOSE))
        return 0;
    NextToken();
    if (!ParseComments() || !ParseRootElement() || !ParseComments())
        return 0;
    if (Kind() == XT_END_OF_FILE)
        return 1;
    ShowMessageBox(nullptr, "Unknown token in the QPK file", ProgramTitle, kMbOk);
    return FailWith(IDS_XML_EXPECT_PROLOG_OPEN);
}

int CXMLBufferDocument::ParseComment()
{
    if (!Expect(XT_COMMENT_OPEN) || !ExpectNext(XT_COMMENT_CONTENT) || !ExpectNext(XT_COMMENT_CLOSE))
        return 0;
    NextToken();
    return 1;
}

int CXMLBufferDocument::ParseComments()
{
    while (Kind() == XT_COMMENT_OPEN)
        if (!ParseComment())
            return 0;
    return 1;
}

// Text directly inside the root element, before its first child, is not kept.
int CXMLBufferDocument::SkipMisc()
{
    if (!ParseComments())
        return 0;
    while (Kind() == XT_CONTENT || Kind() == XT_CDATA)
        NextToken();
    return ParseComments();
}

int CXMLBufferDocument::ParseRootElement()
{
    if (!Expect(XT_START_TAG_OPEN) || !ExpectNext(XT_TAG_NAME) || !ActionRoot1())
        return 0;
    if (!ExpectNext(XT_START_TAG_CLOSE))
        return 0;
    NextToken();
    if (!SkipMisc() || !ParseElementList())
        return 0;
    if (!Expect(XT_END_TAG_OPEN) || !ExpectNext(XT_TAG_NAME) || !CheckEndTag(m_tree->RootName()))
        return 0;
    --m_level;
    if (!ExpectNext(XT_END_TAG_CLOSE))
        return 0;
    NextToken();
    return 1;
}

int CXMLBufferDocument::ActionRoot1()
{
    m_level = 1;
    m_tree.reset(new (std::nothrow) CXMLTree(static_cast<size_t>(m_bufferSize)));
    if (!m_tree) {
        ShowMessageBox(nullptr, "\r\nMemory allocation error\r\nActionRoot1::m_tree is NULL", ProgramTitle,
                       kMbOk | kMbIconHand);
        return 0;
    }
    m_tree->AddRoot(NameToken(), m_level);
    return 1;
}

// The children of the element on the current level, each with its body; the
// recursion goes no deeper than kMaxDepth elements.
int CXMLBufferDocument::ParseElementList()
{
    while (Kind() == XT_START_TAG_OPEN) {
        if (!ExpectNext(XT_TAG_NAME))
            return 0;
        if (m_level >= kMaxDepth)
            return Fail(kXmlTooDeepText);
        ++m_level;
        m_tree->AddChild(NameToken(), m_level);
        if (!ExpectNext(XT_START_TAG_CLOSE))
            return 0;
        NextToken();
        if (!ParseElementBody())
            return 0;
        if (!Expect(XT_END_TAG_OPEN) || !ExpectNext(XT_TAG_NAME) || !CheckEndTag(m_tree->NameAtLevel(m_level)))
            return 0;
        --m_level;
        if (!ExpectNext(XT_END_TAG_CLOSE))
            return 0;
        NextToken();
        if (!ParseComments())
            return 0;
    }
    return 1;
}

// An element's body: nothing, or one text (plain or CDATA) that child elements
// may follow. Text after children is left for the caller to refuse.
int CXMLBufferDocument::ParseElementBody()
{
    if (Kind() == XT_END_TAG_OPEN)
        return 1;
    if (!ParseComments())
        return 0;
    if (Kind() == XT_CONTENT || Kind() == XT_CDATA) {
        m_tree->SetContent(m_lexer.GetTokenText(), m_level);
        NextToken();
        if (!ParseComments())
            return 0;
    }
    return ParseElementList();
}

int CXMLBufferDocument::ExpectNext(int kind)
{
    NextToken();
    return Expect(kind);
}

int CXMLBufferDocument::Expect(int kind)
{
    if (Kind() == kind)
        return 1;
    return FailWith(MessageForExpected(kind));
}

int CXMLBufferDocument::FailWith(int messageId)
{
    return Fail(XmlMessageText(messageId));
}

int CXMLBufferDocument::Fail(const char* message)
{
    m_errorFlag = 1;
    FormatXmlErrorText(m_errorText, m_fileName, message, m_lexer.GetCurrentLine(), " column=",
                       m_lexer.GetCurrentColumn());
    return 0;
}

int CXMLBufferDocument::CheckEndTag(const char* expectedName)
{
    const char* found = m_lexer.GetTokenText();
    if (XmlNamesEqual(found, expectedName))
        return 1;
    m_errorFlag = 1;
    FormatXmlErrorText(m_errorText, m_fileName, XmlMessageText(IDS_XML_END_TAG_MISMATCH), m_lexer.GetCurrentLine(),
                       " column ", m_lexer.GetCurrentColumn(),
                       {XmlMessageText(IDS_XML_EXPECTING), "</", expectedName, ">", XmlMessageText(IDS_XML_BUT_FOUND),
                        "</", found, ">\""});
    return 0;
}

CXmlNameToken CXMLBufferDocument::NameToken()
{
    return {Kind(), m_lexer.GetTokenText(), m_lexer.GetTokenStartLine(), m_lexer.GetTokenStartColumn()};
}
