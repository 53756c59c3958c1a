#pragma once

// The password prompt of a protected note: 671, and 672 while notes are
// searched (its Cancel skips the note, and 3 stops the search).
#define IDD_NOTE_PASSWORD 671
#define IDD_NOTE_PASSWORD_SEARCH 672
#define IDC_NOTE_PASSWORD_PROMPT 1296
#define IDC_NOTE_PASSWORD_EDIT 1125
#define IDC_NOTE_PASSWORD_OK 1293
#define IDC_NOTE_PASSWORD_STOP 3
#define IDC_NOTE_PASSWORD_HELP 9
#define IDC_NOTE_PASSWORD_LINK 1287
#define IDC_NOTE_PASSWORD_CAPS_NOTE 1288
#define IDC_NOTE_PASSWORD_CAPS_ICON 1289
#define IDC_NOTE_PASSWORD_ICON 1290
#define IDC_NOTE_PASSWORD_FIND_OUT 1291
// The help topic of the prompt.
#define IDH_NOTE_PASSWORD 822
