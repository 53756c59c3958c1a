#pragma once

// The calendar settings dialog (736): the options on the left, the preview
// of one month on the right (its parts carry the ids of the calendar's first
// month, resources/ids/CalendarIds.h), the nine style buttons under it.
#define IDD_CALENDAR_SETTINGS 736

#define IDC_CALSET_SUNDAY 1381
#define IDC_CALSET_MONDAY 1382
#define IDC_CALSET_ONE_MONTH 1403
#define IDC_CALSET_THREE_MONTHS 1404
#define IDC_CALSET_FOUR_MONTHS 1405
#define IDC_CALSET_AUTO_RESIZE 1251
#define IDC_CALSET_GRID 1086
#define IDC_CALSET_OTHER_DAYS 1087
#define IDC_CALSET_BORDER 1085
#define IDC_CALSET_ON_TOP 1351
#define IDC_CALSET_ROLL_UP 1084
#define IDC_CALSET_ALARM_BOLD 1298
#define IDC_CALSET_ALARM_UNDERLINE 1299
#define IDC_CALSET_ALARM_SHADE 1604
#define IDC_CALSET_SHADE_COLOR 1353
#define IDC_CALSET_HOTKEY_ON 1599
#define IDC_CALSET_HOTKEY 1289
#define IDC_CALSET_TRANSPARENCY 1290
#define IDC_CALSET_TRANSPARENCY_LABEL 1291
#define IDC_CALSET_BACKGROUND 1117
#define IDC_CALSET_RESET 1308
#define IDC_CALSET_PREVIEW 1601
#define IDC_CALSET_HELP 9

// The style buttons, "1" to "9" (1269 is none of them).
#define IDC_CALSET_STYLE_1 1265
#define IDC_CALSET_STYLE_4 1268
#define IDC_CALSET_STYLE_5 1270
#define IDC_CALSET_STYLE_9 1274

// The region tooltips of the preview's background.
#define IDT_CALSET_FIRST_REGION 1022
#define IDT_CALSET_LAST_REGION 1031

// The style button's menu and its commands.
#define IDM_CALENDAR_STYLE_BUTTON 764
#define ID_CALSTYLE_SAVE 4370
#define ID_CALSTYLE_UNDO 4396
#define ID_CALSTYLE_RESET 4397

// The dialog's topic in the help file.
#define IDH_CALENDAR_SETTINGS 840
