// The packed forms of the users table: hotkeys, the hotkey text, digit settings
// and password codes, written and read back, and texts that are short, long
// or damaged.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "store/bytes/PackedValues.h"

namespace {
CHotkeySetting Hotkey(unsigned digit, std::uint32_t key)
{
    CHotkeySetting hotkey;
    hotkey.ctrl = (digit & 4) ? 1 : 0;
    hotkey.alt = (digit & 2) ? 1 : 0;
    hotkey.shift = (digit & 1) ? 1 : 0;
    hotkey.key = key;
    return hotkey;
}

bool Same(const CHotkeySetting& a, const CHotkeySetting& b)
{
    return a.ctrl == b.ctrl && a.alt == b.alt && a.shift == b.shift && a.key == b.key;
}

const CHotkeySetting kDefault = Hotkey(3, 77);  // Alt+Shift+M
}

TEST(PackedValues, EveryModifierCombinationSurvivesTheHotkeyText)
{
    for (unsigned digit = 1; digit <= 7; ++digit) {
        const CHotkeySetting desktop = Hotkey(digit, 68);
        const CHotkeySetting park = Hotkey(8 - digit, 123);
        const CHotkeySetting find = Hotkey(digit, 0xBA);
        const CHotkeySetting alarm = Hotkey(8 - digit, 'A');
        std::string text = PackInitText(desktop, park, find, alarm);
        ASSERT_EQ(text.size(), 25u);
        CHotkeySetting read[4] = {kDefault, kDefault, kDefault, kDefault};
        UnpackInitText(text.c_str(), read[0], read[1], read[2], read[3]);
        EXPECT_TRUE(Same(read[0], desktop)) << text;
        EXPECT_TRUE(Same(read[1], park)) << text;
        EXPECT_TRUE(Same(read[2], find)) << text;
        EXPECT_TRUE(Same(read[3], alarm)) << text;
    }
    // The layout: eight numbers, blanks, then digit and hex key twice at 19.
    EXPECT_EQ(PackInitText(Hotkey(3, 68), Hotkey(3, 80), Hotkey(2, 0x46), Hotkey(5, 0x41)),
              "0,1,1,68,0,1,1,80  246541");
}

TEST(PackedValues, ShortLongAndDamagedHotkeyTexts)
{
    struct Case {
        const char* text;
        bool desktopSet, parkSet, digitCodedSet;
    };
    const Case cases[] = {
        {"", false, false, false},
        {"      ", false, false, false},
        {"1,0,0,69", true, false, false},
        {"1,0,0,69,0,0,1,81", true, true, false},
        {"1,0,0,69,0,0,1,81       3463  ", true, true, false},  // 25 only with its blanks
        {"1,0,0,69,0,0,1,81  712345", true, true, true},
        {"x,y,z", false, false, false},
        {"1,0,0,69,0,0,1,81  Z  ZZZ", true, true, false},         // hex that is not hex
        {"99999999999999999999999999999999999", false, false, false},
    };
    for (const Case& c : cases) {
        CHotkeySetting read[4] = {kDefault, kDefault, kDefault, kDefault};
        UnpackInitText(c.text, read[0], read[1], read[2], read[3]);
        EXPECT_EQ(!Same(read[0], kDefault), c.desktopSet) << '"' << c.text << '"';
        EXPECT_EQ(!Same(read[1], kDefault), c.parkSet) << '"' << c.text << '"';
        EXPECT_EQ(!Same(read[2], kDefault), c.digitCodedSet) << '"' << c.text << '"';
    }
    CHotkeySetting desktop = kDefault, park = kDefault, find = kDefault, alarm = kDefault;
    UnpackInitText("1,0,0,69,0,0,1,81  712345", desktop, park, find, alarm);
    EXPECT_TRUE(Same(desktop, Hotkey(4, 69)));
    EXPECT_TRUE(Same(park, Hotkey(1, 81)));
    EXPECT_TRUE(Same(find, Hotkey(7, 0x12)));
    EXPECT_TRUE(Same(alarm, Hotkey(3, 0x45)));
    UnpackInitText(nullptr, desktop, park, find, alarm);
}

TEST(PackedValues, PackedNumbersAndDigits)
{
    struct HotkeyCase {
        long value, limit;
        CHotkeySetting expected;
    };
    const HotkeyCase hotkeys[] = {
        {5077, 0, Hotkey(5, 77)},     // Ctrl+Shift+M
        {2077, 0, kDefault},          // an old small value
        {3077, 0, Hotkey(3, 77)},
        {7117, 8000, Hotkey(7, 117)},
        {8117, 8000, kDefault},       // beyond the favourites' range
        {0, 0, kDefault},
        {-5000, 0, kDefault},
    };
    for (const HotkeyCase& c : hotkeys) {
        CHotkeySetting read = kDefault;
        UnpackHotkey(c.value, c.limit, read);
        EXPECT_TRUE(Same(read, c.expected)) << c.value;
    }
    for (unsigned digit = 3; digit <= 7; ++digit) {
        CHotkeySetting read = kDefault;
        UnpackHotkey(PackHotkey(Hotkey(digit, 120)), 8000, read);
        EXPECT_TRUE(Same(read, Hotkey(digit, 120))) << digit;
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
