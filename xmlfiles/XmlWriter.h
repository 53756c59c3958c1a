#pragma once

#include <memory>
#include <string>

#include "foundation/WorkingCopy.h"
#include "xmlfiles/bytes/XmlLineSink.h"

// Writes an XML file line by line: the header line, the root start tag, the
// caller's lines indented by three blanks per level, and the root end tag on
// Close. Every line ends in CR LF. Nothing is escaped: callers put unsafe texts
// in CDATA after ToggleCdataEscape. File failures throw CGenericException.
// The lines go into a working copy beside the file, which replaces the file
// only on Close: a failure or a crash half way leaves the last good file.
class CXmlWriter : public CXmlLineSink {
public:
    CXmlWriter(const char* headerLine, const char* rootName);

    // Starts the new file and writes the header and the root start tag;
    // 0 when the writer is already open.
    int Open(const char* fileName);
    // Writes the root end tag and puts the new file in place of the old one;
    // nothing when not open. A writer dropped without Close leaves the old file.
    void Close();

    bool IsOpen() const override { return m_file != nullptr; }
    // One line and its CR LF; throws when no file is open.
    void WriteLine(const std::string& line) override;

private:
    void WritePending();

    char m_headerLine[100];
    char m_rootName[50];
    std::unique_ptr<CWorkingCopy> m_file;
    // Lines not yet written to the file.
    std::string m_pending;
};
