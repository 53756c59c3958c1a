#include "xmlfiles/bytes/XmlLexer.h"

#include <cstring>

#include "foundation/bytes/MessageBoxes.h"
#include "xmlfiles/bytes/XmlMessages.h"

namespace {
bool IsNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsNameChar(char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool IsWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsContentTrimmed(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void CopyCut(char* target, size_t size, const char* source)
{
    size_t length = std::strlen(source);
    if (length >= size)
        length = size - 1;
    std::memcpy(target, source, length);
    target[length] = '\0';
}
}

CXMLLexer::CXMLLexer(const char* buffer, int32_t length, const char* fileName)
    : m_buffer(nullptr), m_length(0), m_tokenText(1, '\0'), m_tokenStart(0), m_tokenEnd(0),
      m_tokenStartLine(0), m_tokenStartColumn(0), m_tokenEndLine(0), m_tokenEndColumn(0),
      m_tokenKind(0), m_current(0), m_position(0), m_line(1), m_column(1), m_state(kStart),
      m_tokenComplete(0), m_errorLine(0), m_errorColumn(0), m_bufferSet(0)
{
    m_tokenMessage[0] = '\0';
    m_errorText[0] = '\0';
    m_fileName[0] = '\0';
    if (buffer && length > 0 && buffer[0] != '\0')
        SetPtrToBuffer(buffer, length, fileName);
}

void CXMLLexer::SetPtrToBuffer(const char* buffer, int32_t length, const char* fileName)
{
    m_buffer = buffer;
    m_length = (buffer && length > 0) ? length : 0;
    if (fileName && fileName[0])
        CopyCut(m_fileName, sizeof m_fileName, fileName);
    m_bufferSet = 1;
    m_position = 0;
    m_line = 1;
    m_column = 1;
    m_state = kStart;
    m_current = ByteAt(0);
}

char CXMLLexer::ByteAt(int64_t index) const
{
    return (index >= 0 && index < m_length) ? m_buffer[index] : '\0';
}

bool CXMLLexer::Follows(const char* literal) const
{
    size_t length = std::strlen(literal);
    return static_cast<int64_t>(m_position) + static_cast<int64_t>(length) <= m_length &&
           std::memcmp(m_buffer + m_position, literal, length) == 0;
}

// Moves one byte on. A CR LF pair is stepped over as a whole and counts a line;
// a lone CR or LF only sets the column to 0.
void CXMLLexer::Advance()
{
    if (AtEnd()) {
        m_current = '\0';
        return;
    }
    ++m_column;
    ++m_position;
    m_current = ByteAt(m_position);
    if (AtEnd())
        return;
    if (m_current == '\n') {
        m_column = 0;
    } else if (m_current == '\r') {
        m_column = 0;
        while (m_current == '\r' && Peek(1) == '\n') {
            ++m_line;
            m_position += 2;
            if (AtEnd()) {
                m_current = '\0';
                return;
            }
            m_current = m_buffer[m_position];
            m_column = 1;
        }
    }
}

void CXMLLexer::SkipWhitespace()
{
    while (!AtEnd() && IsWhitespace(m_current))
        Advance();
}

void CXMLLexer::BeginToken()
{
    m_tokenStart = m_tokenEnd = m_position;
    m_tokenStartLine = m_tokenEndLine = m_line;
    m_tokenStartColumn = m_tokenEndColumn = (m_column == 0 ? 1 : m_column);
    m_tokenComplete = 0;
    m_tokenText.assign(1, '\0');
}

void CXMLLexer::CompleteToken(int kind, int endOffset, const char* message)
{
    m_tokenKind = kind;
    m_tokenEndLine = m_line;
    m_tokenEndColumn = m_column + endOffset;
    if (m_tokenEndColumn == 0)
        m_tokenEndColumn = 1;
    m_tokenEnd = m_position + endOffset;
    m_tokenComplete = 1;
    if (message && message[0])
        CopyCut(m_tokenMessage, sizeof m_tokenMessage, message);
}

void CXMLLexer::CompleteError(int messageId, int endOffset)
{
    const char* message = XmlMessageText(messageId);
    CompleteToken(XT_ERROR, endOffset, message);
    m_errorLine = m_line;
    m_errorColumn = m_column;
    FormatXmlErrorText(m_errorText, m_fileName, message, m_errorLine, " column ", m_errorColumn);
    m_state = kStart;
}

void CXMLLexer::NextToken()
{
    if (!m_bufferSet) {
        ShowMessageBox(nullptr, "No buffer has been mentioned yet\r\n Don't know what to analyze... use SetPtrToBuffer",
                       ProgramTitle, kMbOk | kMbIconHand);
        return;
    }
    BeginToken();
    // Every handler either completes a token or moves at least one byte on, and
    // each completes one at the end of the buffer, so this loop ends.
    while (!m_tokenComplete) {
        switch (m_state) {
        case kStart: RunStart(); break;
        case kAfterLess: RunAfterLess(); break;
        case kProlog: RunProlog(); break;
        case kPrologClose: RunPrologClose(); break;
        case kStartTagName: RunTagName(kStartTagClose); break;
        case kEndTagName: RunTagName(kEndTagClose); break;
        case kStartTagClose: RunTagClose(XT_START_TAG_CLOSE); break;
        case kEndTagClose: RunTagClose(XT_END_TAG_CLOSE); break;
        case kComment: RunComment(); break;
        case kCommentClose: RunCommentClose(); break;
        case kContent: RunContent(); break;
        case kCdata: RunCdata(); break;
        default: m_state = kStart; break;
        }
    }
}

void CXMLLexer::RunStart()
{
    if (AtEnd()) {
        CompleteToken(XT_END_OF_FILE, -1, XmlMessageText(IDS_XML_END_OF_FILE));
        return;
    }
    char c = m_current;
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
        Advance();
        return;
    }
    if (c == '!' || c == '>' || c == '?') {
        CompleteError(IDS_XML_MISSING_LESS, 0);
        Advance();
        return;
    }
    if (c != '<') {
        m_state = kContent;
        Advance();
        return;
    }
    char next = Peek(1);
    if (IsNameStart(next)) {
        CompleteToken(XT_START_TAG_OPEN, 0);
        Advance();
        m_state = kStartTagName;
    } else if (next == '/') {
        Advance();
        CompleteToken(XT_END_TAG_OPEN, 0);
        Advance();
        m_state = kEndTagName;
    } else if (next == '?') {
        Advance();
        CompleteToken(XT_PROLOG_OPEN, 0);
        Advance();
        m_state = kProlog;
    } else if (Follows("<![CDATA[")) {
        for (int i = 0; i < 8; ++i)
            Advance();
        // The section's text starts right after the opening, line breaks and
        // all: reading on would step over the breaks a text begins with.
        BeginToken();
        m_tokenStart = m_tokenEnd = m_position + 1;
        Advance();
        m_state = kCdata;
    } else if (Follows("<!--")) {
        for (int i = 0; i < 4; ++i)
            Advance();
        m_state = kComment;
        CompleteToken(XT_COMMENT_OPEN, 0);
    } else {
        m_state = kAfterLess;
        Advance();
    }
}

void CXMLLexer::RunAfterLess()
{
    if (AtEnd())
        CompleteError(IDS_XML_END_AFTER_LESS, -1);
    else
        CompleteError(IDS_XML_FIRST_LETTER, 0);
}

void CXMLLexer::RunProlog()
{
    if (AtEnd()) {
        CompleteError(IDS_XML_PROLOG_END, -1);
    } else if (m_current == '<' || m_current == '>') {
        CompleteError(IDS_XML_PROLOG_MISSING_CLOSE, 0);
    } else if (m_current == '?') {
        if (Peek(1) == '>') {
            CompleteToken(XT_PROLOG_CONTENT, -1);
            m_state = kPrologClose;
        } else {
            CompleteError(IDS_XML_PROLOG_CLOSE_MISSING, 0);
        }
    } else {
        Advance();
    }
}

void CXMLLexer::RunPrologClose()
{
    if (!AtEnd() && m_current == '?') {
        Advance();
    } else if (!AtEnd() && m_current == '>') {
        CompleteToken(XT_PROLOG_CLOSE, 0);
        Advance();
        SkipWhitespace();
        m_state = kStart;
    } else {
        CompleteError(IDS_XML_PROLOG_NOT_CLOSED, -1);
    }
}

void CXMLLexer::RunTagName(State closeState)
{
    if (AtEnd()) {
        CompleteError(IDS_XML_ELEMENT_END, -1);
    } else if (m_current == '>') {
        CompleteToken(XT_TAG_NAME, -1);
        m_state = closeState;
    } else if (IsNameChar(m_current)) {
        Advance();
    } else {
        CompleteError(IDS_XML_INVALID_NAME_CHAR, 0);
    }
}

void CXMLLexer::RunTagClose(int closeKind)
{
    if (AtEnd()) {
        CompleteError(IDS_XML_ELEMENT_END, -1);
    } else if (m_current == '>') {
        CompleteToken(closeKind, 0);
        Advance();
        SkipWhitespace();
        m_state = kStart;
    } else {
        CompleteError(IDS_XML_PROLOG_NOT_CLOSED, 0);
    }
}

void CXMLLexer::RunComment()
{
    if (AtEnd()) {
        CompleteError(IDS_XML_COMMENT_END, -1);
    } else if (m_current == '-' && Peek(1) == '-' && Peek(2) == '>') {
        CompleteToken(XT_COMMENT_CONTENT, -1);
        m_state = kCommentClose;
        Advance();
    } else {
        Advance();
    }
}

void CXMLLexer::RunCommentClose()
{
    Advance();
    CompleteToken(XT_COMMENT_CLOSE, 0);
    Advance();
    SkipWhitespace();
    m_state = kStart;
}

void CXMLLexer::RunContent()
{
    if (AtEnd()) {
        CompleteError(IDS_XML_CONTENT_END, -1);
    } else if (m_current == '<' || m_current == '>') {
        CompleteToken(XT_CONTENT, -1);
        m_state = kStart;
    } else {
        Advance();
    }
}

void CXMLLexer::RunCdata()
{
    if (AtEnd()) {
        CompleteError(IDS_XML_CDATA_END, -1);
    } else if (m_current == ']' && Peek(1) == ']' && Peek(2) == '>') {
        CompleteToken(XT_CDATA, -1);
        for (int i = 0; i < 3; ++i)
            Advance();
        m_state = kStart;
        SkipWhitespace();
    } else {
        Advance();
    }
}

const char* CXMLLexer::GetTokenText()
{
    // Token ends computed at the end of the buffer may point one byte past it.
    int64_t first = m_tokenStart < 0 ? 0 : m_tokenStart;
    int64_t last = m_tokenEnd < m_length ? m_tokenEnd : static_cast<int64_t>(m_length) - 1;
    if (last < first) {
        m_tokenText.assign(1, '\0');
        return m_tokenText.data();
    }
    if (m_tokenKind == XT_CONTENT) {
        while (first <= last && IsContentTrimmed(m_buffer[first]))
            ++first;
        while (last >= first && IsContentTrimmed(m_buffer[last]))
            --last;
    }
    m_tokenText.assign(m_buffer + first, m_buffer + last + 1);
    m_tokenText.push_back('\0');
    return m_tokenText.data();
}
