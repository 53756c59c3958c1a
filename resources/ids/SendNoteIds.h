#pragma once

// The note's send dialog and its controls.
#define IDD_SEND_NOTE 2300
#define IDC_SEND_LIST 2301
#define IDC_SEND_COMPUTER 2302
#define IDC_SEND_ADDRESS 2303
#define IDC_SEND_PORT 2304
#define IDC_SEND_TITLE 2305
#define IDC_SEND_CHAT 2306
