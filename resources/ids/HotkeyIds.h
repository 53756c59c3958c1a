#pragma once

// Strings of the hotkey code: the names of the keys that have no character
// of their own, and the texts of the key-combination dialog.
#define IDS_HOTKEY_TWO_MODIFIERS 125
#define IDS_KEY_BACKSPACE 151
#define IDS_KEY_TAB 152
#define IDS_KEY_ENTER 153
#define IDS_KEY_ESCAPE 154
#define IDS_KEY_SPACEBAR 155
#define IDS_KEY_PAGE_UP 156
#define IDS_KEY_PAGE_DOWN 157
#define IDS_KEY_END 158
#define IDS_KEY_HOME 159
#define IDS_KEY_LEFT 160
#define IDS_KEY_RIGHT 161
#define IDS_KEY_UP 162
#define IDS_KEY_DOWN 163
#define IDS_KEY_INSERT 164
#define IDS_KEY_DELETE 165
#define IDS_CMDLINE_ATTACHMENT_MISSING 335
#define IDS_HOTKEY_CHOOSE_LETTER 347

// The key-combination dialog and its controls.
#define IDD_HOTKEY 345
#define IDC_HOTKEY_CTRL 1085
#define IDC_HOTKEY_ALT 1086
#define IDC_HOTKEY_SHIFT 1087
#define IDC_HOTKEY_KEY 1092
// The help topic of the dialog.
#define IDH_HOTKEY 806
