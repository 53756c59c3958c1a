// Look-ups of the tree by a path of tags from the root.
#include "xmlfiles/bytes/XmlTree.h"

#include <cstring>

#include "xmlfiles/bytes/XmlTreeText.h"

namespace {
const char kNoRootText[] = "The XML file is empty ?!\r\nCannot find the requested node";
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

// The checks every path look-up starts with: a root on level 1 named rootTag.
// Returns 1 when they pass, else the given failure result with err set.
int CXMLTree::CheckRoot(const char* rootTag, const char* notOnLevel1, char* err, int errSize, int failure)
{
    if (!m_root) {
        SetLookupError(err, errSize, {kNoRootText});
        return failure;
    }
    if (m_root->level != 1) {
        SetLookupError(err, errSize, {notOnLevel1});
        return failure;
    }
    if (!XmlNamesEqual(m_root->name, rootTag)) {
        SetLookupError(err, errSize, {"The ", QuotedPath({rootTag}).c_str(), kTagNotFound});
        return failure;
    }
    return 1;
}

int CXMLTree::CountElements(const char* parentTag, const char* tag, char* err, int errSize)
{
    if (!m_root) {
        SetLookupError(err, errSize, {kNoRootText});
        return -1;
    }
    if (m_root->level != 1) {
        SetLookupError(err, errSize, {"The XML tree is corrupt\r\nThe root is not on level 1"});
        return -1;
    }
    CXMLNode* parent = FirstNamedOnChain(m_root, parentTag);
    if (!parent) {
        SetLookupError(err, errSize, {"The ", QuotedPath({parentTag}).c_str(), kTagNotFound});
        return -1;
    }
    int count = 0;
    for (const CXMLNode* node = parent->firstChild; node; node = node->nextSibling)
        if (XmlNamesEqual(node->name, tag))
            ++count;
    return count;
}

int CXMLTree::CountSubElements(const char* rootTag, const char* childTag, const char* subTag, char* err,
                               int errSize)
{
    if (!m_root) {
        SetLookupError(err, errSize, {kNoRootText});
        return -1;
    }
    if (m_root->level != 1) {
        SetLookupError(err, errSize, {"The XML tree is corrupt\r\nThe root is not on level 1"});
        return -1;
    }
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
    int count = 0;
    for (const CXMLNode* node = child->firstChild; node; node = node->nextSibling)
        if (XmlNamesEqual(node->name, subTag))
            ++count;
    return count;
}

int CXMLTree::GetValue(const char* rootTag, const char* childTag, int k, const char* fieldTag, char* out,
                       int outSize, char* err, int errSize)
{
    CopyToCallerBuffer(out, outSize, "");
    if (!CheckRoot(rootTag, "CXMLTree::GetValue, the root is not on level 1\r\n", err, errSize, 0))
        return 0;
    CXMLNode* child = FindChild(m_root, childTag, k);
    if (!child) {
        SetLookupError(err, errSize, {"The ", QuotedPath({rootTag, childTag}).c_str(), kTagNotFound});
        return 0;
    }
    CXMLNode* field = FindChild(child, fieldTag, 1);
    if (!field) {
        SetLookupError(err, errSize, {"The ", QuotedPath({rootTag, childTag, fieldTag}).c_str(), kFieldNotFound});
        return 0;
    }
    CopyToCallerBuffer(out, outSize, field->content);
    return 1;
}

int CXMLTree::GetValue1(const char* rootTag, const char* childTag, const char* subTag, int k,
                        const char* fieldTag, char* out, int outSize, char* err, int errSize, int* lengthOut)
{
    if (lengthOut)
        *lengthOut = 0;
    else
        CopyToCallerBuffer(out, outSize, "");
    if (!CheckRoot(rootTag, "CXMLTree::GetValue1, the root is not on level 1\r\n", err, errSize, 0))
        return 0;
    CXMLNode* child = FindChild(m_root, childTag, k);
    if (!child) {
        SetLookupError(err, errSize, {"The ", QuotedPath({rootTag, childTag}).c_str(), kTagNotFound});
        return 0;
    }
    CXMLNode* sub = FindChild(child, subTag, 1);
    if (!sub) {
        SetLookupError(err, errSize, {"The ", QuotedPath({rootTag, childTag, subTag}).c_str(), kFieldNotFound});
        return 0;
    }
    CXMLNode* field = FindChild(sub, fieldTag, 1);
    if (!field) {
        SetLookupError(err, errSize,
                       {"The ", QuotedPath({rootTag, childTag, subTag, fieldTag}).c_str(), kFieldNotFound});
        return 0;
    }
    if (lengthOut)
        *lengthOut = field->content ? static_cast<int>(std::strlen(field->content)) : 0;
    else
        CopyToCallerBuffer(out, outSize, field->content);
    return 1;
}

int CXMLTree::GetValue2(const char* rootTag, const char* childTag, const char* subTag, const char* subSubTag,
                        int k, const char* fieldTag, char* out, int outSize, char* err, int errSize)
{
    CopyToCallerBuffer(out, outSize, "");
    CopyToCallerBuffer(err, errSize, "");
    if (m_root && m_root->level == 1 && !XmlNamesEqual(m_root->name, rootTag)) {
        SetLookupError(err, errSize, {"The ", QuotedPath({rootTag}).c_str(), kTagNotFound});
        return -1;
    }
    if (!CheckRoot(rootTag, "CXMLTree::GetValue2, the root is not on level 1", err, errSize, 0))
        return 0;
    CXMLNode* child = FindChild(m_root, childTag, k);
    if (!child) {
        SetLookupError(err, errSize, {"The ", QuotedPath({rootTag, childTag}).c_str(), kFieldNotFound});
        return 0;
    }
    CXMLNode* sub = FindChild(child, subTag, 1);
    if (!sub) {
        SetLookupError(err, errSize, {"The ", QuotedPath({rootTag, childTag, subTag}).c_str(), kFieldNotFound});
        return 0;
    }
    CXMLNode* subSub = FindChild(sub, subSubTag, 1);
    if (!subSub) {
        SetLookupError(err, errSize,
                       {"The ", QuotedPath({rootTag, childTag, subTag, subSubTag}).c_str(), kFieldNotFound});
        return 0;
    }
    CXMLNode* field = FindChild(subSub, fieldTag, 1);
    if (!field) {
        SetLookupError(err, errSize, {"The ", QuotedPath({rootTag, childTag, subTag, subSubTag, fieldTag}).c_str(),
                                      kFieldNotFound});
        return 0;
    }
    CopyToCallerBuffer(out, outSize, field->content);
    return 1;
}

int CXMLTree::GetValueSubCollection(const char* rootTag, const char* childTag, const char* subTag, int k,
                                    const char* fieldTag, char* out, int outSize, char* err, int errSize)
{
    CopyToCallerBuffer(out, outSize, "");
    if (!m_root) {
        SetLookupError(err, errSize, {kNoRootText});
        return -1;
    }
    if (m_root->level != 1) {
        SetLookupError(err, errSize, {"CXMLTree::GetValueSubCollection, the root is not on level 1"});
        return -1;
    }
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
