#pragma once

#include <windows.h>

#include <string>

class CDbfFile;

// A text field of the current record without its trailing blanks, cut to the
// buffer (always terminated).
void ReadTrimmedText(CDbfFile& table, const char* fieldName, char* buffer, size_t size);
std::string ReadTrimmedText(CDbfFile& table, const char* fieldName);

// "T" or "F".
void WriteLogical(CDbfFile& table, DWORD record, const char* fieldName, bool on);
