#pragma once

#include <windows.h>

// A local date and time to the second, with calendar arithmetic, comparisons and
// two cached texts: a date text filled on request and the locale's short time
// text, refreshed after every change.
class CDateTime {
public:
    CDateTime(BYTE day = 1, BYTE month = 1, WORD year = 2000, WORD hour = 0, WORD minute = 0, WORD second = 0);
    CDateTime& operator=(const SYSTEMTIME& time);

    void ToSystemTime(SYSTEMTIME& time) const;

    bool operator==(const CDateTime& other) const;
    bool operator>(const CDateTime& other) const;
    bool operator<(const CDateTime& other) const;
    bool operator<=(const CDateTime& other) const;

    // "dd-mm-yyyy" and, unless dateOnly, " hh:mm:ss".
    const char* FormatDateTime(bool dateOnly);
    // "yyyymmddhhmmss": a key that sorts as text.
    const char* FormatSortKey();
    const char* FormatTime();
    const char* GetTimeText() const { return m_timeText; }

    int GetDayOfWeek() const;  // 0 = Sunday
    void GetDayName(char* buffer, int size) const;

    bool IsValidDay() const;
    bool IsLastDayOfMonth() const;
    int GetDaysInMonth() const;

    void AddSeconds(DWORD n);
    void AddMinutes(DWORD n);
    void AddHours(DWORD n);
    void AddDays(DWORD n);
    void AddWeeks(BYTE n);
    void AddMonths(BYTE n);
    void AddYears(DWORD n);
    void AddWeekdays(DWORD n);

    BYTE m_day;
    BYTE m_month;
    WORD m_year;
    WORD m_hour;
    WORD m_minute;
    WORD m_second;

private:
    void NextMonth();
    // The arithmetic alone; the public steps then refresh the time text.
    void AddDaysOnly(DWORD n);
    void AddHoursOnly(DWORD n);
    void AddMinutesOnly(DWORD n);
    void AddSecondsOnly(DWORD n);
    void ClampDay();

    char m_dateText[51];
    char m_timeText[50];
};

bool IsLeapYear(int year);
