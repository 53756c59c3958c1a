#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "xmlfiles/bytes/XmlTreeHeap.h"

// One element of a parsed XML file. Name and content live on the tree's heap;
// content is null when the element had no text.
struct CXMLNode {
    CXMLNode* firstChild;
    CXMLNode* nextSibling;
    int32_t level;
    int32_t tokenKind;
    char* name;
    char* content;
    int32_t line;
    int32_t column;
};

// The token that names a new node: its kind, text and where it began.
struct CXmlNameToken {
    int32_t kind;
    const char* text;
    int32_t line;
    int32_t column;
};

// True when an element's name equals a tag, ignoring the case of letters.
bool XmlNamesEqual(const char* name, const char* tag);

// The element tree of one XML file, with a cursor (current parent, current child
// and a stack of parents) and look-ups by path from the root.
//
// Look-ups never throw: on failure they return 0 or -1 and write a text into the
// caller's buffer "err" of errSize bytes (cut to fit; err may be null). Values are
// copied into "out" of outSize bytes, cut to outSize - 1 characters.
class CXMLTree {
public:
    explicit CXMLTree(size_t initialHeapSize);
    CXMLTree(const CXMLTree&) = delete;
    CXMLTree& operator=(const CXMLTree&) = delete;

    // Building, in document order.
    CXMLNode* CreateNode(const CXmlNameToken& token, int level);
    int AddRoot(const CXmlNameToken& token, int level);
    int AddChild(const CXmlNameToken& token, int level);
    void SetContent(const char* text, int level);
    const char* RootName() const;
    const char* NameAtLevel(int level);
    // The element open on a level (or the deepest one when the tree is not that
    // deep yet); its level goes to foundLevel when given.
    CXMLNode* FindLastNodeAtLevel(int level, int* foundLevel = nullptr);

    // The cursor.
    int CountChildren(const char* tag, char* err, int errSize);
    int GotoChildOfCurrentParent(const char* tag, int k, char* err, int errSize);
    int GetValueOfCurrentChild(const char* tag, char* out, int outSize, char* err, int errSize);
    int SetCurrentChildAsParent(char* err, int errSize);
    int GotoParent(char* err, int errSize);

    // Paths from the root; they neither use nor move the cursor.
    int CountElements(const char* parentTag, const char* tag, char* err, int errSize);
    int CountSubElements(const char* rootTag, const char* childTag, const char* subTag, char* err, int errSize);
    int GetValue(const char* rootTag, const char* childTag, int k, const char* fieldTag, char* out, int outSize,
                 char* err, int errSize);
    int GetValue1(const char* rootTag, const char* childTag, const char* subTag, int k, const char* fieldTag,
                  char* out, int outSize, char* err, int errSize, int* lengthOut = nullptr);
    int GetValue2(const char* rootTag, const char* childTag, const char* subTag, const char* subSubTag, int k,
                  const char* fieldTag, char* out, int outSize, char* err, int errSize);
    int GetValueSubCollection(const char* rootTag, const char* childTag, const char* subTag, int k,
                              const char* fieldTag, char* out, int outSize, char* err, int errSize);

    const CXMLNode* GetRoot() const { return m_root; }
    const CXMLNode* GetCurrentParent() const { return m_currentParent; }
    const CXMLNode* GetCurrentChild() const { return m_currentChild; }
    int GetNodeCount() const { return m_nodeCount; }

    enum { kParentStackSize = 20 };

private:
    CXMLNode* NewNode(const CXmlNameToken& token, int level);
    int ParentStackDepth() const;
    static int CountNamedChildren(const CXMLNode* parent, const char* tag);
    // The k-th child named tag (k from 1); null when there is none.
    CXMLNode* FindChild(CXMLNode* parent, const char* tag, int k);
    bool CheckRootLevel(const char* notOnLevel1, char* err, int errSize);
    bool CheckRoot(const char* rootTag, const char* notOnLevel1, char* err, int errSize);
    CXMLNode* WalkFromRoot(const char* const* tags, int count, int k, int* missingStep);
    int ReadPathValue(const char* rootTag, const char* const* tags, int count, int k, const char* firstStepEnding,
                      char* out, int outSize, char* err, int errSize, int* lengthOut);

    CXmlTreeHeap m_heap;
    int32_t m_nodeCount;
    int32_t m_nameBytes;
    CXMLNode* m_root;
    CXMLNode* m_currentParent;
    CXMLNode* m_currentChild;
    CXMLNode* m_parentStack[kParentStackSize];

    // The elements from the root down its last children: where the next node
    // of a document read in order goes.
    std::vector<CXMLNode*> m_openPath;

    // The last k-th child found, so that reading records 1..n walks each sibling
    // chain once.
    struct ChildLookup {
        const CXMLNode* parent = nullptr;
        std::string tag;
        int k = 0;
        CXMLNode* node = nullptr;
    } m_lastLookup;
};
