#include "store/FontFields.h"

#include <cstring>

#include "store/DbfFile.h"
#include "store/TableText.h"

namespace {
struct FontFieldNames {
    const char* numbers[13];
    const char* faceName;
};

const FontFieldNames kBodyFont = {{"LFHEIGHT", "LFWIDTH", "LFESCAPEME", "LFORIENTAT", "LFWEIGHT", "LFITALIC",
                                   "LFUNDERLIN", "LFSTRIKEOU", "LFCHARSET", "LFOUTPRECI", "LFCLIPPREC", "LFQUALITY",
                                   "LFPITCHAND"},
                                  "LFFACENAME"};
const FontFieldNames kTitleFont = {{"LFHEIGHTTI", "LFWIDTHTI", "LFESCAPETI", "LFORIENTTI", "LFWEIGHTTI",
                                    "LFITALICTI", "LFUNDERLTI", "LFSTRIKETI", "LFCHARSETI", "LFOUTPRETI",
                                    "LFCLIPPRTI", "LFQUALITTI", "LFPITCHTI"},
                                   "LFFACENATI"};

const FontFieldNames& NamesOf(FontFieldSet set)
{
    return set == FontFieldSet::kBody ? kBodyFont : kTitleFont;
}
}

void WriteFontFields(CDbfFile& table, DWORD record, FontFieldSet set, const LOGFONTA& font)
{
    const FontFieldNames& names = NamesOf(set);
    const LONG numbers[13] = {font.lfHeight,        font.lfWidth,         font.lfEscapement,  font.lfOrientation,
                              font.lfWeight,        font.lfItalic,        font.lfUnderline,   font.lfStrikeOut,
                              font.lfCharSet,       font.lfOutPrecision,  font.lfClipPrecision,
                              font.lfQuality,       font.lfPitchAndFamily};
    for (int i = 0; i < 13; ++i)
        table.SetLongValue(record, names.numbers[i], numbers[i]);
    char face[LF_FACESIZE];
    std::memcpy(face, font.lfFaceName, sizeof face);
    face[sizeof face - 1] = '\0';
    table.SetStringValue(record, names.faceName, face);
}

LOGFONTA ReadFontFields(CDbfFile& table, FontFieldSet set)
{
    const FontFieldNames& names = NamesOf(set);
    LONG numbers[13];
    for (int i = 0; i < 13; ++i)
        numbers[i] = table.GetLongValue(names.numbers[i]);
    LOGFONTA font = {};
    font.lfHeight = numbers[0];
    font.lfWidth = numbers[1];
    font.lfEscapement = numbers[2];
    font.lfOrientation = numbers[3];
    font.lfWeight = numbers[4];
    font.lfItalic = static_cast<BYTE>(numbers[5]);
    font.lfUnderline = static_cast<BYTE>(numbers[6]);
    font.lfStrikeOut = static_cast<BYTE>(numbers[7]);
    font.lfCharSet = static_cast<BYTE>(numbers[8]);
    font.lfOutPrecision = static_cast<BYTE>(numbers[9]);
    font.lfClipPrecision = static_cast<BYTE>(numbers[10]);
    font.lfQuality = static_cast<BYTE>(numbers[11]);
    font.lfPitchAndFamily = static_cast<BYTE>(numbers[12]);
    ReadTrimmedText(table, names.faceName, font.lfFaceName, sizeof font.lfFaceName);
    return font;
}
