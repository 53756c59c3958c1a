#pragma once

// The "Select chat icon" dialog, its "no image" picture and its help topic.
#define IDD_AVATAR_PICKER 791
#define IDB_AVATAR_NO_IMAGE 792
#define IDH_AVATAR_PICKER 842

// The controls that every picture picker dialog has.
#define IDC_PICTURE_LIST 1174
#define IDC_PICTURE_HELP 1197
#define IDC_PICTURE_OTHER_IMAGE 1301
#define IDC_PICTURE_OK 1306
