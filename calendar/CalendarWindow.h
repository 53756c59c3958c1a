#pragma once

#include <windows.h>

// The program's one calendar window, a modeless dialog (template 742), with
// the messages the rest of the program sends it.

// The program settings changed: the calendar saves what it has pending,
// shows today's date and follows a change of date.
const UINT kMsgCalendarSettingsChanged = 0x806A;

INT_PTR CALLBACK CalendarDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The open calendar window; null while none is open.
HWND GetCalendarWindow();

// Makes the calendar window over the owner and shows it, activated or not;
// null, after a box, when the dialog cannot be made. The caller makes sure
// none is open.
HWND CreateCalendarWindow(HWND owner, bool activate);

// The program is ending: the calendar closes and remembers that it was open,
// so that the next start opens it again.
void CloseCalendarWindowAtExit();

// Reads every user's calendar options and styles from the settings file
// again. An open calendar then takes the current options afresh: it is made
// again where it was, keeping none of the records it read before.
void LoadCalendarSettings();

// A message of the main thread's loop handled by the calendar's dialog
// manager (keys that move between its controls, Esc); it is then not to be
// dispatched again.
bool PassToCalendar(MSG& message);

// The calendar's system-wide hotkey (id 27) registered on the main window with
// the keys of the current calendar options, after dropping it; the answer is
// RegisterHotKey's.
BOOL CalendarRegisterHotkey(HWND main);

inline void NotifyCalendarSettingsChanged(HWND calendar)
{
    if (calendar)
        SendMessageA(calendar, kMsgCalendarSettingsChanged, 0, 0);
}
