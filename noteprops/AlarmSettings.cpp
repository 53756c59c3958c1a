#include "noteprops/AlarmSettings.h"

#include "note/NoteController.h"

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

CAlarmSettings AlarmSettingsOf(const CNoteController& note, DWORD* centred, bool openWithAlarmSet,
                               const CDateTime* proposedTime)
{
    return CAlarmSettings(note.m_alarmSet, note.m_alarm, note.m_ringing, note.m_alarmRecurring, note.m_alarmValue,
                          note.m_alarmUnit, note.m_stopAfterMinutes, centred, openWithAlarmSet, proposedTime);
}

void ApplyAlarmSettings(CNoteController& note, const CAlarmSettings& settings)
{
    note.m_alarmSet = settings.alarmSet != 0;
    note.m_alarm = settings.alarmTime;
    note.m_alarmRecurring = settings.recurring != 0;
    note.m_alarmValue = settings.value ? settings.value : 1;
    note.m_alarmUnit = settings.unit ? settings.unit : kUnitDays;
    note.m_stopAfterMinutes = settings.stopAfterMinutes;
    note.m_alarmRung = false;
    note.m_snooze = LayOutSnoozeChoices(SnoozeMenuKind::kNote, note.m_alarmUnit, note.m_alarmValue).table;
    note.m_modified = true;
    note.UpdateAlarmTooltip();
}
