#pragma once

// What the date, caption and hotkey formatters read: a copy of the user's display
// settings, which the settings loader and the Settings sheet keep up to date, and
// the month-name and hotkey key-name tables that start-up fills.

struct CFormatSettings {
    unsigned char dateFormat = 1;  // DATEFORMAT: 1 the program's own, 2 short, 3 long, other no date
    bool withTime = false;         // BSENT: dates are shown with the time
    bool showSender = false;       // BSHOWSUSER: received notes show the sending user
    bool showComputer = false;     // BSHOWSCOMP: received notes show the sending computer
};

CFormatSettings& FormatSettings();

// Index 0 is a single blank, 1 to 12 name January to December (English until
// LoadMonthNames reads the user's locale).
enum { kMonthNameSize = 51 };
extern char MonthNames[13][kMonthNameSize];
void LoadMonthNames();

// The keys a hotkey may use, with their display names; HotkeyKeyTableCount rows
// are in use.
struct CHotkeyKeyName {
    unsigned long code;
    char name[52];
};
enum { kHotkeyKeyTableSize = 63 };
extern CHotkeyKeyName HotkeyKeyTable[kHotkeyKeyTableSize];
extern int HotkeyKeyTableCount;
