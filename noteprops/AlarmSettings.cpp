#include "noteprops/AlarmSettings.h"

#include "note/bytes/SnoozeLayout.h"

CAlarmSettings::CAlarmSettings(bool isSet, const CDateTime& time, bool isRinging, bool isRecurring,
                               BYTE recurrenceValue, BYTE recurrenceUnit, BYTE stopMinutes, DWORD* centredFlag,
                               bool openSet, const CDateTime* proposed)
    : alarmSet(isSet ? 1 : 0),
      ringing(isRinging ? 1 : 0),
      alarmTime(),
      openWithAlarmSet(openSet ? 1 : 0),
      proposedTime(proposed),
      recurring(isRecurring ? 1 : 0),
      value(recurrenceValue ? recurrenceValue : 1),
      unit(recurrenceUnit ? recurrenceUnit : kUnitDays),
      stopAfterMinutes(stopMinutes),
      centred(centredFlag)
{
    time.ToSystemTime(alarmTime);
    alarmTime.wDayOfWeek = 0;
    alarmTime.wMilliseconds = 0;
}
