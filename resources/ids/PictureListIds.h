#pragma once

// The controls that every picture picker dialog has.
#define IDC_PICTURE_LIST 1174
#define IDC_PICTURE_HELP 1197
#define IDC_PICTURE_OTHER_IMAGE 1301
#define IDC_PICTURE_OK 1306
