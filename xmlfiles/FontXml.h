#pragma once

#include <windows.h>

class CXMLBufferDocument;

// Reads a LOGFONT kept as fourteen elements named prefix + "LFHEIGHT" ...
// prefix + "LFFACENAME", either from the children of the document's current
// child or from record k of "content"/"options". The first element that cannot
// be read is reported in a warning box and ends the reading (result 0); the
// fields read before it stay in the font.
int ReadLogFontXml(LOGFONTA* font, CXMLBufferDocument& document, const char* prefix, int k, int fromCurrentChild);

// The point size of a font height in pixels of the window's screen.
int PointSizeFromHeight(LONG height, HWND window);
