#pragma once

// The About box, its picture and the version texts it shows.
#define IDD_ABOUT 487
#define IDB_ABOUT 562
#define IDC_ABOUT_WEB_SITE 1046
#define IDC_ABOUT_NEW_VERSION 1047
#define IDC_ABOUT_BOTTOM_LINE 1204
// The version shown in the caption, and the tag the version check is given.
#define IDS_VERSION_TEXT 405
#define IDS_VERSION_TAG 293
