// When a note's alarm comes: the next time after it has rung, by its
// recurrence, and the due tests the housekeeping asks every note.
#include <windows.h>

#include <string>

#include "foundation/Clock.h"
#include "foundation/bytes/BoundedCopy.h"
#include "globals/MainWindowMessages.h"
#include "note/NoteController.h"
#include "note/AlarmTiming.h"
#include "resources/ids/SnoozeMenuIds.h"
#include "store/Sounds.h"

namespace {
CDateTime Now()
{
    CDateTime now;
    now = GetLocalNow();
    return now;
}

void SetDate(CDateTime& time, const CDateTime& from)
{
    time.m_day = from.m_day;
    time.m_month = from.m_month;
    time.m_year = from.m_year;
}

// Step k of a monthly alarm: the stored date k x value months on, its day
// cut to the length of that month; an alarm on the last day of its month
// stays on the last day. Each step counts from the stored date, so a short
// month never pulls the later ones back.
CDateTime MonthlyCandidate(const CDateTime& stored, long months, bool lastDay)
{
    const long index = static_cast<long>(stored.m_year) * 12 + (stored.m_month - 1) + months;
    CDateTime candidate(1, static_cast<BYTE>(index % 12 + 1), static_cast<WORD>(index / 12), stored.m_hour,
                        stored.m_minute, stored.m_second);
    const int length = candidate.GetDaysInMonth();
    candidate.m_day = static_cast<BYTE>(lastDay || stored.m_day > length ? length : stored.m_day);
    return candidate;
}

CDateTime NextMonthly(const CDateTime& stored, int value, const CDateTime& now)
{
    const bool lastDay = stored.IsLastDayOfMonth();
    // A year of 65535 ends the search: a WORD holds no later year.
    const long lastIndex = 65535L * 12 - 1;
    CDateTime candidate = stored;
    for (long months = 0; candidate <= now; months += value) {
        const long index = static_cast<long>(stored.m_year) * 12 + (stored.m_month - 1) + months;
        if (index + value > lastIndex)
            break;
        candidate = MonthlyCandidate(stored, months + value, lastDay);
    }
    return candidate;
}
}

CDateTime NextAlarmTime(const CDateTime& stored, bool recurring, int unit, int value, WORD replaySeconds,
                        const CDateTime& now)
{
    // A value of 0, restored or received, would never move the time on.
    const int step = value > 0 ? value : 1;
    CDateTime next = stored;
    if (!recurring) {
        next = now;
        next.m_second = 0;
        next.AddSeconds(replaySeconds);
        return next;
    }
    switch (unit) {
    case kUnitMinutes:
        next = now;
        next.m_second = 0;
        next.AddMinutes(static_cast<DWORD>(step));
        break;
    case kUnitHours:
        SetDate(next, now);
        next.m_hour = now.m_hour;
        do
            next.AddHours(static_cast<DWORD>(step));
        while (next <= now);
        break;
    case kUnitDays:
        SetDate(next, now);
        if (step == 1) {
            if (next <= now)
                next.AddDays(1);
        } else {
            do
                next.AddDays(static_cast<DWORD>(step));
            while (next <= now);
        }
        break;
    case kUnitWeeks:
        while (next <= now)
            next.AddDays(7 * static_cast<DWORD>(step));
        break;
    case kUnitMonths:
        next = NextMonthly(stored, step, now);
        break;
    case kUnitWeekdays:
        while (next <= now)
            next.AddWeekdays(static_cast<DWORD>(step));
        break;
    default:
        break;
    }
    next.FormatTime();
    return next;
}

void CNoteController::ComputeNextAlarm()
{
    m_alarm =
        NextAlarmTime(m_alarm, m_alarmRecurring, m_alarmUnit, m_alarmValue, UserSoundSlot(kSoundAlarm).replay, Now());
    m_alarmRung = false;
    UpdateAlarmTooltip();
    TellCalendarAlarmsChanged(GetMainWindow());
}

bool CNoteController::IsRecurringAlarmAhead()
{
    UpdateAlarmTooltip();
    return m_alarmRecurring && Now() <= m_alarm;
}

bool CNoteController::IsAlarmDue()
{
    if (!m_alarmSet)
        return false;
    // A ringing note the user has hidden comes up again.
    if (m_ringing && !m_hidden)
        return false;
    if (m_alarmRecurring)
        return !IsRecurringAlarmAhead();
    UpdateAlarmTooltip();
    return Now() > m_alarm;
}

void CNoteController::UpdateAlarmTooltip()
{
    std::string tip;
    if (m_alarmSet) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        char head[64] = "";
        char tail[64] = "";
        LoadStringA(instance, IDS_NEXT_ALARM_AT, head, sizeof head);
        LoadStringA(instance, IDS_RIGHT_CLICK_TO_CHANGE, tail, sizeof tail);
        CDateTime alarm = m_alarm;
        tip = std::string(head) + alarm.FormatDateTime(false) + tail;
    }
    CopyBounded(m_alarmTip, tip.c_str());
    ShowAlarmTipOnCaption(*this);
}
