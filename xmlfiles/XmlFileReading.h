#pragma once

#include <memory>
#include <string>

#include "xmlfiles/XmlDocument.h"

// The reading steps the program's small XML files share. Each failure is
// shown once, in the box the file's readers use, and ends that reader.

// A settings file parsed, its root element named root; null when it does not
// exist (quietly) or cannot be read. One that cannot be read is kept aside
// (KeepDamagedFileAside) and reported once, in a stop box and in error.txt:
// the reader's text, the name it is kept under and what the program goes on
// with in its place (standIn, such as "the standard calendar options and
// styles"). The file itself is closed again.
std::unique_ptr<CXMLDocument> ParseXmlSettingsFile(const char* path, const char* root, const char* standIn);

// CountElements, with -1 shown in a stop box (and given as 0).
int CountXmlElements(CXMLDocument& document, const char* root, const char* child);

// The value of field of the k-th child element, blanks cut from both ends (at
// most 51,201 characters: more than the longest field holds);
// false when it is missing, after a warning box with the document's text.
bool ReadXmlField(CXMLDocument& document, const char* root, const char* child, int k, const char* field,
                  std::string& value);
