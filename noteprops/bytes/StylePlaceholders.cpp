#include "noteprops/bytes/StylePlaceholders.h"

#include <cstdio>

const char* const kStylePlaceholders[kStylePlaceholderCount] = {
    "%T", "%DOW", "%DD", "%MMMM", "%MMM", "%MM", "%YYYY", "%YY", "%MIN", "%M", "%U", "%HH", "%H", "%D",
};

namespace {
enum Index { kDay = 2, kMonthTwoDigits = 5, kYear = 6, kShortYear = 7, kMinute = 8, kMonth = 9, kHourTwo = 11, kHour = 12 };

std::string Number(const char* format, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}
}

std::string ExpandStylePlaceholders(const std::string& text, const StylePlaceholderValues& values)
{
    std::string result = text;
    for (int i = 0; i < kStylePlaceholderCount; ++i) {
        const std::string name = kStylePlaceholders[i];
        const std::string& value = values.values[i];
        size_t at = 0;
        while ((at = result.find(name, at)) != std::string::npos) {
            if (value.empty()) {
                at += name.size();
                continue;
            }
            result.replace(at, name.size(), value);
            at += value.size();
        }
    }
    return result;
}

void FillNumericPlaceholders(StylePlaceholderValues& values, int day, int month, int year, int hour, int minute)
{
    values.values[kDay] = Number("%02d", day);
    values.values[kMonthTwoDigits] = Number("%02d", month);
    values.values[kYear] = Number("%d", year);
    values.values[kShortYear] = Number("%02d", year % 100);
    values.values[kMinute] = Number("%02d", minute);
    values.values[kMonth] = Number("%d", month);
    values.values[kHourTwo] = Number("%02d", hour);
    values.values[kHour] = Number("%d", hour);
}
