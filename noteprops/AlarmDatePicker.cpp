#include "noteprops/AlarmDatePicker.h"

#include <commctrl.h>

#include <string>

namespace {
const char kDatePicture[] = "ddd, MMM dd, yyyy";

// Whether the date pickers of this system show the picture as GetDateFormat
// writes it; asked of the first control that holds a date, once per run.
enum class MonthShown { kNotAsked, kByPicker, kAsLiteral };
MonthShown g_monthShown = MonthShown::kNotAsked;

std::string FormattedDate(const SYSTEMTIME& date, const char* picture)
{
    char text[64] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &date, picture, text, sizeof text);
    return text;
}

std::string PickerText(HWND picker)
{
    char text[64] = "";
    GetWindowTextA(picker, text, sizeof text);
    return text;
}

// The picture with the date's month abbreviation in quotes (a quote of the
// abbreviation itself doubled).
std::string PictureWithMonthLiteral(const SYSTEMTIME& date)
{
    std::string literal = "'";
    for (char c : FormattedDate(date, "MMM"))
        literal += c == '\'' ? std::string("''") : std::string(1, c);
    literal += "'";
    return "ddd, " + literal + " dd, yyyy";
}
}

void SetAlarmDateFormat(HWND picker)
{
    SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(kDatePicture));
}

void ShowAlarmDate(HWND picker, const SYSTEMTIME& date)
{
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
    FitAlarmDateFormat(picker);
}

void FitAlarmDateFormat(HWND picker)
{
    SYSTEMTIME date{};
    if (SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date)) != GDT_VALID)
        return;
    if (g_monthShown == MonthShown::kNotAsked) {
        SetAlarmDateFormat(picker);
        g_monthShown =
            PickerText(picker) == FormattedDate(date, kDatePicture) ? MonthShown::kByPicker : MonthShown::kAsLiteral;
    }
    if (g_monthShown == MonthShown::kAsLiteral)
        SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(PictureWithMonthLiteral(date).c_str()));
}
