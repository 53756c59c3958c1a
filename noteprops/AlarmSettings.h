#pragma once

#include <windows.h>

#include "foundation/DateTime.h"

// The Alarm page's working copy of a note's alarm, made before the note
// settings sheet opens; the note takes it back when the sheet was applied.
class CAlarmSettings {
public:
    // A value of 0 becomes 1 and a unit of 0 days.
    CAlarmSettings(bool alarmSet, const CDateTime& alarmTime, bool ringing, bool recurring, BYTE value, BYTE unit,
                   BYTE stopAfterMinutes, DWORD* centred, bool openWithAlarmSet, const CDateTime* proposedTime);

    DWORD alarmSet;
    DWORD ringing;
    SYSTEMTIME alarmTime;  // day of week and milliseconds not filled
    DWORD applied = 0;     // 1 after the sheet's Apply, 0 after its Cancel
    // The caller asks the page to switch the alarm on at the proposed time
    // (none: now plus five minutes).
    DWORD openWithAlarmSet;
    const CDateTime* proposedTime;
    DWORD recurring;
    BYTE value;
    BYTE unit;
    BYTE stopAfterMinutes;
    DWORD* centred;  // the sheet's: the first page shown centres it and sets it
};
