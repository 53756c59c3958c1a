#pragma once

#include <windows.h>

// What start-up loads once into the program's global buffers and handles:
// texts of the string table, the menu fonts, the cursors and the note's close
// button. WinMain calls InitGlobalStrings, CreateMenuFonts, LoadSnoozeChoices
// and LoadCursorsAndBitmaps in this order; texts longer than their buffers are
// cut.

struct CGlobalTexts {
    char alarmNoteTip[126];
    char contextMenuTip[126];
    char lockedNoteTip[51];
    char deleteNote[27];
    char endChat[27];
};
const CGlobalTexts& GlobalTexts();
void InitGlobalStrings();

// The menus' choices: snooze periods, unit words (entry 0 a single blank; then
// minute, hour, day, week, month, weekday), margin kinds and background kinds.
struct CSnoozeChoices {
    char periods[12][17];
    char singularUnits[7][12];
    char pluralUnits[7][12];
    char listUnits[7][12];
    char marginKinds[5][22];
    char backgroundKinds[6][42];
};
const CSnoozeChoices& SnoozeChoices();
// Without gradient filling the three gradient kinds end in " (disabled)".
void LoadSnoozeChoices(HINSTANCE instance);

// The system's menu font, and its bold form, into MenuFont() and BoldMenuFont().
void CreateMenuFonts();

struct CProgramCursors {
    HCURSOR arrow, ibeam, wait;
    HCURSOR note, http, mail, pointer, gradient, vertical, reset;
    HBITMAP closeButton;
    int closeButtonWidth, closeButtonHeight;
};
const CProgramCursors& ProgramCursors();
// A cursor or bitmap that cannot be loaded is reported and left out.
void LoadCursorsAndBitmaps(HINSTANCE instance);
// The link, mail and day cursors and the close button, at the end of WinMain.
void ReleaseCursorsAndBitmaps();

// The file-name text of a sound kind in the program's settings: kinds 2, 3 and
// 4 have their own, every other kind shares the alarm's.
char* GetSoundFileNameBuffer(int kind);
