#pragma once

#include <windows.h>

#include <string>

#include "note/bytes/SnoozeLayout.h"

class CNoteController;

// The "Remind again every:" menus: the note's (menu 380) and the one of the
// password prompt of a protected note that came up by its alarm (menu 694).
// Their items 4036 onward show the durations of the list in order; the last
// id is the extra item of a recurrence that is not a standard duration.

// The extra item's text: the value and the plural unit word ("45 minutes"),
// or "1 minute".
std::string SnoozeItemText(int unit, int value, bool singular);

// Fills the table with the list for the recurrence (the recurrence current)
// and writes the item texts into the popup. 1 when the extra item stays, 0
// when it was taken out of the menu. A unit no list holds leaves table and
// menu as they were and answers 1.
int BuildSnoozeMenu(CNoteController& note, int unit, int value, HMENU menu);
int BuildHideForMenu(SnoozeTable& prompt, int unit, int value, HMENU menu);
// The prompt's standard list with the item at index current.
void SetStandardHideForMenu(SnoozeTable& prompt, HMENU menu, int index);

// The prompt's menu at the point (screen coordinates), for a recurrence of
// value in unit, with the current item checked when asked; the chosen item
// comes back to the owner as its command. False when the menu cannot be loaded.
bool ShowHideForMenu(HWND owner, SnoozeTable& prompt, int unit, int value, bool checkCurrent, POINT at);

// The note's alarm commands: 4035 shows the snooze menu at the cursor,
// 4036-4048 choose a duration, 4049 opens the alarm settings, 4113 switches
// the alarm off. False for any other command.
bool OnNoteAlarmCommand(HWND window, CNoteController& note, UINT id);

// WM_MEASUREITEM and WM_DRAWITEM of the snooze menu while it is shown; false
// when no snooze menu is shown.
bool OnSnoozeMenuItemMessage(UINT message, LPARAM lParam);
