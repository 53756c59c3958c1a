#pragma once

#include <cstdint>
#include <memory>

#include "xmlfiles/bytes/XmlLexer.h"
#include "xmlfiles/bytes/XmlTree.h"

// An XML file of the program held as bytes in memory: Parse checks it against
// the program's dialect (a prolog, elements without attributes, plain or CDATA
// text, comments) and builds its tree; the look-ups are those of CXMLTree.
// The file reader CXMLDocument puts a mapped file under it.
class CXMLBufferDocument {
public:
    CXMLBufferDocument();
    virtual ~CXMLBufferDocument();
    CXMLBufferDocument(const CXMLBufferDocument&) = delete;
    CXMLBufferDocument& operator=(const CXMLBufferDocument&) = delete;

    // The bytes to read (not owned, kept until the next call) and the file name
    // that error texts begin with. Drops any tree.
    void SetBuffer(const char* bytes, int32_t length, const char* fileName);

    // 1 when the bytes are a well-formed file of the dialect; else 0 with the
    // error text set. Elements may nest at most kMaxDepth levels.
    int Parse();

    bool HasBuffer() const { return m_fileOpened != 0; }
    bool HasError() const { return m_errorFlag != 0; }
    const char* GetErrorText() const { return m_errorText; }
    const char* GetFileName() const { return m_fileName; }
    // The tree of the last parse; null before one.
    CXMLTree* GetTree() { return m_tree.get(); }

    enum { kMaxDepth = 64, kFileNameSize = 260 };

    int CountChildren(const char* tag, char* err, int errSize)
    {
        return Tree().CountChildren(tag, err, errSize);
    }
    int GotoChildOfCurrentParent(const char* tag, int k, char* err, int errSize)
    {
        return Tree().GotoChildOfCurrentParent(tag, k, err, errSize);
    }
    int GetValueOfCurrentChild(const char* tag, char* out, int outSize, char* err, int errSize)
    {
        return Tree().GetValueOfCurrentChild(tag, out, outSize, err, errSize);
    }
    int SetCurrentChildAsParent(char* err, int errSize) { return Tree().SetCurrentChildAsParent(err, errSize); }
    int GotoParent(char* err, int errSize) { return Tree().GotoParent(err, errSize); }
    int CountElements(const char* parentTag, const char* tag, char* err, int errSize)
    {
        return Tree().CountElements(parentTag, tag, err, errSize);
    }
    int CountSubElements(const char* rootTag, const char* childTag, const char* subTag, char* err, int errSize)
    {
        return Tree().CountSubElements(rootTag, childTag, subTag, err, errSize);
    }
    int GetValue(const char* rootTag, const char* childTag, int k, const char* fieldTag, char* out, int outSize,
                 char* err, int errSize)
    {
        return Tree().GetValue(rootTag, childTag, k, fieldTag, out, outSize, err, errSize);
    }
    int GetValue1(const char* rootTag, const char* childTag, const char* subTag, int k, const char* fieldTag,
                  char* out, int outSize, char* err, int errSize, int* lengthOut = nullptr)
    {
        return Tree().GetValue1(rootTag, childTag, subTag, k, fieldTag, out, outSize, err, errSize, lengthOut);
    }
    int GetValue2(const char* rootTag, const char* childTag, const char* subTag, const char* subSubTag, int k,
                  const char* fieldTag, char* out, int outSize, char* err, int errSize)
    {
        return Tree().GetValue2(rootTag, childTag, subTag, subSubTag, k, fieldTag, out, outSize, err, errSize);
    }
    int GetValueSubCollection(const char* rootTag, const char* childTag, const char* subTag, int k,
                              const char* fieldTag, char* out, int outSize, char* err, int errSize)
    {
        return Tree().GetValueSubCollection(rootTag, childTag, subTag, k, fieldTag, out, outSize, err, errSize);
    }

protected:
    // Forgets the bytes; the tree stays.
    void ClearBuffer();
    void SetErrorText(const char* text);

private:
    CXMLTree& Tree() { return m_tree ? *m_tree : m_noTree; }
    int RunParse();
    void ResetLexer();
    void NextToken() { m_lexer.NextToken(); }
    int Kind() const { return m_lexer.GetTokenKind(); }

    int LexicalCheck();
    int ParseDocument();
    int ParseRootElement();
    int ActionRoot1();
    int ParseElementList();
    int ParseElementBody();
    int ParseComment();
    int ParseComments();
    int SkipMisc();
    // The current token must be of the kind; else the error naming what was expected.
    int Expect(int kind);
    int ExpectNext(int kind);
    int CheckEndTag(const char* expectedName);
    int Fail(const char* message);
    int FailWith(int messageId);
    CXmlNameToken NameToken();

    char m_fileName[kFileNameSize];
    const char* m_buffer;
    int32_t m_bufferSize;
    CXMLLexer m_lexer;
    int32_t m_errorFlag;
    char m_errorText[kXmlErrorTextMax + 1];
    int32_t m_fileOpened;
    int32_t m_level;
    std::unique_ptr<CXMLTree> m_tree;
    // Stands in for the tree before a parse, so every look-up then reports an
    // empty file.
    CXMLTree m_noTree;
};
