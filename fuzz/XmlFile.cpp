// XML files from arbitrary bytes: each gives a tree or an error, never a read
// outside its bytes. A tree, written back the way the program writes its files
// (every text in CDATA), must parse again into the same tree.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"
#include "xmlfiles/bytes/XmlLines.h"

namespace {
const char kHeaderLine[] = "<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"yes\"?>";

// A text as it stands in a CDATA section.
std::string Escaped(const char* text)
{
    std::string escaped(text);
    ToggleCdataEscape(&escaped[0], 1);
    return escaped;
}

void WriteNode(const CXMLNode* node, int level, std::string& out)
{
    if (!node->firstChild) {
        if (node->content)
            out += XmlElementLine(node->name, Escaped(node->content).c_str(), level, true);
        else
            out += XmlElementLine(node->name, "", level, false);
        out += kXmlLineEnd;
        return;
    }
    out += XmlStartTagLine(node->name, level);
    if (node->content)
        out += "<![CDATA[" + Escaped(node->content) + "]]>";
    out += kXmlLineEnd;
    for (const CXMLNode* child = node->firstChild; child; child = child->nextSibling)
        WriteNode(child, level + 1, out);
    out += XmlEndTagLine(node->name, level) + kXmlLineEnd;
}

// Names and texts alike, element by element; a text written back reads as its
// escaped form, since the reader leaves CDATA texts as they stand.
void CheckSameTree(const CXMLNode* read, const CXMLNode* written, int depth)
{
    FUZZ_CHECK(depth <= CXMLBufferDocument::kMaxDepth);
    for (; read && written; read = read->nextSibling, written = written->nextSibling) {
        FUZZ_CHECK(std::strcmp(read->name, written->name) == 0);
        FUZZ_CHECK((read->content == nullptr) == (written->content == nullptr));
        if (read->content && depth > 1)
            FUZZ_CHECK(Escaped(read->content) == written->content);
        CheckSameTree(read->firstChild, written->firstChild, depth + 1);
    }
    FUZZ_CHECK(!read && !written);
}

// The look-ups the program makes, by the names this tree holds, into small buffers.
void LookUp(CXMLBufferDocument& doc, const CXMLNode* root)
{
    char out[8];
    char err[32];
    const CXMLNode* child = root->firstChild;
    if (!child)
        return;
    const CXMLNode* field = child->firstChild;
    const char* fieldName = field ? field->name : "x";
    const char* subName = field && field->firstChild ? field->firstChild->name : "y";
    int count = doc.CountElements(root->name, child->name, err, sizeof err);
    for (int k = 1; k <= count && k <= 3; ++k) {
        doc.GetValue(root->name, child->name, k, fieldName, out, sizeof out, err, sizeof err);
        doc.GetValue1(root->name, child->name, fieldName, k, subName, out, sizeof out, err, sizeof err);
        doc.GetValue2(root->name, child->name, fieldName, subName, k, "z", out, sizeof out, err, sizeof err);
        doc.GetValueSubCollection(root->name, child->name, fieldName, k, subName, out, sizeof out, err,
                                  sizeof err);
    }
    doc.CountSubElements(root->name, child->name, fieldName, err, sizeof err);
    for (int step = 0; step < 8; ++step) {
        if (doc.GotoChildOfCurrentParent(child->name, 1, err, sizeof err))
            doc.GetValueOfCurrentChild(fieldName, out, sizeof out, err, sizeof err);
        if (!doc.SetCurrentChildAsParent(err, sizeof err))
            break;
    }
    doc.GotoParent(err, sizeof err);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    if (size > 1 << 20)
        return 0;
    // A copy of exactly the input's size, with no terminator to stop a runaway read.
    std::vector<char> bytes(data, data + size);
    CXMLBufferDocument doc;
    doc.SetBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), "fuzz.QPK");
    int parsed = doc.Parse();
    FUZZ_CHECK(parsed == 0 || parsed == 1);
    FUZZ_CHECK((parsed == 0) == doc.HasError());
    FUZZ_CHECK(std::strlen(doc.GetErrorText()) <= kXmlErrorTextMax);
    if (!parsed)
        return 0;
    const CXMLNode* root = doc.GetTree()->GetRoot();
    FUZZ_CHECK(root != nullptr);
    LookUp(doc, root);

    std::string text = std::string(kHeaderLine) + kXmlLineEnd;
    WriteNode(root, 0, text);
    std::vector<char> written(text.begin(), text.end());
    CXMLBufferDocument again;
    again.SetBuffer(written.data(), static_cast<int32_t>(written.size()), "fuzz.QPK");
    FUZZ_CHECK(again.Parse() == 1);
    CheckSameTree(root, again.GetTree()->GetRoot(), 1);
    return 0;
}
