#pragma once

#include <windows.h>

#include "noteprops/AlarmSettings.h"
#include "noteprops/AppearanceSettings.h"

class CNoteController;

// The note's side of its settings sheet: the working copies the sheet's pages
// edit (noteprops/), made from the note before it opens and taken back by the
// note when it was applied.

CAlarmSettings AlarmSettingsOf(const CNoteController& note, DWORD* centred, bool openWithAlarmSet,
                               const CDateTime* proposedTime);
// The note takes alarm set, time, recurrence, unit, value and stop-after
// minutes back; its snooze list follows the recurrence.
void ApplyAlarmSettings(CNoteController& note, const CAlarmSettings& settings);

// Everything from the note, the rotation flag from the program's settings and
// copies of the user's styles.
void FillAppearanceSettings(CAppearanceSettings& settings, CNoteController& note, DWORD useForNewNotes,
                            DWORD* centred);
// The note takes every look of the record, its texture found again by the
// file's name; with "use for new notes" the user's defaults take them too
// (those the users table has fields for are saved). The program's rotation
// flag takes the record's. A protected record protects the note as the lock
// command does, last, once the note holds everything else.
void ApplyAppearanceSettings(CNoteController& note, const CAppearanceSettings& settings);

// The note's looks that the notes table keeps packed with its background kind.
DWORD NoteHorizontalLines(const CNoteController& note);
DWORD NoteLeftMarginKind(const CNoteController& note);
DWORD NotePlainText(const CNoteController& note);
// A note's body shows the new margin and lines at once.
void SetNoteLineKinds(CNoteController& note, DWORD horizontalLines, DWORD leftMarginKind, DWORD plainText);
