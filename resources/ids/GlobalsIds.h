#pragma once

// Ids of the texts, cursors and bitmaps that start-up loads into the program's
// global buffers and handles.
#define IDS_ALARM_NOTE_TIP 168
#define IDS_CONTEXT_MENU_TIP 169
#define IDS_LOCKED_NOTE_TIP 133
#define IDS_DELETE_NOTE 126
#define IDS_END_CHAT 390

// Snooze periods, in the order the menus list them.
#define IDS_SNOOZE_5_MINUTES 194
#define IDS_SNOOZE_15_MINUTES 195
#define IDS_SNOOZE_30_MINUTES 403
#define IDS_SNOOZE_1_HOUR 196
#define IDS_SNOOZE_3_HOURS 350
#define IDS_SNOOZE_7_HOURS 404
#define IDS_SNOOZE_12_HOURS 197
#define IDS_SNOOZE_1_DAY 198
#define IDS_SNOOZE_3_DAYS 199
#define IDS_SNOOZE_1_WEEKDAY 352
#define IDS_SNOOZE_1_WEEK 348
#define IDS_SNOOZE_1_MONTH 349

// Unit words: singular, plural and list forms of minute, hour, day, week,
// month and weekday.
#define IDS_UNIT_MINUTE 184
#define IDS_UNIT_HOUR 185
#define IDS_UNIT_DAY 186
#define IDS_UNIT_WEEK 187
#define IDS_UNIT_MONTH 188
#define IDS_UNIT_WEEKDAY 363
#define IDS_UNIT_MINUTES 189
#define IDS_UNIT_HOURS 190
#define IDS_UNIT_DAYS 191
#define IDS_UNIT_WEEKS 192
#define IDS_UNIT_MONTHS 193
#define IDS_UNIT_WEEKDAYS 361
#define IDS_UNIT_MINUTE_S 179
#define IDS_UNIT_HOUR_S 180
#define IDS_UNIT_DAY_S 181
#define IDS_UNIT_WEEK_S 182
#define IDS_UNIT_MONTH_S 183
#define IDS_UNIT_WEEKDAY_S 362

// The left margin kinds and background kinds of notes.
#define IDS_MARGIN_NONE 2301
#define IDS_MARGIN_SINGLE_DOTTED 2302
#define IDS_MARGIN_SINGLE 2303
#define IDS_MARGIN_DOUBLE_DOTTED 2304
#define IDS_MARGIN_DOUBLE 2305
#define IDS_BACKGROUND_PLAIN 2311
#define IDS_BACKGROUND_HORIZONTAL 2312
#define IDS_BACKGROUND_VERTICAL 2313
#define IDS_BACKGROUND_DIAGONAL 2314
#define IDS_BACKGROUND_IMAGE 2315
#define IDS_BACKGROUND_TRANSPARENT 2316

// Cursors.
#define IDC_CURSOR_NOTE 781
#define IDC_CURSOR_HTTP 181
#define IDC_CURSOR_MAIL 179
#define IDC_CURSOR2 372
#define IDC_CURSOR_GRADIENT 580
#define IDC_CURSOR_VERTICAL 588
#define IDC_CURSOR_RESET 584

// The close button of a note's title bar, in three looks.
#define IDB_CLOSE98 600
#define IDB_CLOSEXP 601
#define IDB_CLOSEVISTASMALL 794

// The menus' pictures: 104 of 16 by 16 in a row, light grey transparent
// (drawn by scripts/make-menu-pictures.py).
#define IDB_MENU_PICTURES 210
