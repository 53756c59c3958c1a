#include "store/TableText.h"

#include <cstdio>

#include "store/DbfFile.h"

std::string ReadTrimmedText(CDbfFile& table, const char* fieldName)
{
    CGenericString field = table.GetStringValue(fieldName);
    std::string text = field.GetString();
    size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

void ReadTrimmedText(CDbfFile& table, const char* fieldName, char* buffer, size_t size)
{
    std::snprintf(buffer, size, "%s", ReadTrimmedText(table, fieldName).c_str());
}

void WriteLogical(CDbfFile& table, DWORD record, const char* fieldName, bool on)
{
    table.SetStringValue(record, fieldName, on ? "T" : "F");
}
