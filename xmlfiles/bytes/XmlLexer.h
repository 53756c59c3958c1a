#pragma once

#include <cstdint>
#include <vector>

#include "xmlfiles/bytes/XmlMessages.h"

// Kinds of the tokens of the program's XML dialect.
enum XmlTokenKind {
    XT_END_OF_FILE = -4,
    XT_ERROR = -5,
    XT_TAG_NAME = -6,
    XT_CONTENT = -7,
    XT_START_TAG_OPEN = -8,
    XT_START_TAG_CLOSE = -9,
    XT_END_TAG_OPEN = -10,
    XT_END_TAG_CLOSE = -11,
    XT_PROLOG_OPEN = -12,
    XT_PROLOG_CONTENT = -13,
    XT_PROLOG_CLOSE = -14,
    XT_COMMENT_OPEN = -15,
    XT_COMMENT_CONTENT = -16,
    XT_COMMENT_CLOSE = -17,
    XT_CDATA = -18,
};

// Cuts a byte buffer (not owned, not zero-terminated) into the tokens of the
// program's XML dialect, counting lines and columns: only a CR LF pair starts a
// new line. It never reads outside the buffer.
class CXMLLexer {
public:
    CXMLLexer(const char* buffer = nullptr, int32_t length = 0, const char* fileName = nullptr);

    void SetPtrToBuffer(const char* buffer, int32_t length, const char* fileName);
    bool HasBuffer() const { return m_bufferSet != 0; }

    // Reads the next token; without a buffer it says so in a box and does nothing.
    void NextToken();

    // The bytes of the last token; content is trimmed of blanks, tabs, CR and LF.
    const char* GetTokenText();
    const char* GetErrorText() const { return m_errorText; }
    const char* GetTokenMessage() const { return m_tokenMessage; }

    int GetTokenKind() const { return m_tokenKind; }
    int32_t GetTokenStartLine() const { return m_tokenStartLine; }
    int32_t GetTokenStartColumn() const { return m_tokenStartColumn; }
    int32_t GetTokenEndLine() const { return m_tokenEndLine; }
    int32_t GetTokenEndColumn() const { return m_tokenEndColumn; }
    int32_t GetTokenStartPosition() const { return m_tokenStart; }
    int32_t GetTokenEndPosition() const { return m_tokenEnd; }
    int32_t GetCurrentLine() const { return m_line; }
    int32_t GetCurrentColumn() const { return m_column; }
    int32_t GetErrorLine() const { return m_errorLine; }
    int32_t GetErrorColumn() const { return m_errorColumn; }

    enum { kFileNameSize = 260, kTokenMessageSize = 256 };

private:
    enum State {
        kStart = 0,
        kAfterLess = 1,
        kProlog = 2,
        kEndTagName = 3,
        kComment = 4,
        kStartTagName = 5,
        kPrologClose = 6,
        kCommentClose = 9,
        kStartTagClose = 10,
        kContent = 11,
        kEndTagClose = 12,
        kCdata = 13,
    };

    bool AtEnd() const { return m_position >= m_length; }
    char ByteAt(int64_t index) const;
    char Peek(int k) const { return ByteAt(static_cast<int64_t>(m_position) + k); }
    bool Follows(const char* literal) const;
    void Advance();
    void SkipWhitespace();

    void BeginToken();
    void CompleteToken(int kind, int endOffset, const char* message = nullptr);
    void CompleteError(int messageId, int endOffset);

    void RunStart();
    void RunAfterLess();
    void RunProlog();
    void RunPrologClose();
    void RunTagName(State closeState);
    void RunTagClose(int closeKind);
    void RunComment();
    void RunCommentClose();
    void RunContent();
    void RunCdata();

    const char* m_buffer;
    int32_t m_length;
    std::vector<char> m_tokenText;
    int32_t m_tokenStart;
    int32_t m_tokenEnd;
    int32_t m_tokenStartLine;
    int32_t m_tokenStartColumn;
    int32_t m_tokenEndLine;
    int32_t m_tokenEndColumn;
    int32_t m_tokenKind;
    char m_tokenMessage[kTokenMessageSize];
    char m_current;
    int32_t m_position;
    int32_t m_line;
    int32_t m_column;
    int32_t m_state;
    int32_t m_tokenComplete;
    char m_errorText[kXmlErrorTextMax + 1];
    int32_t m_errorLine;
    int32_t m_errorColumn;
    int32_t m_bufferSet;
    char m_fileName[kFileNameSize];
};
