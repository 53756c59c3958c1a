#include "note/bytes/PairTables.h"

#include <cstdio>

#include "xmlfiles/bytes/XmlBufferDocument.h"

PairTable& CurrencyPairs()
{
    static PairTable table;
    return table;
}

PairTable& LanguagePairs()
{
    static PairTable table;
    return table;
}

namespace {
const CXMLNode* NamedChild(const CXMLNode* parent, const char* name)
{
    for (const CXMLNode* node = parent ? parent->firstChild : nullptr; node; node = node->nextSibling) {
        if (node->name && XmlNamesEqual(node->name, name))
            return node;
    }
    return nullptr;
}

// The field's text cut to the room of out; false when the field is missing.
bool ReadField(const CXMLNode* entry, const char* field, char* out, size_t outSize)
{
    const CXMLNode* node = NamedChild(entry, field);
    if (!node)
        return false;
    std::snprintf(out, outSize, "%s", node->content ? node->content : "");
    return true;
}
}

size_t ReadPairTable(CXMLBufferDocument& document, const char* section, const char* entryTag, PairTable& table)
{
    for (ArgumentPair& entry : table)
        entry = ArgumentPair();
    CXMLTree* tree = document.GetTree();
    const CXMLNode* entries = tree ? NamedChild(tree->GetRoot(), section) : nullptr;
    size_t read = 0;
    for (const CXMLNode* node = entries ? entries->firstChild : nullptr; node && read < kPairTableSize;
         node = node->nextSibling) {
        if (!node->name || !XmlNamesEqual(node->name, entryTag))
            continue;
        ArgumentPair& entry = table[read];
        if (!ReadField(node, "key", entry.key, sizeof entry.key) ||
            !ReadField(node, "actualValue", entry.actualValue, sizeof entry.actualValue)) {
            entry = ArgumentPair();
            continue;
        }
        entry.id = static_cast<int>(read);
        ++read;
    }
    return read;
}
