#include "foundation/DateTime.h"

#include <cstdio>

namespace {
const int kDaysInMonth[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

int DaysIn(int month, int year)
{
    if (month < 1 || month > 12)
        return 31;
    return kDaysInMonth[IsLeapYear(year) ? 1 : 0][month];
}
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

CDateTime::CDateTime(BYTE day, BYTE month, WORD year, WORD hour, WORD minute, WORD second)
    : m_day(day), m_month(month), m_year(year), m_hour(hour), m_minute(minute), m_second(second)
{
    m_dateText[0] = 0;
    FormatTime();
}

CDateTime& CDateTime::operator=(const SYSTEMTIME& time)
{
    m_year = time.wYear;
    m_month = static_cast<BYTE>(time.wMonth);
    m_day = static_cast<BYTE>(time.wDay);
    m_hour = time.wHour;
    m_minute = time.wMinute;
    m_second = time.wSecond;
    FormatTime();
    return *this;
}

void CDateTime::ToSystemTime(SYSTEMTIME& time) const
{
    time.wYear = m_year;
    time.wMonth = m_month;
    time.wDay = m_day;
    time.wHour = m_hour;
    time.wMinute = m_minute;
    time.wSecond = m_second;
    time.wMilliseconds = 0;
}

bool CDateTime::operator==(const CDateTime& o) const
{
    return m_year == o.m_year && m_month == o.m_month && m_day == o.m_day && m_hour == o.m_hour &&
           m_minute == o.m_minute && m_second == o.m_second;
}

bool CDateTime::operator>(const CDateTime& o) const
{
    if (m_year != o.m_year)
        return m_year > o.m_year;
    if (m_month != o.m_month)
        return m_month > o.m_month;
    if (m_day != o.m_day)
        return m_day > o.m_day;
    if (m_hour != o.m_hour)
        return m_hour > o.m_hour;
    if (m_minute != o.m_minute)
        return m_minute > o.m_minute;
    return m_second > o.m_second;
}

bool CDateTime::operator<(const CDateTime& o) const
{
    return o > *this;
}

bool CDateTime::operator<=(const CDateTime& o) const
{
    return !(*this > o);
}

const char* CDateTime::FormatDateTime(bool dateOnly)
{
    if (dateOnly)
        std::snprintf(m_dateText, sizeof m_dateText, "%02d-%02d-%4d", m_day, m_month, m_year);
    else
        std::snprintf(m_dateText, sizeof m_dateText, "%02d-%02d-%4d %02d:%02d:%02d", m_day, m_month, m_year, m_hour,
                      m_minute, m_second);
    return m_dateText;
}

const char* CDateTime::FormatSortKey()
{
    std::snprintf(m_dateText, sizeof m_dateText, "%4d%2d%2d%2d%2d%2d", m_year, m_month, m_day, m_hour, m_minute,
                  m_second);
    for (char* p = m_dateText; *p; ++p)
        if (*p == ' ')
            *p = '0';
    return m_dateText;
}

const char* CDateTime::FormatTime()
{
    SYSTEMTIME time = {};
    ToSystemTime(time);
    if (GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, m_timeText, sizeof m_timeText) == 0)
        m_timeText[0] = 0;
    return m_timeText;
}

int CDateTime::GetDayOfWeek() const
{
    SYSTEMTIME time = {};
    ToSystemTime(time);
    FILETIME fileTime;
    if (!SystemTimeToFileTime(&time, &fileTime) || !FileTimeToSystemTime(&fileTime, &time))
        return 0;
    return time.wDayOfWeek;
}

void CDateTime::GetDayName(char* buffer, int size) const
{
    if (!buffer || size <= 0)
        return;
    // LOCALE_SDAYNAME1 is Monday, LOCALE_SDAYNAME7 Sunday.
    int dayOfWeek = GetDayOfWeek();
    LCTYPE name = dayOfWeek == 0 ? LOCALE_SDAYNAME7 : LOCALE_SDAYNAME1 + dayOfWeek - 1;
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, name, buffer, size) == 0)
        buffer[0] = 0;
}

int CDateTime::GetDaysInMonth() const
{
    return DaysIn(m_month, m_year);
}

bool CDateTime::IsValidDay() const
{
    return m_day <= GetDaysInMonth();
}

bool CDateTime::IsLastDayOfMonth() const
{
    return m_day == GetDaysInMonth();
}

void CDateTime::NextMonth()
{
    if (m_month >= 12) {
        m_month = 1;
        ++m_year;
    } else {
        ++m_month;
    }
}

void CDateTime::AddDaysOnly(DWORD n)
{
    for (;;) {
        int length = GetDaysInMonth();
        if (m_day + n <= static_cast<DWORD>(length)) {
            m_day = static_cast<BYTE>(m_day + n);
            return;
        }
        DWORD used = m_day < length ? static_cast<DWORD>(length - m_day) : 0;
        n -= used;
        NextMonth();
        m_day = 0;
    }
}

void CDateTime::AddHoursOnly(DWORD n)
{
    if (n >= 24) {
        AddDaysOnly(n / 24);
        n %= 24;
    }
    if (m_hour + n > 23) {
        m_hour = static_cast<WORD>(m_hour + n - 24);
        AddDaysOnly(1);
    } else {
        m_hour = static_cast<WORD>(m_hour + n);
    }
}

void CDateTime::AddMinutesOnly(DWORD n)
{
    if (n >= 60) {
        AddHoursOnly(n / 60);
        n %= 60;
    }
    if (m_minute + n < 60) {
        m_minute = static_cast<WORD>(m_minute + n);
    } else {
        m_minute = static_cast<WORD>(m_minute + n - 60);
        AddHoursOnly(1);
    }
}

void CDateTime::AddSecondsOnly(DWORD n)
{
    if (n >= 60) {
        AddMinutesOnly(n / 60);
        n %= 60;
    }
    if (m_second + n > 59) {
        m_second = static_cast<WORD>(m_second + n - 60);
        AddMinutesOnly(1);
    } else {
        m_second = static_cast<WORD>(m_second + n);
    }
}

// Each public step refreshes the time text once, after the whole change.
void CDateTime::AddDays(DWORD n)
{
    AddDaysOnly(n);
    FormatTime();
}

void CDateTime::AddHours(DWORD n)
{
    AddHoursOnly(n);
    FormatTime();
}

void CDateTime::AddMinutes(DWORD n)
{
    AddMinutesOnly(n);
    FormatTime();
}

void CDateTime::AddSeconds(DWORD n)
{
    AddSecondsOnly(n);
    FormatTime();
}

void CDateTime::AddWeeks(BYTE n)
{
    AddDays(7u * n);
}

void CDateTime::ClampDay()
{
    int length = GetDaysInMonth();
    if (m_day > length)
        m_day = static_cast<BYTE>(length);
}

void CDateTime::AddMonths(BYTE n)
{
    if (n >= 12) {
        m_year = static_cast<WORD>(m_year + n / 12);
        n %= 12;
    }
    if (m_month + n > 12) {
        ++m_year;
        m_month = static_cast<BYTE>(m_month + n - 12);
    } else {
        m_month = static_cast<BYTE>(m_month + n);
    }
    ClampDay();
    FormatTime();
}

// 29 February moves to 28 February when the target year has none.
void CDateTime::AddYears(DWORD n)
{
    m_year = static_cast<WORD>(m_year + n);
    ClampDay();
    FormatTime();
}

void CDateTime::AddWeekdays(DWORD n)
{
    DWORD counted = 0;
    while (counted < n) {
        AddDaysOnly(1);
        int dayOfWeek = GetDayOfWeek();
        if (dayOfWeek != 0 && dayOfWeek != 6)
            ++counted;
    }
    FormatTime();
}
