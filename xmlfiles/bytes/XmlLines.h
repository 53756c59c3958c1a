#pragma once

#include <string>

// The lines of the program's XML files, each indented by three blanks per level
// and given here without its CR LF. No escaping is done: texts that are not safe
// as plain content go into CDATA, after ToggleCdataEscape.
std::string XmlStartTagLine(const char* name, int level);
std::string XmlEndTagLine(const char* name, int level);
// "<name>value</name>", the value inside one CDATA section when inCdata is set
// (an empty value gives an empty section).
std::string XmlElementLine(const char* name, const char* value, int level, bool inCdata);
// As XmlElementLine in CDATA, but an empty text gives the two tags only.
std::string XmlCDataElementLine(const char* name, const char* text, int level);
std::string XmlCommentLine(const char* text, int level);

extern const char kXmlLineEnd[];

// Changes "]]>" inside a text so that it can stand in a CDATA section (encode:
// the second "]" becomes a grave accent) and back (decode). In place, left to
// right, one character at a time.
void ToggleCdataEscape(char* text, int encode);

// The same lines appended, each with its CR LF, to a file's text being built
// in memory: the program's small XML files are written whole through a working
// copy, so that a stop half way never leaves a part of one.
void AppendXmlStartTag(std::string& out, const char* name, int level);
void AppendXmlEndTag(std::string& out, const char* name, int level);
void AppendXmlElement(std::string& out, const char* name, const char* value, int level);
// The text in CDATA, "]]>" in it escaped; an empty text gives the two tags only.
void AppendXmlCDataElement(std::string& out, const char* name, const char* text, int level);
