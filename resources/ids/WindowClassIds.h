#pragma once

// Ids of the window class names and the main window's title in the string table.
#define IDS_MAIN_WINDOW_CLASS 107
#define IDS_MAIN_WINDOW_TITLE 110
#define IDS_NOTE_WINDOW_CLASS 111
#define IDS_CAPTURE_WINDOW_CLASS 135
#define IDS_CHILD_WINDOW_CLASS 139
