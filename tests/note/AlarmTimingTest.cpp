// When a note's alarm comes back after it has rung, and when it is due: the
// recurrences of every unit computed at a given "now", the strict due test,
// and the record the Alarm page edits.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "note/NoteController.h"
#include "note/NoteSheetRecords.h"
#include "noteprops/AlarmSettings.h"
#include "store/Sounds.h"
#include "note/AlarmTestTimes.h"

namespace {
// While it lives, "now" is the given time and the alarm sound replays after
// the given seconds.
class FixedNow {
public:
    FixedNow(const SYSTEMTIME& now, WORD replay) : m_clock(now), m_replay(UserSoundSlot(kSoundAlarm).replay)
    {
        UserSoundSlot(kSoundAlarm).replay = replay;
    }
    ~FixedNow() { UserSoundSlot(kSoundAlarm).replay = m_replay; }
    FixedNow(const FixedNow&) = delete;
    FixedNow& operator=(const FixedNow&) = delete;

private:
    FixedClock m_clock;
    WORD m_replay;
};

struct NextAlarmRow {
    const char* what;
    SYSTEMTIME stored;
    SYSTEMTIME now;
    bool recurring;
    BYTE unit;
    BYTE value;
    WORD replay;
    const char* expected;
};
}

TEST(AlarmTiming, TheNextAlarmOfEveryRecurrence)
{
    const NextAlarmRow rows[] = {
        {"monthly from the 31st, in February", LocalTime(31, 1, 2026, 10, 0, 0), LocalTime(1, 2, 2026, 12, 0, 0), true,
         5, 1, 0, "28-02-2026 10:00:00"},
        {"monthly from the 31st, in March", LocalTime(31, 1, 2026, 10, 0, 0), LocalTime(1, 3, 2026, 12, 0, 0), true, 5,
         1, 0, "31-03-2026 10:00:00"},
        {"monthly from the 31st, late in April", LocalTime(31, 1, 2026, 10, 0, 0), LocalTime(29, 4, 2026, 12, 0, 0),
         true, 5, 1, 0, "30-04-2026 10:00:00"},
        {"monthly on the 15th", LocalTime(15, 3, 2026, 10, 0, 0), LocalTime(20, 4, 2026, 12, 0, 0), true, 5, 1, 0,
         "15-05-2026 10:00:00"},
        {"monthly from 30 April stays on the last day", LocalTime(30, 4, 2026, 9, 0, 0), LocalTime(1, 5, 2026, 8, 0, 0),
         true, 5, 1, 0, "31-05-2026 09:00:00"},
        {"every two months from the 31st", LocalTime(31, 1, 2026, 10, 0, 0), LocalTime(1, 4, 2026, 12, 0, 0), true, 5,
         2, 0, "31-05-2026 10:00:00"},
        {"monthly still ahead", LocalTime(31, 12, 2026, 10, 0, 0), LocalTime(1, 3, 2026, 12, 0, 0), true, 5, 1, 0,
         "31-12-2026 10:00:00"},
        {"monthly with a value of 0", LocalTime(31, 1, 2026, 10, 0, 0), LocalTime(1, 3, 2026, 12, 0, 0), true, 5, 0, 0,
         "31-03-2026 10:00:00"},
        {"hourly at half past", LocalTime(5, 1, 2026, 8, 30, 0), LocalTime(6, 3, 2026, 10, 20, 15), true, 2, 1, 0,
         "06-03-2026 11:30:00"},
        {"hourly with a value of 0", LocalTime(5, 1, 2026, 8, 30, 0), LocalTime(6, 3, 2026, 10, 20, 15), true, 2, 0, 0,
         "06-03-2026 11:30:00"},
        {"daily, still today", LocalTime(1, 3, 2026, 7, 45, 0), LocalTime(6, 3, 2026, 7, 0, 0), true, 3, 1, 0,
         "06-03-2026 07:45:00"},
        {"daily, tomorrow", LocalTime(1, 3, 2026, 7, 45, 0), LocalTime(6, 3, 2026, 8, 0, 0), true, 3, 1, 0,
         "07-03-2026 07:45:00"},
        {"every three days moves on even from a time ahead", LocalTime(1, 3, 2026, 7, 45, 0),
         LocalTime(6, 3, 2026, 7, 0, 0), true, 3, 3, 0, "09-03-2026 07:45:00"},
        {"weekly", LocalTime(2, 1, 2026, 9, 0, 0), LocalTime(20, 1, 2026, 10, 0, 0), true, 4, 1, 0,
         "23-01-2026 09:00:00"},
        {"weekly still ahead", LocalTime(2, 1, 2026, 9, 0, 0), LocalTime(1, 1, 2026, 10, 0, 0), true, 4, 1, 0,
         "02-01-2026 09:00:00"},
        {"weekdays from a Friday evening", LocalTime(6, 3, 2026, 9, 0, 0), LocalTime(6, 3, 2026, 18, 0, 0), true, 6, 1,
         0, "09-03-2026 09:00:00"},
        {"45 minutes over the new year", LocalTime(31, 12, 2026, 23, 0, 0), LocalTime(31, 12, 2026, 23, 50, 30), true,
         1, 45, 0, "01-01-2027 00:35:00"},
        {"not recurring, replayed after 120 s", LocalTime(6, 3, 2026, 9, 0, 0), LocalTime(6, 3, 2026, 10, 0, 40), false,
         3, 1, 120, "06-03-2026 10:02:00"},
        {"not recurring, never replayed", LocalTime(6, 3, 2026, 9, 0, 0), LocalTime(6, 3, 2026, 10, 0, 40), false, 3, 1,
         0, "06-03-2026 10:00:00"},
        {"an unknown unit", LocalTime(6, 3, 2026, 9, 0, 0), LocalTime(6, 3, 2026, 10, 0, 40), true, 9, 1, 0,
         "06-03-2026 09:00:00"},
    };
    for (const NextAlarmRow& row : rows) {
        FixedNow now(row.now, row.replay);
        CNoteController note;
        note.m_alarmSet = true;
        note.m_alarm = row.stored;
        note.m_alarmRecurring = row.recurring;
        note.m_alarmUnit = row.unit;
        note.m_alarmValue = row.value;
        note.m_alarmRung = true;
        note.ComputeNextAlarm();
        EXPECT_EQ(TextOf(note.m_alarm), row.expected) << row.what;
        EXPECT_FALSE(note.m_alarmRung) << row.what;
        EXPECT_EQ(std::string(note.m_alarmTip),
                  std::string("Next alarm at ") + row.expected + "\r\nRight click to change")
            << row.what;
    }
}

TEST(AlarmTiming, AnAlarmIsDueFromTheSecondAfterItsTime)
{
    for (bool recurring : {false, true}) {
        CNoteController note;
        note.m_alarm = CDateTime(6, 3, 2026, 10, 0, 0);
        note.m_alarmRecurring = recurring;
        note.m_alarmUnit = 3;
        note.m_alarmValue = 1;
        {
            FixedNow now(LocalTime(6, 3, 2026, 10, 0, 1), 0);
            EXPECT_FALSE(note.IsAlarmDue()) << "no alarm set";
            EXPECT_STREQ(note.m_alarmTip, "");
        }
        note.m_alarmSet = true;
        {
            FixedNow now(LocalTime(6, 3, 2026, 10, 0, 0), 0);
            EXPECT_FALSE(note.IsAlarmDue()) << recurring;
            EXPECT_EQ(note.IsRecurringAlarmAhead(), recurring);
            EXPECT_STREQ(note.m_alarmTip, "Next alarm at 06-03-2026 10:00:00\r\nRight click to change");
        }
        FixedNow later(LocalTime(6, 3, 2026, 10, 0, 1), 0);
        EXPECT_TRUE(note.IsAlarmDue()) << recurring;
        EXPECT_FALSE(note.IsRecurringAlarmAhead());
        // A ringing note is not due while it shows, and due again once hidden.
        note.m_ringing = true;
        EXPECT_FALSE(note.IsAlarmDue());
        note.m_hidden = true;
        EXPECT_TRUE(note.IsAlarmDue());
    }
}

TEST(AlarmTiming, TheAlarmPageRecordGoesBackIntoTheNote)
{
    CNoteController note;
    note.m_alarmSet = true;
    note.m_alarm = CDateTime(6, 3, 2026, 10, 5, 7);
    note.m_alarmValue = 0;
    note.m_alarmUnit = 0;
    note.m_stopAfterMinutes = 12;
    DWORD centred = 0;
    CAlarmSettings settings = AlarmSettingsOf(note, &centred, false, nullptr);
    EXPECT_EQ(settings.value, 1);
    EXPECT_EQ(settings.unit, 3);
    EXPECT_EQ(settings.alarmSet, 1u);
    EXPECT_EQ(settings.applied, 0u);
    EXPECT_EQ(settings.alarmTime.wYear, 2026);
    EXPECT_EQ(settings.alarmTime.wSecond, 7);
    EXPECT_EQ(settings.stopAfterMinutes, 12);

    settings.recurring = 1;
    settings.value = 90;
    settings.unit = 1;
    settings.stopAfterMinutes = 3;
    settings.alarmTime.wDay = 9;
    ApplyAlarmSettings(note, settings);
    EXPECT_TRUE(note.m_alarmRecurring);
    EXPECT_EQ(note.m_alarmValue, 90);
    EXPECT_EQ(note.m_alarmUnit, 1);
    EXPECT_EQ(note.m_stopAfterMinutes, 3);
    EXPECT_EQ(TextOf(note.m_alarm), "09-03-2026 10:05:07");
    EXPECT_TRUE(note.m_modified);
    // The snooze menu's list follows: 90 minutes stands after "30 minutes".
    EXPECT_EQ(note.m_snooze.current, 3);
    EXPECT_EQ(note.m_snooze.pairs[3].value, 90);
}
