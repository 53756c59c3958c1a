#pragma once

#include <windows.h>

#include <string>

#include "foundation/Clock.h"
#include "foundation/DateTime.h"

// Times of the alarm tests: a local time, its text as the notes show it, and
// a "now" the program's clock answers while the object lives.

inline SYSTEMTIME LocalTime(WORD day, WORD month, WORD year, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME time{};
    time.wDay = day;
    time.wMonth = month;
    time.wYear = year;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

// The local time the seconds from now.
inline CDateTime SecondsFromNow(int seconds)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    CDateTime time;
    time = now;
    time.AddSeconds(static_cast<DWORD>(seconds));
    return time;
}

// "dd-mm-yyyy hh:mm:ss".
inline std::string TextOf(const CDateTime& time)
{
    CDateTime copy = time;
    return copy.FormatDateTime(false);
}

class FixedClock {
public:
    explicit FixedClock(const SYSTEMTIME& now) { SetClockOverride(&now); }
    ~FixedClock() { SetClockOverride(nullptr); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
};
