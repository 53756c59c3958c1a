#pragma once

#include <windows.h>

class CDbfFile;

// A LOGFONT kept in fourteen fields of a record, its members in order and the
// face name last (at most 31 characters). Notes, users and settings rows hold a
// body font and a title font this way.
enum class FontFieldSet { kBody, kTitle };

void WriteFontFields(CDbfFile& table, DWORD record, FontFieldSet set, const LOGFONTA& font);
// From the current record; the face name without its trailing blanks.
LOGFONTA ReadFontFields(CDbfFile& table, FontFieldSet set);
