#pragma once

#include <windows.h>

// The settings table ("config.QPD"): row 1 the program's settings, row 2 the
// options and the hotkey switches, row 3 the continuation of the mail texts,
// row 4 the backup folder, then rows typed by their CONFIG field ("IN" a note
// for every new user, "TE" a stored note style). These load the rows into the
// program-wide settings objects and write them back; each opens and closes the
// table itself, and table failures are thrown as CGenericException.

// Row 1 into both settings objects (the ports into the user's), the standard
// sounds, default hotkeys and backup folder; then the mail and backup rows,
// the Note Manager's and the calendar's defaults.
void LoadSettings();
// Rows 2, 3 and 4: mail account, the rest of the long texts, a pass phrase left
// by an older version, the backup folder.
void LoadMailAndBackupSettings();
// The twelve hotkey switches of row 2 into the user's settings; a row from
// before the switches gets them all on and written back.
void LoadHotkeyEnableFlags();
void SaveHotkeyEnableFlags();
// "Use styles in rotation for each new note" into the options row.
void SaveStyleRotation();
// Once the user is known: the standard styles built from the user's defaults,
// row 2's style options, then the user's nine styles from their style rows (or,
// in an older table of exactly 8 rows, from the standard styles), written back.
void LoadStylesAndOptions();
// The mail and note-window options into rows 1 to 4.
void SaveMailSettings();
// The user's nine styles into their style rows, the backup folder into row 4.
void SaveBackupFolderAndStyles();
