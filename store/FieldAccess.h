#pragma once

#include <windows.h>

#include <string>

#include "store/DbfFile.h"
#include "store/FontFields.h"
#include "store/TableText.h"
#include "store/bytes/PackedValues.h"

// Reading and writing the settings kept in table fields: texts without their
// trailing blanks and cut to what the program keeps, logicals, colours as three
// byte fields. Fonts and logicals are written through FontFields.h and
// TableText.h.

// The data folder's settings table and users table, bound with their records
// enciphered.
class CSettingsTable : public CDbfFile {
public:
    CSettingsTable();
};
class CUsersTable : public CDbfFile {
public:
    CUsersTable();
};

// The field's text without trailing blanks, at most maxChars characters.
std::string ReadText(CDbfFile& table, const char* field, size_t maxChars);
long ReadNumber(CDbfFile& table, const char* field);
DWORD ReadFlag(CDbfFile& table, const char* field);

// The red, green and blue fields of one colour.
struct ColourFields {
    const char* red;
    const char* green;
    const char* blue;
};
extern const ColourFields kNoteColourFields;       // BYBK...
extern const ColourFields kTextColourFields;       // BYFO...
extern const ColourFields kTitleColourFields;      // TIBK...
extern const ColourFields kTitleTextColourFields;  // TIFO...
// Each byte taken modulo 256, red in the low byte.
COLORREF ReadColour(CDbfFile& table, const ColourFields& fields);
void WriteColour(CDbfFile& table, DWORD record, const ColourFields& fields, COLORREF colour);

// A hotkey kept as three logicals and a key number.
void ReadHotkey(CDbfFile& table, const char* ctrl, const char* alt, const char* shift, const char* key,
                CHotkeySetting& hotkey);

void WriteNumber(CDbfFile& table, DWORD record, const char* field, long value);
void WriteText(CDbfFile& table, DWORD record, const char* field, const char* text);
