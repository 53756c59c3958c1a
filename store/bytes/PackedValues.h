#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Values that the users table keeps packed into single fields: hotkeys as
// modifier digit x 1000 + virtual key, four hotkeys in one text, small digit
// settings as decimal digits, and the user's password code.

// A system-wide hotkey: modifier flags (0 or 1) and a virtual-key code.
struct CHotkeySetting {
    std::uint32_t ctrl = 0;
    std::uint32_t alt = 0;
    std::uint32_t shift = 0;
    std::uint32_t key = 0;
};

CHotkeySetting MakeHotkey(std::uint32_t ctrl, std::uint32_t alt, std::uint32_t shift, std::uint32_t key);

// 4 x Ctrl + 2 x Alt + Shift.
unsigned ModifierDigit(const CHotkeySetting& hotkey);
// A digit of 1 to 7 sets the three flags; any other leaves them as they are.
void ApplyModifierDigit(unsigned digit, CHotkeySetting& hotkey);

// digit x 1000 + key.
long PackHotkey(const CHotkeySetting& hotkey);
// A value of at least 3000 (and below the limit, when one is given) sets the key
// (value mod 1000) and, through its thousands digit, the flags; a smaller value
// is from before hotkeys were packed and leaves the hotkey as it is.
void UnpackHotkey(long value, long limit, CHotkeySetting& hotkey);

// The text of SZINITTEXT (25 characters): Ctrl, Alt, Shift and key of the
// show-desktop hotkey and of the park hotkey as eight decimal numbers with
// commas, blanks, then at 19-24 the modifier digit and two hexadecimal key
// digits of the find-text and of the alarm-note hotkey.
enum { kInitTextLength = 25 };
std::string PackInitText(const CHotkeySetting& showDesktop, const CHotkeySetting& park,
                         const CHotkeySetting& findText, const CHotkeySetting& alarmNote);
// Reads the text (trailing blanks already removed or not): 12 characters or more
// set both numbered hotkeys, fewer set the show-desktop one only, none leaves
// all four; the two digit-coded hotkeys are read only from a text of exactly 25
// characters. What is not read keeps its value.
void UnpackInitText(const char* text, CHotkeySetting& showDesktop, CHotkeySetting& park,
                    CHotkeySetting& findText, CHotkeySetting& alarmNote);

// BYIPPART3: 100 x (a + 1) + 10 x (b + 1) + (c + 1). Below 111 the value is from
// an older record: a = b = 0 and c = the value.
long PackThreeDigits(const std::uint8_t digits[3]);
void UnpackThreeDigits(long value, std::uint8_t digits[3]);
// BYIPPART4: 10 x (d + 1) + (e + 1). Below 11: d = 0, e = the value, and the
// answer is false (the record predates these settings).
long PackTwoDigits(const std::uint8_t digits[2]);
bool UnpackTwoDigits(long value, std::uint8_t digits[2]);

// The stored form of a password code: its first 8 characters in lower case.
enum { kPasswordCodeLength = 8 };
std::string MakePasswordCode(const char* text);
// Codes are equal when their first 8 characters are, ignoring case.
bool SamePasswordCode(const char* a, const char* b);
