#pragma once

#include "resources/ids/StyleTextMenuIds.h"

// The style text dialog: its template, the pictures of its format buttons
// and its controls. Bold, Italic and Underline share the context menu's ids.
#define IDD_STYLE_TEXT 719
#define IDB_STYLE_TEXT_BOLD 723
#define IDB_STYLE_TEXT_ITALIC 724
#define IDB_STYLE_TEXT_FONT 725
#define IDB_STYLE_TEXT_UNDERLINE 726
#define IDH_STYLE_TEXT 838
#define IDC_STYLE_TEXT_FONT 1082
#define IDC_STYLE_TEXT_EDIT 1355
#define IDC_STYLE_TEXT_DATE 1366
#define IDC_STYLE_TEXT_TIME 1367
#define IDC_STYLE_TEXT_DAY 1368
#define IDC_STYLE_TEXT_MONTH 1369
#define IDC_STYLE_TEXT_YEAR 1370
#define IDC_STYLE_TEXT_DAY_OF_WEEK 1371
#define IDC_STYLE_TEXT_HOUR 1372
#define IDC_STYLE_TEXT_MINUTE 1373
#define IDC_STYLE_TEXT_CURSOR 1374
#define IDC_STYLE_TEXT_SAVE 1375
