#pragma once

#include <cstdint>

// Small settings that a note keeps packed in six number fields of its record:
// three digits (0 to 8), a level, a combined value, a digit with its flag, and
// one byte.
struct PackedNoteValues {
    int digitA = 0;
    int digitB = 0;
    int digitC = 0;
    bool digitsKnown = false;  // false: the record held none, the note keeps its defaults
    int level = 0;
    std::uint32_t combined = 0;
    int digitD = 0;
    int flagE = 0;
    int byteSetting = 0;
};

// The stored numbers: BYSDAY, BYSMONTH, WSHOUR, WSMINUTE, WSSECOND, WSYEAR.
struct PackedNoteFields {
    std::int32_t level = 0;
    std::int32_t combinedHigh = 0;
    std::int32_t combinedLow = 0;
    std::int32_t digitAndFlag = 0;
    std::int32_t byteSetting = 0;
    std::int32_t digits = 0;
};

// Writing: the digits as (a+1) + 10(b+1) + 100(c+1); a level above 90 as 90;
// the combined value as hundreds and remainder; 10(d+1), plus 1 when e is 1.
PackedNoteFields PackNoteValues(const PackedNoteValues& values);

// Reading: a level below 5 is 0, above 90 is 90, and the steps of older
// versions (14, 19, 23, 28, 32, 37, 41, 46, 64) rise to the current ones; the
// digits are decoded only from a positive number.
PackedNoteValues UnpackNoteValues(const PackedNoteFields& fields);

// WSHOUR holds the combined value's last two digits, which readers take modulo
// 256; above them, in steps of 256, it keeps the minutes after which a
// ringing alarm's sound stops (0 to 255).
std::int32_t WithAlarmStopMinutes(std::int32_t combinedLow, int minutes);
int AlarmStopMinutesOf(std::int32_t combinedLow);
