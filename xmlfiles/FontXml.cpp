#include "xmlfiles/FontXml.h"

#include <cstdio>
#include <cstring>

#include "foundation/bytes/NumberCodes.h"
#include "foundation/bytes/TextEditing.h"
#include "xmlfiles/XmlWriter.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"
#include "xmlfiles/bytes/XmlLines.h"

namespace {
const char* const kFontKeys[] = {"LFHEIGHT",   "LFWIDTH",    "LFESCAPEME", "LFORIENTAT", "LFWEIGHT",
                                 "LFITALIC",   "LFUNDERLIN", "LFSTRIKEOU", "LFCHARSET",  "LFOUTPRECI",
                                 "LFCLIPPREC", "LFQUALITY",  "LFPITCHAND", "LFFACENAME"};
const int kFaceNameKey = 13;

void StoreFontValue(LOGFONTA* font, int key, const char* value)
{
    if (key == kFaceNameKey) {
        std::snprintf(font->lfFaceName, sizeof font->lfFaceName, "%s", value);
        return;
    }
    int number = ParseNumber(value, 10);
    BYTE byte = static_cast<BYTE>(number);
    switch (key) {
    case 0: font->lfHeight = number; break;
    case 1: font->lfWidth = number; break;
    case 2: font->lfEscapement = number; break;
    case 3: font->lfOrientation = number; break;
    case 4: font->lfWeight = number; break;
    case 5: font->lfItalic = byte; break;
    case 6: font->lfUnderline = byte; break;
    case 7: font->lfStrikeOut = byte; break;
    case 8: font->lfCharSet = byte; break;
    case 9: font->lfOutPrecision = byte; break;
    case 10: font->lfClipPrecision = byte; break;
    case 11: font->lfQuality = byte; break;
    case 12: font->lfPitchAndFamily = byte; break;
    }
}
}

int ReadLogFontXml(LOGFONTA* font, CXMLBufferDocument& document, const char* prefix, int k, int fromCurrentChild,
                   char* err, int errSize)
{
    char cutPrefix[100];
    std::snprintf(cutPrefix, sizeof cutPrefix, "%s", prefix ? prefix : "");
    for (int key = 0; key <= kFaceNameKey; ++key) {
        char name[sizeof cutPrefix + 16];
        std::snprintf(name, sizeof name, "%s%s", cutPrefix, kFontKeys[key]);
        char value[260];
        int found = fromCurrentChild
                        ? document.GetValueOfCurrentChild(name, value, sizeof value, err, errSize)
                        : document.GetValue("content", "options", k, name, value, sizeof value, err, errSize);
        if (!found)
            return 0;
        TrimLeftChar(value, ' ');
        TrimRightChar(value, ' ');
        StoreFontValue(font, key, value);
    }
    return 1;
}

void WriteLogFontXml(const char* prefix, const LOGFONTA& font, int level, CXmlWriter& writer)
{
    const long numbers[kFaceNameKey] = {font.lfHeight,     font.lfWidth,         font.lfEscapement,    font.lfOrientation,
                                        font.lfWeight,     font.lfItalic,        font.lfUnderline,     font.lfStrikeOut,
                                        font.lfCharSet,    font.lfOutPrecision,  font.lfClipPrecision, font.lfQuality,
                                        font.lfPitchAndFamily};
    char cutPrefix[100];
    std::snprintf(cutPrefix, sizeof cutPrefix, "%s", prefix ? prefix : "");
    char name[sizeof cutPrefix + 16];
    for (int key = 0; key < kFaceNameKey; ++key) {
        char value[16];
        std::snprintf(value, sizeof value, "%ld", numbers[key]);
        std::snprintf(name, sizeof name, "%s%s", cutPrefix, kFontKeys[key]);
        writer.WriteElement(name, value, level, 0);
    }
    char face[LF_FACESIZE];
    std::snprintf(face, sizeof face, "%s", font.lfFaceName);
    ToggleCdataEscape(face, 1);
    std::snprintf(name, sizeof name, "%s%s", cutPrefix, kFontKeys[kFaceNameKey]);
    writer.WriteElement(name, face, level, 1);
}

int PointSizeFromHeight(LONG height, HWND window)
{
    HDC dc = GetDC(window);
    int pixelsPerInch = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc)
        ReleaseDC(window, dc);
    return MulDiv(-height, 72, pixelsPerInch);
}
