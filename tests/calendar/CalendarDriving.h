#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "support/KeyPresses.h"
#include "support/ProgramDriver.h"

// The running program's calendar window as the tests find and drive it from
// outside, and its settings file "calendar.QPD" as they read and change it.

// The real pointer put in the screen's bottom right corner, away from where
// the calendar and the notes open: Wine tells a window where the pointer is
// as windows come and go under it, and a pointer resting on the calendar
// would undo the mouse messages a test gives it.
void MovePointerAwayFromCalendar();
// The main window once the program's start is over: it listens on its port,
// which it does last but for opening the calendar, and has answered since.
HWND WaitUntilStarted(const ProgramInstall& install, const RunningProgram& program);
// The calendar opened by the tray menu's command; null when it did not come.
HWND OpenCalendar(const RunningProgram& program);
// The calendar opened from the main window and closed by the user, so that
// the settings file holds the user's options; the user's id.
std::string FirstCalendarFile(const ProgramInstall& install);
// The first calendar file of the install, changed to have the calendar open
// at the next start with the options given.
void OpenAtNextStartWith(const ProgramInstall& install,
                         std::initializer_list<std::pair<const char*, const char*>> values);
// Today's long date, the calendar's title.
std::string TodayLongDate();
// The process's calendar window (a dialog titled with today's date), once it
// is there; null when it did not come.
HWND WaitForCalendar(DWORD processId);
// The number of the process's calendar windows.
int CountCalendars(DWORD processId);
// The calendar is brought forward: on top, framed in the blue of that state
// (the two outer pixels of its left edge, half way down), as painted now.
bool ShowsBroughtForward(HWND calendar);
// The calendar is neither on top nor framed in that blue.
bool ShowsNotBroughtForward(HWND calendar);
// The month title shown by the grid of the title control (1166, 1167, 1168, 1170).
std::string MonthTitle(HWND calendar, int titleId);
// Whether the calendar's item lies wholly inside its client area.
bool ItemInsideClient(HWND calendar, int id);

// The first day of the month after this one.
SYSTEMTIME FirstOfNextMonth();
// The first month's cell of that day of next month, when the calendar shows
// next month first and its weeks start on the day given (6 Sunday, else Monday).
HWND NextMonthDayCell(HWND calendar, int day, int firstDayOfWeek);
// The cell shows the standard shade of a day holding alarm notes.
bool ShowsAlarmShade(HWND cell);

// The settings file's elements: the value of the element of the k-th (from 1)
// "options" element, or of the style of the index in the k-th "styles".
class CalendarFile {
public:
    explicit CalendarFile(const std::string& path);

    bool IsReadable() const { return m_readable; }
    const std::string& Text() const { return m_text; }
    int CountOptions() const { return m_options; }
    int CountStyleSets() const { return m_styleSets; }
    std::string Option(int k, const char* key) const;
    std::string Style(int k, int index, const char* key) const;
    int OptionNumber(int k, const char* key) const { return std::stoi(Option(k, key)); }

private:
    std::string m_text;
    bool m_readable = false;
    int m_options = 0;
    int m_styleSets = 0;
};

// The file's text with the k-th occurrence (from 1) of "<key>...</key>" holding the value.
std::string WithElement(const std::string& text, const char* key, const std::string& value, int k = 1);
