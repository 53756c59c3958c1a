#pragma once

#include <memory>
#include <string>

#include "xmlfiles/XmlDocument.h"

// The reading steps the program's small XML files share. Each failure is
// shown once, in the box the file's readers use, and ends that reader.

// The file parsed; null when it does not exist (quietly) or does not parse
// (its error text shown in a stop box). The file itself is closed again.
std::unique_ptr<CXMLDocument> ParseXmlFile(const char* path);

// CountElements, with -1 shown in a stop box (and given as 0).
int CountXmlElements(CXMLDocument& document, const char* root, const char* child);

// The value of field of the k-th child element, blanks cut from both ends (at
// most 51,201 characters: more than the longest field holds);
// false when it is missing, after a warning box with the document's text.
bool ReadXmlField(CXMLDocument& document, const char* root, const char* child, int k, const char* field,
                  std::string& value);
