// Menu entries made from notes' texts and dates.
#include "shell/MenuLabels.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/FormatSettings.h"

namespace {
bool IsBlankChar(char c)
{
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

std::string DatePart(const CDateTime& when)
{
    SYSTEMTIME time{};
    when.ToSystemTime(time);
    char text[kNoteMenuLabelSize] = "";
    switch (FormatSettings().dateFormat) {
    case 1:
        std::snprintf(text, sizeof text, "%.30s %2d, %4d", MonthNames[time.wMonth <= 12 ? time.wMonth : 0],
                      time.wDay, time.wYear);
        break;
    case 2:
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, sizeof text);
        break;
    case 3:
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, text, sizeof text);
        break;
    default:
        break;
    }
    return text;
}
}

void MakeMenuTitle(const char* text, char (&buffer)[kMenuTitleSize], int limit)
{
    std::memset(buffer, 0, sizeof buffer);
    if (!text)
        return;
    while (*text && IsBlankChar(*text))
        ++text;
    const int count = (limit < 24 ? (limit < 0 ? 0 : limit) : 24) + 1;
    for (int i = 0; i < count && text[i]; ++i)
        buffer[i] = IsBlankChar(text[i]) ? ' ' : text[i];
}

void MakeNoteMenuLabel(const CDateTime& when, char (&label)[kNoteMenuLabelSize], const char* text)
{
    const std::string date = DatePart(when);
    std::snprintf(label, sizeof label, "%s", date.c_str());
    std::string body = text ? text : "";
    if (body.find_first_not_of(" \r\n\t") == std::string::npos || date.size() >= 42)
        return;
    if (body.size() + date.size() + 3 > 45)
        body.resize(42 - date.size());
    std::snprintf(label, sizeof label, "%s - %s", body.c_str(), date.c_str());
}

bool IsDateTimeEmpty(const CDateTime& when)
{
    SYSTEMTIME time{};
    when.ToSystemTime(time);
    return time.wDay == 0 && time.wMonth == 0 && time.wYear == 0 && time.wHour == 0 && time.wMinute == 0 &&
           time.wSecond == 0;
}
