#include "store/TableText.h"

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
    table.GetTrimmedText(fieldName, buffer, size);
}

void WriteLogical(CDbfFile& table, DWORD record, const char* fieldName, bool on)
{
    table.SetStringValue(record, fieldName, on ? "T" : "F");
}

void WriteDateTimeFields(CDbfFile& table, DWORD record, DateTimeFieldNames& names, const CDateTime& time)
{
    const long values[6] = {time.m_day, time.m_month, time.m_year, time.m_hour, time.m_minute, time.m_second};
    for (int i = 0; i < 6; ++i)
        table.SetLongValue(record, names[i], values[i]);
}

CDateTime ReadDateTimeFields(CDbfFile& table, DateTimeFieldNames& names)
{
    long v[6];
    for (int i = 0; i < 6; ++i)
        v[i] = table.GetLongValue(names[i]);
    return CDateTime(static_cast<BYTE>(v[0]), static_cast<BYTE>(v[1]), static_cast<WORD>(v[2]),
                     static_cast<WORD>(v[3]), static_cast<WORD>(v[4]), static_cast<WORD>(v[5]));
}
