#pragma once

#include <string>
#include <vector>

#include "xmlfiles/bytes/XmlBufferDocument.h"
#include "xmlfiles/bytes/XmlLines.h"

// A text parsed from a buffer of exactly its size (no terminator), so that the
// sanitizers catch any read past its end.
struct ParsedXml {
    explicit ParsedXml(const std::string& text, const char* fileName = "test.QPD")
        : bytes(text.begin(), text.end())
    {
        doc.SetBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), fileName);
        result = doc.Parse();
    }

    std::string Value(const char* root, const char* child, int k, const char* field)
    {
        char out[256];
        char err[256] = "";
        doc.GetValue(root, child, k, field, out, sizeof out, err, sizeof err);
        return out;
    }

    std::vector<char> bytes;
    CXMLBufferDocument doc;
    int result;
};

// The file's first line, as every file of the program begins.
inline std::string XmlFile(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"yes\"?>\r\n" + body;
}

// The text with every "]]>" made safe for CDATA (encode 1) or back (encode 0).
inline std::string CdataToggled(std::string text, int encode)
{
    ToggleCdataEscape(&text[0], encode);
    return text.c_str();
}
