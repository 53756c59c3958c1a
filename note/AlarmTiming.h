#pragma once

#include <windows.h>

#include "foundation/DateTime.h"

class CNoteController;

// The next alarm time after a note has rung, computed at "now":
// - not recurring: the current minute (second 0) plus the replay interval of
//   the alarm sound, so that a note without one comes up at the next check;
// - minutes: now (second 0) plus the value;
// - hours: today at the current hour with the stored minute and second, then
//   at least one step and on until it is later than now;
// - days: today at the stored time; with value 1 one day on when that has
//   passed, else at least one step and on until it is later than now;
// - weeks, weekdays: the stored time stepped on until it is later than now;
// - months: the stored date k x value months on, the day cut to the month's
//   length (the last day stays the last day), the first such date later than now;
// - any other unit: the stored time.
// A value of 0 counts as 1.
CDateTime NextAlarmTime(const CDateTime& stored, bool recurring, int unit, int value, WORD replaySeconds,
                        const CDateTime& now);

// The caption's tooltip of a note with an alarm shows the note's alarm tip
// (made with the first tip, emptied when the alarm goes); the note window
// passes its caption's mouse moves on.
void ShowAlarmTipOnCaption(CNoteController& note);
void RelayCaptionMouseToAlarmTip(CNoteController& note);
