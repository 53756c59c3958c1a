#pragma once

#include "foundation/GenericFile.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"

// The reader of every XML file of the program: constructed on a file name, which
// it opens read-only and maps; then Parse and the look-ups of CXMLBufferDocument.
// A file that cannot be opened throws the file layer's CGenericException; an
// empty file leaves the error text "Invalid XML file " and nothing to parse.
class CXMLDocument : public CXMLBufferDocument {
public:
    explicit CXMLDocument(const char* fileName);

    int Parse();
    // Unmaps and closes the file; the tree holds copies of all texts and stays.
    void CloseFile();

private:
    int Open(const char* fileName);

    CGenericFile m_file;
};
