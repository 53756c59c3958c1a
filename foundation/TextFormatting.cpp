#include "foundation/TextFormatting.h"

#include <cstdio>

#include "foundation/FormatSettings.h"
#include "foundation/bytes/UrlEncoding.h"

namespace {
bool HasText(const char* text)
{
    return text && *text;
}

// The date part alone by the date format, appended to the string.
void AppendDate(const CDateTime& date, CGenericString& string, bool withWeekday, bool noYear)
{
    char text[128] = "";
    unsigned char format = FormatSettings().dateFormat;
    if (format == 1) {
        char weekday[64] = "";
        if (withWeekday) {
            date.GetDayName(weekday, sizeof weekday - 1);
            lstrcatA(weekday, " ");
        }
        int month = date.m_month <= 12 ? date.m_month : 0;
        if (noYear)
            std::snprintf(text, sizeof text, "%s%s  %2d,", weekday, MonthNames[month], date.m_day);
        else
            std::snprintf(text, sizeof text, "%s%s  %2d, %4d", weekday, MonthNames[month], date.m_day, date.m_year);
    } else if (format == 2 || format == 3) {
        SYSTEMTIME time = {};
        date.ToSystemTime(time);
        if (GetDateFormatA(LOCALE_USER_DEFAULT, format == 2 ? DATE_SHORTDATE : DATE_LONGDATE, &time, nullptr, text,
                           sizeof text) == 0)
            text[0] = 0;
    }
    string += text;
}

void AppendSeparator(CGenericString& string)
{
    if (string.GetLength() > 0)
        string += " - ";
}
}

void UrlEncode(CGenericString& string, const char* text)
{
    string = UrlEncodedText(text).c_str();
}

void FormatDateText(const CDateTime& date, bool noTime, CGenericString& string, bool withWeekday, bool noYear)
{
    string = "";
    AppendDate(date, string, withWeekday, noYear);
    if (!noTime) {
        string += " ";
        string += date.GetTimeText();
    }
}

void FormatFromSenderCaption(const CDateTime& date, bool withDate, CGenericString& string, const char* title,
                             const char* sender, const char* secondName, const char* qualifier)
{
    const CFormatSettings& settings = FormatSettings();
    string = HasText(title) ? title : "";
    const char* from = nullptr;
    if (settings.showSender)
        from = HasText(sender) ? sender : nullptr;
    else if (settings.showComputer)
        from = HasText(secondName) ? secondName : nullptr;
    if (from) {
        AppendSeparator(string);
        string += "From ";
        string += from;
    }
    if (settings.showSender && settings.showComputer && HasText(secondName)) {
        string += " on ";
        if (HasText(qualifier)) {
            string += qualifier;
            string += "<";
        }
        string += secondName;
        if (HasText(qualifier))
            string += ">";
    }
    if (withDate) {
        AppendSeparator(string);
        AppendDate(date, string, false, false);
        if (settings.withTime) {
            string += " ";
            string += date.GetTimeText();
        }
    }
}

void HotkeyToText(CGenericString& string, bool ctrl, bool alt, bool shift, UINT virtualKey)
{
    string = " ";
    const char* modifiers[] = {ctrl ? "Ctrl" : nullptr, alt ? "Alt" : nullptr, shift ? "Shift" : nullptr};
    bool first = true;
    for (const char* modifier : modifiers) {
        if (!modifier)
            continue;
        if (!first)
            string += "+";
        string += modifier;
        first = false;
    }
    const CHotkeyKeyName* key = &HotkeyKeyTable[0];
    for (int i = 0; i < HotkeyKeyTableCount && i < kHotkeyKeyTableSize; ++i) {
        if (HotkeyKeyTable[i].code == virtualKey) {
            key = &HotkeyKeyTable[i];
            break;
        }
    }
    char name[sizeof key->name + 1];
    std::snprintf(name, sizeof name, "%.*s", static_cast<int>(sizeof key->name), key->name);
    string += "+";
    string += name;
}

void DescribeFont(const LOGFONTA& font, char* text, size_t size, int pixelsPerInch)
{
    if (!text || size == 0)
        return;
    const char* style = "Regular";
    if (font.lfWeight == FW_NORMAL && font.lfItalic)
        style = "Italic";
    else if (font.lfWeight == FW_BOLD)
        style = font.lfItalic ? "Bold Italic" : "Bold";
    std::snprintf(text, size, "%.*s, %d, %s", LF_FACESIZE - 1, font.lfFaceName,
                  MulDiv(-font.lfHeight, 72, pixelsPerInch), style);
}

void DescribeFont(const LOGFONTA& font, CGenericString& string, int pixelsPerInch)
{
    char text[LF_FACESIZE + 32];
    DescribeFont(font, text, sizeof text, pixelsPerInch);
    string = text;
}
