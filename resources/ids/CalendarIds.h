#pragma once

// The calendar window (dialog 742): its four month grids, the filter bar and
// the pictures and texts of its drawn controls.
#define IDD_CALENDAR 742

// The filter bar over the months.
#define IDC_CAL_FILTER_LABEL 1342
#define IDC_CAL_FILTER_EDIT 1169

// The first month: the title row with its frame, the four arrows and the
// month title, the weekday row with its line, and 42 day cells (six rows of
// seven, row by row).
#define IDC_CAL_TITLE_FRAME 1594
#define IDC_CAL_PREV_YEAR 1379
#define IDC_CAL_PREV_MONTH 1376
#define IDC_CAL_NEXT_MONTH 1377
#define IDC_CAL_NEXT_YEAR 1378
#define IDC_CAL_TITLE 1166
#define IDC_CAL_LINE 1602
#define IDC_CAL_WEEKDAY 1389
#define IDC_CAL_DAY 1406

// The second, third and fourth months: title, line, weekdays and cells.
#define IDC_CAL2_TITLE 1167
#define IDC_CAL2_LINE 1493
#define IDC_CAL2_WEEKDAY 1396
#define IDC_CAL2_DAY 1449
#define IDC_CAL3_TITLE 1168
#define IDC_CAL3_LINE 1543
#define IDC_CAL3_WEEKDAY 1494
#define IDC_CAL3_DAY 1501
#define IDC_CAL4_TITLE 1170
#define IDC_CAL4_LINE 1593
#define IDC_CAL4_WEEKDAY 1544
#define IDC_CAL4_DAY 1551

// The arrows by the size of the month's font: 22 points and more, 16 to 21,
// 8 to 15, and under 8.
#define IDB_CAL_PREV_YEAR_LARGE 757
#define IDB_CAL_PREV_MONTH_LARGE 762
#define IDB_CAL_NEXT_MONTH_LARGE 758
#define IDB_CAL_NEXT_YEAR_LARGE 760
#define IDB_CAL_PREV_YEAR_MEDIUM 763
#define IDB_CAL_PREV_MONTH_MEDIUM 761
#define IDB_CAL_NEXT_MONTH_MEDIUM 756
#define IDB_CAL_NEXT_YEAR_MEDIUM 759
#define IDB_CAL_PREV_YEAR_SMALL 750
#define IDB_CAL_PREV_MONTH_SMALL 744
#define IDB_CAL_NEXT_MONTH_SMALL 743
#define IDB_CAL_NEXT_YEAR_SMALL 751
#define IDB_CAL_PREV_YEAR_TINY 752
#define IDB_CAL_PREV_MONTH_TINY 753
#define IDB_CAL_NEXT_MONTH_TINY 754
#define IDB_CAL_NEXT_YEAR_TINY 755

// The calendar's settings, asked for by another window.
#define IDC_CAL_SETTINGS 1351

// The calendar's menu and its commands.
#define IDM_CAL_MENU 748
#define IDM_CAL_CLOSE 4434
#define IDM_CAL_SETTINGS 4436
#define IDM_CAL_HELP 4438
#define IDM_CAL_STAY_ON_TOP 4440
#define IDM_CAL_BORDER 4443
#define IDM_CAL_ROLL_UP 4444
#define IDM_CAL_NEW_ALARM_NOTE 4456
#define IDM_CAL_THREE_MONTHS 4457
#define IDM_CAL_FOUR_MONTHS 4458
#define IDM_CAL_COPY_IMAGE 4462

// The calendar window's small icon.
#define IDI_CALENDAR 242

// The tip of an empty day cell, and of the calendar's own area.
#define IDS_CAL_MENU_TIP 382
// The tips of the caption: its close box, its icon, and the rest of it
// (the menu on a see-through calendar, else the settings).
#define IDS_CAL_CLOSE_TIP 239
#define IDS_CAL_ICON_TIP 378
#define IDS_CAL_CAPTION_MENU_TIP 379
#define IDS_CAL_CAPTION_SETTINGS_TIP 380

// The calendar's help topic.
#define IDH_CALENDAR 839
