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
    std::string text = ReadTrimmedText(table, field);
    if (text.size() > maxChars)
        text.resize(maxChars);
    return text;
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

void ReadHotkey(CDbfFile& table, const char* ctrl, const char* alt, const char* shift, const char* key,
                CHotkeySetting& hotkey)
{
    hotkey.ctrl = ReadFlag(table, ctrl);
    hotkey.alt = ReadFlag(table, alt);
    hotkey.shift = ReadFlag(table, shift);
    hotkey.key = static_cast<DWORD>(ReadNumber(table, key));
}

void WriteNumber(CDbfFile& table, DWORD record, const char* field, long value)
{
    table.SetLongValue(record, field, value);
}

void WriteText(CDbfFile& table, DWORD record, const char* field, const char* text)
{
    table.SetStringValue(record, field, text ? text : "");
}
