#pragma once

#include <windows.h>

class CXMLBufferDocument;
class CXmlWriter;

// Reads a LOGFONT kept as fourteen elements named prefix + "LFHEIGHT" ...
// prefix + "LFFACENAME", either from the children of the document's current
// child or from record k of "content"/"options". The first element that cannot
// be read ends the reading (result 0) with the reader's text in err, for the
// caller to report; the fields read before it stay in the font.
int ReadLogFontXml(LOGFONTA* font, CXMLBufferDocument& document, const char* prefix, int k, int fromCurrentChild,
                   char* err, int errSize);

// Writes the font as the fourteen elements ReadLogFontXml reads, at the level;
// the prefix is cut to 99 characters and the face name goes in CDATA.
void WriteLogFontXml(const char* prefix, const LOGFONTA& font, int level, CXmlWriter& writer);

// The point size of a font height in pixels of the window's screen.
int PointSizeFromHeight(LONG height, HWND window);
