#pragma once

#include <string>

// The date and time placeholders of a style text, in the order they are
// replaced: "%T", "%DOW", "%DD", "%MMMM", "%MMM", "%MM", "%YYYY", "%YY",
// "%MIN", "%M", "%U", "%HH", "%H", "%D". Longer names come before the names
// they start with, so "%MMMM" is never read as "%MMM" and an "M".
const int kStylePlaceholderCount = 14;
extern const char* const kStylePlaceholders[kStylePlaceholderCount];

// The values of the placeholders at one moment, in the same order.
struct StylePlaceholderValues {
    std::string values[kStylePlaceholderCount];
};

// Every occurrence of each placeholder replaced by its value; the search goes
// on after an inserted value, so a value is never read again as a
// placeholder, and an empty value leaves its placeholder. The text grows as
// far as the values take it.
std::string ExpandStylePlaceholders(const std::string& text, const StylePlaceholderValues& values);

// The numeric values of a date and time (the names of days and months, the
// user's name and the date text are the caller's).
void FillNumericPlaceholders(StylePlaceholderValues& values, int day, int month, int year, int hour, int minute);
