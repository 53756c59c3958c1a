#include "store/bytes/PackedValues.h"

#include <cctype>
#include <cstdio>
#include <cstring>

CHotkeySetting MakeHotkey(std::uint32_t ctrl, std::uint32_t alt, std::uint32_t shift, std::uint32_t key)
{
    CHotkeySetting hotkey;
    hotkey.ctrl = ctrl;
    hotkey.alt = alt;
    hotkey.shift = shift;
    hotkey.key = key;
    return hotkey;
}

unsigned ModifierDigit(const CHotkeySetting& hotkey)
{
    return 4 * (hotkey.ctrl ? 1 : 0) + 2 * (hotkey.alt ? 1 : 0) + (hotkey.shift ? 1 : 0);
}

void ApplyModifierDigit(unsigned digit, CHotkeySetting& hotkey)
{
    if (digit < 1 || digit > 7)
        return;
    hotkey.ctrl = (digit & 4) ? 1 : 0;
    hotkey.alt = (digit & 2) ? 1 : 0;
    hotkey.shift = (digit & 1) ? 1 : 0;
}

long PackHotkey(const CHotkeySetting& hotkey)
{
    return static_cast<long>(ModifierDigit(hotkey)) * 1000 + static_cast<long>(hotkey.key % 1000);
}

void UnpackHotkey(long value, long limit, CHotkeySetting& hotkey)
{
    if (value < 3000 || (limit > 0 && value >= limit))
        return;
    hotkey.key = static_cast<std::uint32_t>(value % 1000);
    ApplyModifierDigit(static_cast<unsigned>((value / 1000) % 10), hotkey);
}

namespace {
const char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The modifier digit and two hex key digits at text[at .. at + 2].
void ReadDigitCodedHotkey(const char* text, CHotkeySetting& hotkey)
{
    int high = HexValue(text[1]);
    int low = HexValue(text[2]);
    if (text[0] < '0' || text[0] > '9' || high < 0 || low < 0)
        return;
    hotkey.key = static_cast<std::uint32_t>(high * 16 + low);
    ApplyModifierDigit(static_cast<unsigned>(text[0] - '0'), hotkey);
}

void WriteDigitCodedHotkey(char* at, const CHotkeySetting& hotkey)
{
    unsigned digit = ModifierDigit(hotkey);
    at[0] = static_cast<char>('0' + (digit > 7 ? 3 : digit));
    at[1] = kHexDigits[(hotkey.key >> 4) & 0xF];
    at[2] = kHexDigits[hotkey.key & 0xF];
}

// Up to eight comma-separated numbers of at most 3 digits each from the first
// length characters; returns how many were read.
int ReadNumbers(const char* text, size_t length, long numbers[8])
{
    int count = 0;
    size_t i = 0;
    while (i < length && count < 8) {
        while (i < length && text[i] == ' ')
            ++i;
        if (i >= length)
            break;
        long value = 0;
        size_t digits = 0;
        while (i < length && digits < 3 && text[i] >= '0' && text[i] <= '9') {
            value = value * 10 + (text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0)
            break;
        numbers[count++] = value;
        while (i < length && text[i] != ',')
            ++i;
        ++i;  // past the comma
    }
    return count;
}

void SetFromNumbers(const long* numbers, CHotkeySetting& hotkey)
{
    hotkey.ctrl = numbers[0] ? 1 : 0;
    hotkey.alt = numbers[1] ? 1 : 0;
    hotkey.shift = numbers[2] ? 1 : 0;
    hotkey.key = static_cast<std::uint32_t>(numbers[3]);
}

const size_t kDigitCodesAt = 19;
}

std::string PackInitText(const CHotkeySetting& showDesktop, const CHotkeySetting& park,
                         const CHotkeySetting& findText, const CHotkeySetting& alarmNote)
{
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%u,%u,%u,%u,%u,%u,%u,%u", showDesktop.ctrl ? 1u : 0u,
                  showDesktop.alt ? 1u : 0u, showDesktop.shift ? 1u : 0u, showDesktop.key % 1000,
                  park.ctrl ? 1u : 0u, park.alt ? 1u : 0u, park.shift ? 1u : 0u, park.key % 1000);
    // Eight numbers of at most three digits take at most 19 characters.
    std::string text(kInitTextLength, ' ');
    text.replace(0, std::strlen(numbers), numbers);
    WriteDigitCodedHotkey(&text[kDigitCodesAt], findText);
    WriteDigitCodedHotkey(&text[kDigitCodesAt + 3], alarmNote);
    return text;
}

void UnpackInitText(const char* text, CHotkeySetting& showDesktop, CHotkeySetting& park,
                    CHotkeySetting& findText, CHotkeySetting& alarmNote)
{
    if (!text)
        return;
    size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ')
        --length;
    if (length == 0)
        return;
    long numbers[8];
    int count = ReadNumbers(text, length < kDigitCodesAt ? length : kDigitCodesAt, numbers);
    if (count >= 4)
        SetFromNumbers(numbers, showDesktop);
    if (length >= 12 && count >= 8)
        SetFromNumbers(numbers + 4, park);
    if (length == kInitTextLength) {
        ReadDigitCodedHotkey(text + kDigitCodesAt, findText);
        ReadDigitCodedHotkey(text + kDigitCodesAt + 3, alarmNote);
    }
}

long PackThreeDigits(const std::uint8_t digits[3])
{
    return 100 * (digits[0] % 9 + 1) + 10 * (digits[1] % 9 + 1) + (digits[2] % 9 + 1);
}

void UnpackThreeDigits(long value, std::uint8_t digits[3])
{
    if (value >= 111) {
        digits[0] = static_cast<std::uint8_t>((value / 100) % 10 - 1);
        digits[1] = static_cast<std::uint8_t>((value / 10) % 10 == 0 ? 0 : (value / 10) % 10 - 1);
        digits[2] = static_cast<std::uint8_t>(value % 10 == 0 ? 0 : value % 10 - 1);
        return;
    }
    digits[0] = digits[1] = 0;
    digits[2] = static_cast<std::uint8_t>(value < 0 ? 0 : value);
}

long PackTwoDigits(const std::uint8_t digits[2])
{
    return 10 * (digits[0] % 9 + 1) + (digits[1] % 9 + 1);
}

bool UnpackTwoDigits(long value, std::uint8_t digits[2])
{
    if (value >= 11) {
        digits[0] = static_cast<std::uint8_t>((value / 10) % 10 == 0 ? 0 : (value / 10) % 10 - 1);
        digits[1] = static_cast<std::uint8_t>(value % 10 == 0 ? 0 : value % 10 - 1);
        return true;
    }
    digits[0] = 0;
    digits[1] = static_cast<std::uint8_t>(value < 0 ? 0 : value);
    return false;
}

std::string MakePasswordCode(const char* text)
{
    std::string code;
    for (size_t i = 0; text && text[i] != '\0' && i < kPasswordCodeLength; ++i)
        code += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    return code;
}

bool SamePasswordCode(const char* a, const char* b)
{
    return MakePasswordCode(a) == MakePasswordCode(b);
}
