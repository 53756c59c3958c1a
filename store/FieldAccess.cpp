#include "store/FieldAccess.h"

#include <cstdio>
#include <cstring>

#include "foundation/DataFolder.h"
#include "store/DbfFile.h"

const ColourFields kNoteColourFields = {"BYBKRED", "BYBKGREEN", "BYBKBLUE"};
const ColourFields kTextColourFields = {"BYFORED", "BYFOGREEN", "BYFOBLUE"};
const ColourFields kTitleColourFields = {"TIBKRED", "TIBKGREEN", "TIBKBLUE"};
const ColourFields kTitleTextColourFields = {"TIFORED", "TIFOGREEN", "TIFOBLUE"};

CSettingsTable::CSettingsTable()
{
    SetTable(DataFilePath(DataName::kSettingsTable).c_str(), true);
}

CUsersTable::CUsersTable()
{
    SetTable(DataFilePath(DataName::kUsersTable).c_str(), true);
}

std::string ReadText(CDbfFile& table, const char* field, size_t maxChars)
{
    std::string text = table.GetStringValue(field).GetString();
    text.erase(text.find_last_not_of(' ') + 1);
    if (text.size() > maxChars)
        text.resize(maxChars);
    return text;
}

void ReadText(CDbfFile& table, const char* field, char* buffer, size_t size)
{
    if (size == 0)
        return;
    std::snprintf(buffer, size, "%s", ReadText(table, field, size - 1).c_str());
}

long ReadNumber(CDbfFile& table, const char* field)
{
    return table.GetLongValue(field);
}

DWORD ReadFlag(CDbfFile& table, const char* field)
{
    return table.GetLogicalValue(field) ? 1 : 0;
}

COLORREF ReadColour(CDbfFile& table, const ColourFields& fields)
{
    auto byte = [&](const char* field) { return static_cast<DWORD>(table.GetLongValue(field)) & 0xFF; };
    return RGB(byte(fields.red), byte(fields.green), byte(fields.blue));
}

void WriteColour(CDbfFile& table, DWORD record, const ColourFields& fields, COLORREF colour)
{
    table.SetLongValue(record, fields.red, GetRValue(colour));
    table.SetLongValue(record, fields.green, GetGValue(colour));
    table.SetLongValue(record, fields.blue, GetBValue(colour));
}

namespace {
// The LOGFONT members in their order; the face name last.
const char* const kFontFieldNames[2][14] = {
    {"LFHEIGHT", "LFWIDTH", "LFESCAPEME", "LFORIENTAT", "LFWEIGHT", "LFITALIC", "LFUNDERLIN", "LFSTRIKEOU",
     "LFCHARSET", "LFOUTPRECI", "LFCLIPPREC", "LFQUALITY", "LFPITCHAND", "LFFACENAME"},
    {"LFHEIGHTTI", "LFWIDTHTI", "LFESCAPETI", "LFORIENTTI", "LFWEIGHTTI", "LFITALICTI", "LFUNDERLTI", "LFSTRIKETI",
     "LFCHARSETI", "LFOUTPRETI", "LFCLIPPRTI", "LFQUALITTI", "LFPITCHTI", "LFFACENATI"},
};
}

void ReadLogFont(CDbfFile& table, FontFields which, LOGFONTA* font)
{
    const char* const* names = kFontFieldNames[which];
    std::memset(font, 0, sizeof *font);
    font->lfHeight = table.GetLongValue(names[0]);
    font->lfWidth = static_cast<BYTE>(table.GetLongValue(names[1]));
    font->lfEscapement = table.GetLongValue(names[2]);
    font->lfOrientation = table.GetLongValue(names[3]);
    font->lfWeight = table.GetLongValue(names[4]);
    font->lfItalic = static_cast<BYTE>(table.GetLongValue(names[5]));
    font->lfUnderline = static_cast<BYTE>(table.GetLongValue(names[6]));
    font->lfStrikeOut = static_cast<BYTE>(table.GetLongValue(names[7]));
    font->lfCharSet = static_cast<BYTE>(table.GetLongValue(names[8]));
    font->lfOutPrecision = static_cast<BYTE>(table.GetLongValue(names[9]));
    font->lfClipPrecision = static_cast<BYTE>(table.GetLongValue(names[10]));
    font->lfQuality = static_cast<BYTE>(table.GetLongValue(names[11]));
    font->lfPitchAndFamily = static_cast<BYTE>(table.GetLongValue(names[12]));
    ReadText(table, names[13], font->lfFaceName, sizeof font->lfFaceName);
}

void WriteLogFont(CDbfFile& table, DWORD record, FontFields which, const LOGFONTA& font)
{
    const char* const* names = kFontFieldNames[which];
    const long values[13] = {font.lfHeight,      font.lfWidth,        font.lfEscapement,    font.lfOrientation,
                             font.lfWeight,      font.lfItalic,       font.lfUnderline,     font.lfStrikeOut,
                             font.lfCharSet,     font.lfOutPrecision, font.lfClipPrecision, font.lfQuality,
                             font.lfPitchAndFamily};
    for (int i = 0; i < 13; ++i)
        table.SetLongValue(record, names[i], values[i]);
    char face[LF_FACESIZE];
    std::snprintf(face, sizeof face, "%.31s", font.lfFaceName);
    table.SetStringValue(record, names[13], face);
}

void WriteFlag(CDbfFile& table, DWORD record, const char* field, bool on)
{
    table.SetStringValue(record, field, on ? "T" : "F");
}

void WriteNumber(CDbfFile& table, DWORD record, const char* field, long value)
{
    table.SetLongValue(record, field, value);
}

void WriteText(CDbfFile& table, DWORD record, const char* field, const char* text)
{
    table.SetStringValue(record, field, text ? text : "");
}
