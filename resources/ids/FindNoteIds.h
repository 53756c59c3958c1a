#pragma once

// The notes' Find box and its controls.
#define IDD_FIND_NOTE 216
#define IDC_FIND_TEXT 1301
#define IDC_FIND_ALL_NOTES 1302
#define IDC_FIND_PREVIOUS 1303
#define IDC_FIND_LABEL 1304
