// Look-ups of the tree by a path of tags from the root.
#include "xmlfiles/bytes/XmlTree.h"

#include <cstring>

#include "xmlfiles/bytes/XmlTreeText.h"

namespace {
const char kNoRootText[] = "The XML file is empty ?!\r\nCannot find the requested node";
const char kCorruptRootText[] = "The XML tree is corrupt\r\nThe root is not on level 1";
const char kTagNotFound[] = " tag was not found";
const char kFieldNotFound[] = " field was not found";

CXMLNode* FirstNamedOnChain(CXMLNode* node, const char* tag)
{
    for (; node; node = node->firstChild)
        if (XmlNamesEqual(node->name, tag))
            return node;
    return nullptr;
}
}

// A root on level 1; else false with err set.
bool CXMLTree::CheckRootLevel(const char* notOnLevel1, char* err, int errSize)
{
    if (!m_root) {
        SetLookupError(err, errSize, {kNoRootText});
        return false;
    }
    if (m_root->level != 1) {
        SetLookupError(err, errSize, {notOnLevel1});
        return false;
    }
    return true;
}

// A root on level 1 named rootTag; else false with err set.
bool CXMLTree::CheckRoot(const char* rootTag, const char* notOnLevel1, char* err, int errSize)
{
    if (!CheckRootLevel(notOnLevel1, err, errSize))
        return false;
    if (!XmlNamesEqual(m_root->name, rootTag)) {
        SetLookupError(err, errSize, {"The ", QuotedPath({rootTag}).c_str(), kTagNotFound});
        return false;
    }
    return true;
}

// Follows tags from the root: the k-th child named by the first tag, then the
// first child named by each further one. On a missing step, null with its index.
CXMLNode* CXMLTree::WalkFromRoot(const char* const* tags, int count, int k, int* missingStep)
{
    CXMLNode* node = m_root;
    for (int step = 0; step < count; ++step) {
        node = FindChild(node, tags[step], step == 0 ? k : 1);
        if (!node) {
            *missingStep = step;
            return nullptr;
        }
    }
    return node;
}

// Reads the value at the end of a path from the root; a missing step gives
// "The "<root and the tags up to it>"" and the step's ending.
int CXMLTree::ReadPathValue(const char* rootTag, const char* const* tags, int count, int k,
                            const char* firstStepEnding, char* out, int outSize, char* err, int errSize,
                            int* lengthOut)
{
    int missing = 0;
    CXMLNode* field = WalkFromRoot(tags, count, k, &missing);
    if (!field) {
        std::vector<const char*> path(1, rootTag);
        path.insert(path.end(), tags, tags + missing + 1);
        SetLookupError(err, errSize, {"The ", QuotedPath(path.data(), path.size()).c_str(),
                                      missing == 0 ? firstStepEnding : kFieldNotFound});
        return 0;
    }
    if (lengthOut)
        *lengthOut = field->content ? static_cast<int>(std::strlen(field->content)) : 0;
    else
        CopyToCallerBuffer(out, outSize, field->content);
    return 1;
}

int CXMLTree::CountElements(const char* parentTag, const char* tag, char* err, int errSize)
{
    if (!CheckRootLevel(kCorruptRootText, err, errSize))
        return -1;
    CXMLNode* parent = FirstNamedOnChain(m_root, parentTag);
    if (!parent) {
        SetLookupError(err, errSize, {"The ", QuotedPath({parentTag}).c_str(), kTagNotFound});
        return -1;
    }
    return CountNamedChildren(parent, tag);
}

int CXMLTree::CountSubElements(const char* rootTag, const char* childTag, const char* subTag, char* err,
                               int errSize)
{
    if (!CheckRootLevel(kCorruptRootText, err, errSize))
        return -1;
    if (!XmlNamesEqual(m_root->name, rootTag)) {
        SetLookupError(err, errSize, {"The ", rootTag, " tag was not found "});
        return -1;
    }
    if (!m_root->firstChild)
        return 0;
    CXMLNode* child = FindChild(m_root, childTag, 1);
    if (!child) {
        SetLookupError(err, errSize, {"The ", rootTag, " ", childTag, " tag is missing"});
        return -1;
    }
    return CountNamedChildren(child, subTag);
}

int CXMLTree::GetValue(const char* rootTag, const char* childTag, int k, const char* fieldTag, char* out,
                       int outSize, char* err, int errSize)
{
    CopyToCallerBuffer(out, outSize, "");
    if (!CheckRoot(rootTag, "CXMLTree::GetValue, the root is not on level 1\r\n", err, errSize))
        return 0;
    const char* tags[] = {childTag, fieldTag};
    return ReadPathValue(rootTag, tags, 2, k, kTagNotFound, out, outSize, err, errSize, nullptr);
}

int CXMLTree::GetValue1(const char* rootTag, const char* childTag, const char* subTag, int k,
                        const char* fieldTag, char* out, int outSize, char* err, int errSize, int* lengthOut)
{
    if (lengthOut)
        *lengthOut = 0;
    else
        CopyToCallerBuffer(out, outSize, "");
    if (!CheckRoot(rootTag, "CXMLTree::GetValue1, the root is not on level 1\r\n", err, errSize))
        return 0;
    const char* tags[] = {childTag, subTag, fieldTag};
    return ReadPathValue(rootTag, tags, 3, k, kTagNotFound, out, outSize, err, errSize, lengthOut);
}

int CXMLTree::GetValue2(const char* rootTag, const char* childTag, const char* subTag, const char* subSubTag,
                        int k, const char* fieldTag, char* out, int outSize, char* err, int errSize)
{
    CopyToCallerBuffer(out, outSize, "");
    CopyToCallerBuffer(err, errSize, "");
    if (!CheckRootLevel("CXMLTree::GetValue2, the root is not on level 1", err, errSize))
        return 0;
    if (!XmlNamesEqual(m_root->name, rootTag)) {
        SetLookupError(err, errSize, {"The ", QuotedPath({rootTag}).c_str(), kTagNotFound});
        return -1;
    }
    const char* tags[] = {childTag, subTag, subSubTag, fieldTag};
    return ReadPathValue(rootTag, tags, 4, k, kFieldNotFound, out, outSize, err, errSize, nullptr);
}

int CXMLTree::GetValueSubCollection(const char* rootTag, const char* childTag, const char* subTag, int k,
                                    const char* fieldTag, char* out, int outSize, char* err, int errSize)
{
    CopyToCallerBuffer(out, outSize, "");
    if (!CheckRootLevel("CXMLTree::GetValueSubCollection, the root is not on level 1", err, errSize))
        return -1;
    std::string root = QuotedPath({rootTag});
    if (!XmlNamesEqual(m_root->name, rootTag)) {
        SetLookupError(err, errSize, {"The ", root.c_str(), kTagNotFound});
        return 0;
    }
    if (!m_root->firstChild)
        return 0;
    std::string child = QuotedPath({childTag});
    CXMLNode* childNode = FindChild(m_root, childTag, 1);
    if (!childNode) {
        SetLookupError(err, errSize, {"The ", root.c_str(), " ", child.c_str(), kTagNotFound});
        return 0;
    }
    if (!childNode->firstChild)
        return 0;
    CXMLNode* sub = FindChild(childNode, subTag, k);
    if (!sub) {
        SetLookupError(err, errSize,
                       {"The ", root.c_str(), " ", child.c_str(), " ", QuotedPath({subTag}).c_str(), kTagNotFound});
        return 0;
    }
    CXMLNode* field = FindChild(sub, fieldTag, 1);
    if (!field) {
        SetLookupError(err, errSize, {"The ", root.c_str(), "  ", child.c_str(), " ", QuotedPath({fieldTag}).c_str(),
                                      kTagNotFound});
        return 0;
    }
    CopyToCallerBuffer(out, outSize, field->content);
    return 1;
}
