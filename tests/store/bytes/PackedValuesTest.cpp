// The packed forms of the users table: hotkeys, the hotkey text, digit settings
// and password codes, written and read back, and texts that are short, long
// or damaged.
#include <array>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "store/bytes/PackedValues.h"

namespace {
// Ctrl, Alt and Shift from the bits 4, 2 and 1 of the digit.
CHotkeySetting Hotkey(unsigned digit, std::uint32_t key)
{
    CHotkeySetting hotkey;
    hotkey.ctrl = (digit & 4) ? 1 : 0;
    hotkey.alt = (digit & 2) ? 1 : 0;
    hotkey.shift = (digit & 1) ? 1 : 0;
    hotkey.key = key;
    return hotkey;
}

std::string Keys(const CHotkeySetting& h)
{
    return std::to_string(h.ctrl) + std::to_string(h.alt) + std::to_string(h.shift) + "+" + std::to_string(h.key);
}

const std::string kDefault = Keys(Hotkey(3, 77));  // Alt+Shift+M

// The four hotkeys a text sets, each starting as the default.
std::array<std::string, 4> Unpacked(const char* text)
{
    CHotkeySetting read[4] = {Hotkey(3, 77), Hotkey(3, 77), Hotkey(3, 77), Hotkey(3, 77)};
    UnpackInitText(text, read[0], read[1], read[2], read[3]);
    return {Keys(read[0]), Keys(read[1]), Keys(read[2]), Keys(read[3])};
}
}

TEST(PackedValues, EveryModifierCombinationSurvivesTheHotkeyText)
{
    for (unsigned digit = 1; digit <= 7; ++digit) {
        const CHotkeySetting keys[4] = {Hotkey(digit, 68), Hotkey(8 - digit, 123), Hotkey(digit, 0xBA),
                                        Hotkey(8 - digit, 'A')};
        std::string text = PackInitText(keys[0], keys[1], keys[2], keys[3]);
        ASSERT_EQ(text.size(), 25u);
        EXPECT_EQ(Unpacked(text.c_str()),
                  (std::array<std::string, 4>{Keys(keys[0]), Keys(keys[1]), Keys(keys[2]), Keys(keys[3])}));
    }
    // The layout: eight numbers, blanks, then digit and hex key twice at 19.
    EXPECT_EQ(PackInitText(Hotkey(3, 68), Hotkey(3, 80), Hotkey(2, 0x46), Hotkey(5, 0x41)),
              "0,1,1,68,0,1,1,80  246541");
    EXPECT_EQ(Unpacked("1,0,0,69,0,0,1,81  712345"),
              (std::array<std::string, 4>{"100+69", "001+81", "111+18", "011+69"}));
}

TEST(PackedValues, ShortLongAndDamagedHotkeyTexts)
{
    const struct {
        const char* text;
        bool desktopSet, parkSet, digitCodedSet;
    } cases[] = {
        {"", false, false, false},
        {"      ", false, false, false},
        {"1,0,0,69", true, false, false},
        {"1,0,0,69,0,0,1,81", true, true, false},
        {"1,0,0,69,0,0,1,81       3463  ", true, true, false},  // 25 only with its blanks
        {"1,0,0,69,0,0,1,81  712345", true, true, true},
        {"x,y,z", false, false, false},
        {"1,0,0,69,0,0,1,81  Z  ZZZ", true, true, false},         // hex that is not hex
        {"99999999999999999999999999999999999", false, false, false},
        {nullptr, false, false, false},
    };
    for (const auto& c : cases) {
        std::array<std::string, 4> read = Unpacked(c.text);
        const char* shown = c.text ? c.text : "(null)";
        EXPECT_EQ(read[0] != kDefault, c.desktopSet) << '"' << shown << '"';
        EXPECT_EQ(read[1] != kDefault, c.parkSet) << '"' << shown << '"';
        EXPECT_EQ(read[2] != kDefault, c.digitCodedSet) << '"' << shown << '"';
    }
}

TEST(PackedValues, PackedNumbersAndDigits)
{
    const struct {
        long value, limit;
        std::string expected;
    } hotkeys[] = {
        {5077, 0, Keys(Hotkey(5, 77))},     // Ctrl+Shift+M
        {2077, 0, kDefault},                // an old small value
        {3077, 0, Keys(Hotkey(3, 77))},
        {7117, 8000, Keys(Hotkey(7, 117))},
        {8117, 8000, kDefault},             // beyond the favourites' range
        {0, 0, kDefault},
        {-5000, 0, kDefault},
    };
    for (const auto& c : hotkeys) {
        CHotkeySetting read = Hotkey(3, 77);
        UnpackHotkey(c.value, c.limit, read);
        EXPECT_EQ(Keys(read), c.expected) << c.value;
    }
    for (unsigned digit = 3; digit <= 7; ++digit) {
        CHotkeySetting read = Hotkey(3, 77);
        UnpackHotkey(PackHotkey(Hotkey(digit, 120)), 8000, read);
        EXPECT_EQ(Keys(read), Keys(Hotkey(digit, 120)));
    }

    for (std::uint8_t a = 0; a < 9; a += 4) {
        const std::uint8_t three[3] = {a, static_cast<std::uint8_t>(8 - a), 5};
        std::uint8_t read[3] = {9, 9, 9};
        UnpackThreeDigits(PackThreeDigits(three), read);
        EXPECT_EQ(0, std::memcmp(three, read, 3));
        const std::uint8_t two[2] = {a, 6};
        std::uint8_t readTwo[2] = {9, 9};
        EXPECT_TRUE(UnpackTwoDigits(PackTwoDigits(two), readTwo));
        EXPECT_EQ(0, std::memcmp(two, readTwo, 2));
    }
    std::uint8_t old[3];
    UnpackThreeDigits(7, old);
    EXPECT_EQ(old[0] + old[1], 0);
    EXPECT_EQ(old[2], 7);
    std::uint8_t oldTwo[2];
    EXPECT_FALSE(UnpackTwoDigits(4, oldTwo));
    EXPECT_EQ(oldTwo[0], 0);
    EXPECT_EQ(oldTwo[1], 4);
}

TEST(PackedValues, PasswordCodesAreTheirFirstEightCharactersInLowerCase)
{
    EXPECT_EQ(MakePasswordCode("0A1B2C3D4E5F67890123456789ABCDEF"), "0a1b2c3d");
    EXPECT_EQ(MakePasswordCode("abc"), "abc");
    EXPECT_EQ(MakePasswordCode(nullptr), "");
    EXPECT_TRUE(SamePasswordCode("0A1B2C3D", "0a1b2c3dffff"));
    EXPECT_FALSE(SamePasswordCode("0a1b2c3d", "0a1b2c3e"));
}
