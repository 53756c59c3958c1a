#include "foundation/FormatSettings.h"

#include <windows.h>

CFormatSettings& FormatSettings()
{
    static CFormatSettings settings;
    return settings;
}

char MonthNames[13][kMonthNameSize] = {" ",   "January", "February", "March",     "April",   "May",     "June",
                                       "July", "August",  "September", "October", "November", "December"};

void LoadMonthNames()
{
    for (int month = 1; month <= 12; ++month) {
        char name[kMonthNameSize];
        if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + month - 1, name, sizeof name) > 0)
            lstrcpynA(MonthNames[month], name, kMonthNameSize);
    }
}

CHotkeyKeyName HotkeyKeyTable[kHotkeyKeyTableSize] = {};
int HotkeyKeyTableCount = 0;
