#pragma once

#include <windows.h>

#include <string>

#include "globals/CalendarStyle.h"

class CXmlWriter;
class CXMLBufferDocument;

// One calendar style record as the 73 elements of the calendar settings file:
// its numbers, flags and colours in decimal, the texture name and the filter
// text in CDATA, and the title and days fonts as fourteen elements each.

// The elements at the level, in the file's order.
void WriteCalendarStyleXml(const CCalendarStyle& record, int level, CXmlWriter& writer);

// Where the elements of one record are read: record k of "content"/"options",
// or the document's current child (a "style" of a "styles").
struct CalendarRecordPlace {
    int k;
    bool fromCurrentChild;
};

// Reads the record's elements into it, as the file's loaders do: the key and
// user id from "userID", the fonts through the font cache (the derived ones
// made), "visible" and "filterText" optional, the weekday and arrow colours
// those of the days; numbers that would break the window kept in range
// (transparency at most 90, 1 to 3 months shown). A missing element gives
// false with the reader's text in problem, for the caller to report; what was
// read before it stays.
bool ReadCalendarStyleXml(CCalendarStyle& record, CXMLBufferDocument& document, CalendarRecordPlace place,
                          std::string& problem);

// One element's text, trimmed at both ends; false with the reader's error
// text when it is missing.
bool ReadCalendarValue(CXMLBufferDocument& document, CalendarRecordPlace place, const char* name, char* value,
                       int size, char* error, int errorSize);
