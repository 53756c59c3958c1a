#pragma once

#include <string>

#include "foundation/GenericFile.h"

// Writes an XML file line by line: the header line, the root start tag, the
// caller's lines indented by three blanks per level, and the root end tag on
// Close. Every line ends in CR LF. Nothing is escaped: callers put unsafe texts
// in CDATA after ToggleCdataEscape. File failures throw CGenericException.
class CXmlWriter {
public:
    CXmlWriter(const char* headerLine, const char* rootName);

    // Creates the file anew and writes the header and the root start tag;
    // 0 when the writer is already open.
    int Open(const char* fileName);
    // Writes the root end tag and closes the file; nothing when not open.
    void Close();

    void WriteStartTag(const char* name, int level);
    void WriteEndTag(const char* name, int level);
    void WriteElement(const char* name, const char* value, int level, int inCdata);
    // As WriteElement in CDATA, but an empty text gives the two tags only.
    void WriteCDataElement(const char* name, const char* text, int level);
    void WriteComment(const char* text, int level);

    bool IsOpen() const { return m_open != 0; }

private:
    void WriteLine(const std::string& line);

    char m_headerLine[100];
    char m_rootName[50];
    char m_fileName[MAX_PATH];
    CGenericFile m_file;
    int m_open;
};
