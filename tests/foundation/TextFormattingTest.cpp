#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "foundation/FormatSettings.h"
#include "foundation/TextFormatting.h"

namespace {
// Each test sets the display settings and key names it needs; the program's
// defaults (no key names) come back after it.
class TextFormatting : public testing::Test {
protected:
    void TearDown() override
    {
        FormatSettings() = CFormatSettings();
        HotkeyKeyTableCount = 0;
    }

    static void SetKeys(std::initializer_list<CHotkeyKeyName> keys)
    {
        HotkeyKeyTableCount = 0;
        for (const CHotkeyKeyName& key : keys)
            HotkeyKeyTable[HotkeyKeyTableCount++] = key;
    }
};

std::string DateText(const CDateTime& date, bool noTime, bool withWeekday, bool noYear)
{
    CGenericString text;
    FormatDateText(date, noTime, text, withWeekday, noYear);
    return text.GetString();
}

LOGFONTA Font(const char* face, LONG height, LONG weight, BYTE italic)
{
    LOGFONTA font = {};
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfItalic = italic;
    return font;
}
}

TEST_F(TextFormatting, DatesInTheProgramsOwnFormat)
{
    LoadMonthNames();
    EXPECT_STREQ(MonthNames[0], " ");
    EXPECT_STREQ(MonthNames[12], "December");
    FormatSettings().dateFormat = 1;
    CDateTime march7(7, 3, 2009, 9, 5, 3);
    std::string time = march7.GetTimeText();
    EXPECT_EQ(DateText(march7, true, false, false), "March   7, 2009");
    EXPECT_EQ(DateText(CDateTime(17, 3, 2009), true, false, false), "March  17, 2009");
    EXPECT_EQ(DateText(march7, true, false, true), "March   7,");
    EXPECT_EQ(DateText(march7, true, true, false), "Saturday March   7, 2009");
    EXPECT_EQ(DateText(march7, false, false, false), "March   7, 2009 " + time);

    char shortDate[64];
    SYSTEMTIME system = {2009, 3, 6, 7, 9, 5, 3, 0};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &system, nullptr, shortDate, sizeof shortDate);
    FormatSettings().dateFormat = 2;
    EXPECT_EQ(DateText(march7, true, false, false), shortDate);
    FormatSettings().dateFormat = 0;
    EXPECT_EQ(DateText(march7, false, false, false), " " + time);
}

TEST_F(TextFormatting, ReceivedNoteCaptions)
{
    CDateTime date(7, 3, 2009, 9, 5, 3);
    CFormatSettings& settings = FormatSettings();
    settings.dateFormat = 1;
    // Settings: S shows the sender, C the computer, T the time, D asks for the date.
    // "@" stands for the time text.
    struct {
        const char *settings, *title, *sender, *computer, *qualifier, *expected;
    } cases[] = {
        {"SC", "Plans", "Ann", "DESK7", "", "Plans - From Ann on DESK7"},
        {"SC", "Plans", "Ann", "DESK7", "Office", "Plans - From Ann on Office<DESK7>"},
        {"SC", "", "Ann", "", "", "From Ann"},
        {"S", "Plans", "Ann", "DESK7", "", "Plans - From Ann"},
        {"S", "Plans", "", "DESK7", "", "Plans"},
        {"C", "Plans", "Ann", "DESK7", "", "Plans - From DESK7"},
        {"D", "Plans", "Ann", "DESK7", "", "Plans - March   7, 2009"},
        {"D", "", "Ann", "DESK7", "", "March   7, 2009"},
        {"TD", "Plans", "Ann", "DESK7", "", "Plans - March   7, 2009 @"},
    };
    for (const auto& c : cases) {
        settings.showSender = std::strchr(c.settings, 'S') != nullptr;
        settings.showComputer = std::strchr(c.settings, 'C') != nullptr;
        settings.withTime = std::strchr(c.settings, 'T') != nullptr;
        std::string expected = c.expected;
        if (expected.back() == '@')
            expected = expected.substr(0, expected.size() - 1) + date.GetTimeText();
        CGenericString caption;
        FormatFromSenderCaption(date, std::strchr(c.settings, 'D') != nullptr, caption, c.title, c.sender, c.computer,
                                c.qualifier);
        EXPECT_EQ(caption.GetString(), expected) << c.settings << " " << c.expected;
    }
}

TEST_F(TextFormatting, HotkeyTexts)
{
    SetKeys({{8, "Backspace"}, {78, "N"}, {116, "F5"}});
    struct {
        bool ctrl, alt, shift;
        UINT key;
        const char* expected;
    } cases[] = {
        {true, true, false, 78, " Ctrl+Alt+N"},
        {false, false, false, 116, " +F5"},
        {true, true, true, 116, " Ctrl+Alt+Shift+F5"},
        {false, false, true, 999, " Shift+Backspace"},  // an unknown key takes the table's first name
    };
    CGenericString text;
    for (const auto& c : cases) {
        HotkeyToText(text, c.ctrl, c.alt, c.shift, c.key);
        EXPECT_STREQ(text.GetString(), c.expected);
    }

    // A name that fills its field without a terminator is still read within it.
    CHotkeyKeyName full = {65, ""};
    std::memset(full.name, 'K', sizeof full.name);
    SetKeys({full});
    HotkeyToText(text, false, false, false, 65);
    EXPECT_EQ(std::string(text.GetString()), " +" + std::string(sizeof full.name, 'K'));
}

TEST_F(TextFormatting, FontDescriptions)
{
    struct {
        LOGFONTA font;
        const char* expected;
    } cases[] = {
        {Font("Tahoma", -16, 400, 0), "Tahoma, 12, Regular"},
        {Font("Tahoma", -16, 400, 1), "Tahoma, 12, Italic"},
        {Font("Courier New", -13, 700, 0), "Courier New, 10, Bold"},
        {Font("Courier New", -13, 700, 1), "Courier New, 10, Bold Italic"},
        {Font("Tahoma", -16, 600, 1), "Tahoma, 12, Regular"},
    };
    CGenericString text;
    for (const auto& c : cases) {
        DescribeFont(c.font, text, 96);
        EXPECT_STREQ(text.GetString(), c.expected);
    }

    LOGFONTA unterminated = Font("", -16, 400, 0);
    std::memset(unterminated.lfFaceName, 'F', LF_FACESIZE);
    DescribeFont(unterminated, text, 96);
    EXPECT_EQ(std::string(text.GetString()), std::string(31, 'F') + ", 12, Regular");
    char small[10];
    DescribeFont(Font("Tahoma", -16, 400, 0), small, sizeof small, 96);
    EXPECT_STREQ(small, "Tahoma, 1");
}
