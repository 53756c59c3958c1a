#include "xmlfiles/bytes/XmlTree.h"

#include <cstring>

#include "foundation/bytes/MessageBoxes.h"
#include "xmlfiles/bytes/XmlTreeText.h"

namespace {
const char kEmptyFileText[] = "The XML file is empty ?!\r\n";

char FoldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

void ShowTreeError(const char* text, unsigned icon = kMbIconHand)
{
    ShowMessageBox(nullptr, text, ProgramTitle, kMbOk | icon);
}
}

bool XmlNamesEqual(const char* name, const char* tag)
{
    if (!name || !tag)
        return false;
    for (; *name && *tag; ++name, ++tag)
        if (FoldCase(*name) != FoldCase(*tag))
            return false;
    return *name == *tag;
}

CXMLTree::CXMLTree(size_t initialHeapSize)
    : m_heap(initialHeapSize), m_nodeCount(0), m_nameBytes(0), m_root(nullptr), m_currentParent(nullptr),
      m_currentChild(nullptr), m_parentStack()
{
    if (!m_heap.IsCreated())
        ShowTreeError("The CXMLTree heap could not be created");
}

CXMLNode* CXMLTree::CreateNode(const CXmlNameToken& token, int level)
{
    CXMLNode* node = static_cast<CXMLNode*>(m_heap.Alloc(sizeof(CXMLNode)));
    if (!node) {
        ShowTreeError("CXMLNode::HeapAlloc failed");
        return nullptr;
    }
    node->firstChild = nullptr;
    node->nextSibling = nullptr;
    node->level = level;
    node->tokenKind = token.kind;
    node->content = nullptr;
    node->line = token.line;
    node->column = token.column;
    const char* text = token.text ? token.text : "";
    node->name = m_heap.CopyText(text);
    if (!node->name)
        ShowTreeError("CreateNode::HeapAlloc failed", 0);
    ++m_nodeCount;
    m_nameBytes += static_cast<int32_t>(std::strlen(text) + 1);
    return node;
}

CXMLNode* CXMLTree::NewNode(const CXmlNameToken& token, int level)
{
    if (!m_heap.IsCreated()) {
        ShowTreeError("The heap could not be created");
        return nullptr;
    }
    return CreateNode(token, level);
}

int CXMLTree::AddRoot(const CXmlNameToken& token, int level)
{
    CXMLNode* node = NewNode(token, level);
    if (!node)
        return 0;
    m_root = m_currentParent = m_currentChild = node;
    m_parentStack[0] = node;
    m_openPath.assign(1, node);
    return 1;
}

// The element open on a level: the first element on the path of last children
// from the root whose level reaches it, or the deepest element of that path.
CXMLNode* CXMLTree::FindLastNodeAtLevel(int level, int* foundLevel)
{
    if (!m_root) {
        ShowTreeError("The XML tree is empty\r\nCannot find last node");
        if (foundLevel)
            *foundLevel = 1;
        return nullptr;
    }
    if (m_root->level != 1) {
        ShowTreeError("The XML tree is corrupt\r\nThe root is not on level 1");
        return nullptr;
    }
    CXMLNode* node = m_openPath.front();
    for (CXMLNode* open : m_openPath) {
        node = open;
        if (open->level >= level)
            break;
    }
    if (foundLevel)
        *foundLevel = node->level;
    return node;
}

int CXMLTree::AddChild(const CXmlNameToken& token, int level)
{
    CXMLNode* node = NewNode(token, level);
    if (!node)
        return 0;
    int lastLevel = 0;
    CXMLNode* last = FindLastNodeAtLevel(level, &lastLevel);
    if (!last) {
        ShowTreeError("NULL pointer. No parent node");
        return 0;
    }
    size_t lastIndex = 0;
    while (m_openPath[lastIndex] != last)
        ++lastIndex;
    if (lastLevel == level) {
        last->nextSibling = node;
        m_openPath.resize(lastIndex);
    } else {
        last->firstChild = node;
        m_openPath.resize(lastIndex + 1);
    }
    m_openPath.push_back(node);
    return 1;
}

void CXMLTree::SetContent(const char* text, int level)
{
    if (!m_heap.IsCreated()) {
        ShowTreeError("The heap could not be created");
        return;
    }
    char* copy = m_heap.CopyText(text ? text : "");
    int lastLevel = 0;
    CXMLNode* last = FindLastNodeAtLevel(level, &lastLevel);
    if (!last)
        return;
    if (lastLevel != level) {
        ShowMessageBox(nullptr, text, "Could not set content. Tag not found", kMbOk | kMbIconHand);
        return;
    }
    if (copy)
        last->content = copy;
}

const char* CXMLTree::RootName() const
{
    return (m_root && m_root->name) ? m_root->name : "";
}

const char* CXMLTree::NameAtLevel(int level)
{
    CXMLNode* node = FindLastNodeAtLevel(level);
    return (node && node->name) ? node->name : "";
}

int CXMLTree::ParentStackDepth() const
{
    int depth = 0;
    while (depth < kParentStackSize && m_parentStack[depth])
        ++depth;
    return depth;
}

int CXMLTree::CountNamedChildren(const CXMLNode* parent, const char* tag)
{
    int count = 0;
    for (const CXMLNode* node = parent->firstChild; node; node = node->nextSibling)
        if (XmlNamesEqual(node->name, tag))
            ++count;
    return count;
}

CXMLNode* CXMLTree::FindChild(CXMLNode* parent, const char* tag, int k)
{
    if (!parent || k < 1)
        return nullptr;
    CXMLNode* node = parent->firstChild;
    int found = 0;
    // Only searches for a later record are remembered: the first child named
    // so is found from the start anyway, and must not push out a record.
    ChildLookup& last = m_lastLookup;
    if (k > 1 && last.node && last.parent == parent && last.k <= k && XmlNamesEqual(last.tag.c_str(), tag)) {
        node = last.node;
        found = last.k - 1;
    }
    for (; node; node = node->nextSibling) {
        if (XmlNamesEqual(node->name, tag) && ++found == k) {
            if (k == 1)
                return node;
            last.parent = parent;
            last.tag = tag;
            last.k = k;
            last.node = node;
            return node;
        }
    }
    return nullptr;
}

int CXMLTree::CountChildren(const char* tag, char* err, int errSize)
{
    if (!m_currentParent) {
        SetLookupError(err, errSize, {kEmptyFileText, "Cannot find the requested node"});
        return -1;
    }
    return CountNamedChildren(m_currentParent, tag);
}

int CXMLTree::GotoChildOfCurrentParent(const char* tag, int k, char* err, int errSize)
{
    if (!m_currentParent) {
        SetLookupError(err, errSize,
                       {kEmptyFileText, "GotoChildOfCurrentParent -> Cannot find the requested node"});
        return 0;
    }
    if (!m_currentParent->firstChild) {
        SetLookupError(err, errSize,
                       {"The current parent has no children\r\nGotoChildOfCurrentParent has nothing to do."});
        return 0;
    }
    CXMLNode* child = FindChild(m_currentParent, tag, k);
    if (!child) {
        SetLookupError(err, errSize,
                       {"GotoChildOfCurrentParent -> the ", QuotedPath({tag}).c_str(), " tag was not found"});
        return 0;
    }
    m_currentChild = child;
    return 1;
}

int CXMLTree::GetValueOfCurrentChild(const char* tag, char* out, int outSize, char* err, int errSize)
{
    CopyToCallerBuffer(out, outSize, "");
    if (!m_currentChild) {
        SetLookupError(err, errSize, {kEmptyFileText, "GetValueOfCurrentChild -> cannot find the requested node"});
        return 0;
    }
    std::string quoted = QuotedPath({tag});
    if (!m_currentChild->firstChild) {
        SetLookupError(err, errSize, {"GetValueOfCurrentChild -> the ", quoted.c_str(),
                                      " tag was not found\r\n The current tag has no children?? "});
        return 0;
    }
    CXMLNode* field = FindChild(m_currentChild, tag, 1);
    if (!field) {
        SetLookupError(err, errSize, {"GetValueOfCurrentChild -> the ", quoted.c_str(),
                                      " tag was not found as a member of the current tag??"});
        return 0;
    }
    CopyToCallerBuffer(out, outSize, field->content);
    return 1;
}

int CXMLTree::SetCurrentChildAsParent(char* err, int errSize)
{
    if (!m_currentChild) {
        SetLookupError(err, errSize, {kEmptyFileText, "SetCurrentChildAsParent -> Cannot find the requested node"});
        return 0;
    }
    if (!m_currentChild->firstChild) {
        SetLookupError(err, errSize,
                       {"The current node has no children\r\nSetCurrentChildAsParent has nothing to do."});
        return 0;
    }
    int depth = ParentStackDepth();
    if (depth >= kParentStackSize) {
        SetLookupError(err, errSize, {"SetCurrentChildAsParent -> the ", QuotedPath({m_currentChild->name}).c_str(),
                                      " Stack overflow. XML tree deeper than 20 levels ?!\r\n"});
        return 0;
    }
    m_parentStack[depth] = m_currentChild;
    m_currentParent = m_currentChild;
    return 1;
}

int CXMLTree::GotoParent(char*, int)
{
    int depth = ParentStackDepth();
    if (depth >= 2) {
        m_parentStack[depth - 1] = nullptr;
        m_currentParent = m_parentStack[depth - 2];
        return 1;
    }
    m_currentParent = m_root;
    m_parentStack[0] = m_root;
    return 0;
}
