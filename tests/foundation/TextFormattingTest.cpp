#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "foundation/FormatSettings.h"
#include "foundation/TextFormatting.h"

namespace {
// Gives one test its own display settings and key-name table.
class FormattingFixture : public testing::Test {
protected:
    void SetUp() override
    {
        m_settings = FormatSettings();
        std::memcpy(m_keys, HotkeyKeyTable, sizeof m_keys);
        m_keyCount = HotkeyKeyTableCount;
    }
    void TearDown() override
    {
        FormatSettings() = m_settings;
        std::memcpy(HotkeyKeyTable, m_keys, sizeof m_keys);
        HotkeyKeyTableCount = m_keyCount;
    }

    static void SetKeys(std::initializer_list<CHotkeyKeyName> keys)
    {
        HotkeyKeyTableCount = 0;
        for (const CHotkeyKeyName& key : keys)
            HotkeyKeyTable[HotkeyKeyTableCount++] = key;
    }

private:
    CFormatSettings m_settings;
    CHotkeyKeyName m_keys[kHotkeyKeyTableSize];
    int m_keyCount = 0;
};

using TextFormatting = FormattingFixture;

std::string Caption(const CDateTime& date, bool withDate, const char* title, const char* sender, const char* computer,
                    const char* qualifier)
{
    CGenericString caption;
    FormatFromSenderCaption(date, withDate, caption, title, sender, computer, qualifier);
    return caption.GetString();
}

std::string DateText(const CDateTime& date, bool noTime, bool withWeekday, bool noYear)
{
    CGenericString text;
    FormatDateText(date, noTime, text, withWeekday, noYear);
    return text.GetString();
}

std::string Described(const LOGFONTA& font)
{
    CGenericString text;
    DescribeFont(font, text, 96);
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
    FormatSettings().dateFormat = 1;
    CDateTime march7(7, 3, 2009, 9, 5, 3);
    CDateTime march17(17, 3, 2009, 9, 5, 3);
    std::string time = march7.GetTimeText();
    EXPECT_EQ(DateText(march7, true, false, false), "March   7, 2009");
    EXPECT_EQ(DateText(march17, true, false, false), "March  17, 2009");
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

TEST_F(TextFormatting, MonthNamesComeFromTheLocale)
{
    LoadMonthNames();
    EXPECT_STREQ(MonthNames[0], " ");
    EXPECT_STREQ(MonthNames[1], "January");
    EXPECT_STREQ(MonthNames[12], "December");
}

TEST_F(TextFormatting, ReceivedNoteCaptions)
{
    CDateTime date(7, 3, 2009, 9, 5, 3);
    CFormatSettings& settings = FormatSettings();
    settings.dateFormat = 1;
    settings.withTime = false;

    settings.showSender = true;
    settings.showComputer = true;
    EXPECT_EQ(Caption(date, false, "Plans", "Ann", "DESK7", ""), "Plans - From Ann on DESK7");
    EXPECT_EQ(Caption(date, false, "Plans", "Ann", "DESK7", "Office"), "Plans - From Ann on Office<DESK7>");
    EXPECT_EQ(Caption(date, false, "", "Ann", "", ""), "From Ann");

    settings.showComputer = false;
    EXPECT_EQ(Caption(date, false, "Plans", "Ann", "DESK7", ""), "Plans - From Ann");
    EXPECT_EQ(Caption(date, false, "Plans", "", "DESK7", ""), "Plans");

    settings.showSender = false;
    settings.showComputer = true;
    EXPECT_EQ(Caption(date, false, "Plans", "Ann", "DESK7", ""), "Plans - From DESK7");

    settings.showComputer = false;
    EXPECT_EQ(Caption(date, true, "Plans", "Ann", "DESK7", ""), "Plans - March   7, 2009");
    EXPECT_EQ(Caption(date, true, "", "Ann", "DESK7", ""), "March   7, 2009");
    settings.withTime = true;
    EXPECT_EQ(Caption(date, true, "Plans", "Ann", "DESK7", ""),
              std::string("Plans - March   7, 2009 ") + date.GetTimeText());
}

TEST_F(TextFormatting, HotkeyTexts)
{
    SetKeys({{8, "Backspace"}, {78, "N"}, {116, "F5"}});
    CGenericString text;
    HotkeyToText(text, true, true, false, 78);
    EXPECT_STREQ(text.GetString(), " Ctrl+Alt+N");
    HotkeyToText(text, false, false, false, 116);
    EXPECT_STREQ(text.GetString(), " +F5");
    HotkeyToText(text, true, true, true, 116);
    EXPECT_STREQ(text.GetString(), " Ctrl+Alt+Shift+F5");
    HotkeyToText(text, false, false, true, 999);
    EXPECT_STREQ(text.GetString(), " Shift+Backspace");

    // A name that fills its field without a terminator is still read within it.
    CHotkeyKeyName full = {65, ""};
    std::memset(full.name, 'K', sizeof full.name);
    SetKeys({full});
    HotkeyToText(text, false, false, false, 65);
    EXPECT_EQ(std::string(text.GetString()), " +" + std::string(sizeof full.name, 'K'));
}

TEST_F(TextFormatting, FontDescriptions)
{
    EXPECT_EQ(Described(Font("Tahoma", -16, 400, 0)), "Tahoma, 12, Regular");
    EXPECT_EQ(Described(Font("Tahoma", -16, 400, 1)), "Tahoma, 12, Italic");
    EXPECT_EQ(Described(Font("Courier New", -13, 700, 0)), "Courier New, 10, Bold");
    EXPECT_EQ(Described(Font("Courier New", -13, 700, 1)), "Courier New, 10, Bold Italic");
    EXPECT_EQ(Described(Font("Tahoma", -16, 600, 1)), "Tahoma, 12, Regular");

    LOGFONTA unterminated = Font("", -16, 400, 0);
    std::memset(unterminated.lfFaceName, 'F', LF_FACESIZE);
    EXPECT_EQ(Described(unterminated), std::string(31, 'F') + ", 12, Regular");
    char small[10];
    DescribeFont(Font("Tahoma", -16, 400, 0), small, sizeof small, 96);
    EXPECT_STREQ(small, "Tahoma, 1");
}

TEST_F(TextFormatting, UrlEncodeFillsTheString)
{
    CGenericString text;
    UrlEncode(text, "C:\\x y&z=1");
    EXPECT_STREQ(text.GetString(), "C%3A%5Cx+y%26z%3D1");
}
