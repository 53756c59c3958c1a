#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "xmlfiles/XmlDocument.h"

class CSkippedEntries;

// The reading steps the program's small XML files share. A file that cannot
// be read is shown once and ends its reader; an entry that lacks a field is
// skipped alone (CSkippedEntries) and reading goes on.

// A settings file parsed, its root element named root; null when it does not
// exist (quietly) or cannot be read. One that cannot be read is kept aside
// (KeepDamagedFileAside) and reported once, in a stop box and in error.txt:
// the reader's text, the name it is kept under and what the program goes on
// with in its place (standIn, such as "the standard calendar options and
// styles"). The file itself is closed again. A file that another program
// holds is no damaged file: after a short wait, CGenericException with
// HeldDataFileText, the file untouched.
std::unique_ptr<CXMLDocument> ParseXmlSettingsFile(const char* path, const char* root, const char* standIn);

// CountElements, with -1 shown in a stop box (and given as 0).
int CountXmlElements(CXMLDocument& document, const char* root, const char* child);

// The value of field of the k-th child element, blanks cut from both ends (at
// most 51,201 characters: more than the longest field holds);
// false when it is missing, with the document's text in problem.
bool ReadXmlField(CXMLDocument& document, const char* root, const char* child, int k, const char* field,
                  std::string& value, std::string& problem);

// The k-th child element as error.txt names an entry: "child k" and those of
// the fields it holds, such as "group 2 (id 9)".
std::string DescribeXmlEntry(CXMLDocument& document, const char* root, const char* child, int k,
                             const std::vector<const char*>& fields);

// One field of an entry and where its value goes.
struct XmlEntryField {
    const char* name;
    std::string* value;
};
// The fields of the k-th child element (ReadXmlField); false when one is
// missing, and the entry is then skipped, named by the fields it holds.
bool ReadXmlEntry(CXMLDocument& document, const char* root, const char* child, int k,
                  std::initializer_list<XmlEntryField> fields, CSkippedEntries& skipped);
