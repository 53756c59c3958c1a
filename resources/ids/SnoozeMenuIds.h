#pragma once

// The "Remind again every:" menus of a note with an alarm (380) and of the
// password prompt of a protected note that came up by its alarm (694), their
// commands, and the texts of a note's alarm tip.
#define IDM_SNOOZE_MENU 380
#define IDM_HIDE_FOR_MENU 694

// The heading, the durations in menu order (the last one the extra item of
// the note's own recurrence), the alarm settings and switching the alarm off.
#define ID_SNOOZE_HEADING 4035
#define ID_SNOOZE_FIRST 4036
#define ID_SNOOZE_LAST 4048
#define ID_HIDE_FOR_LAST 4046
#define ID_SNOOZE_EDIT_ALARM 4049
#define ID_SNOOZE_ALARM_OFF 4113

#define IDS_NEXT_ALARM_AT 226
#define IDS_RIGHT_CLICK_TO_CHANGE 227
