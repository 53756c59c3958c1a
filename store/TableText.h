#pragma once

#include <windows.h>

#include <string>

#include "foundation/DateTime.h"

class CDbfFile;

// A text field of the current record without its trailing blanks, cut to the
// buffer (always terminated).
void ReadTrimmedText(CDbfFile& table, const char* fieldName, char* buffer, size_t size);
std::string ReadTrimmedText(CDbfFile& table, const char* fieldName);

// "T" or "F".
void WriteLogical(CDbfFile& table, DWORD record, const char* fieldName, bool on);

// A date and time kept in six number fields: day, month, year, hour, minute, second.
using DateTimeFieldNames = const char* const[6];
void WriteDateTimeFields(CDbfFile& table, DWORD record, DateTimeFieldNames& names, const CDateTime& time);
CDateTime ReadDateTimeFields(CDbfFile& table, DateTimeFieldNames& names);
