// The calendar style record, its derived fonts and the nine standard styles.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "globals/CalendarStyle.h"
#include "foundation/win/FontConversion.h"
#include "globals/ProgramGlobals.h"

namespace {
int Points(const CFontEntry& entry)
{
    return MulDiv(-entry.logFont.lfHeight, 72, ScreenPixelsPerInch());
}

LOGFONTA FontOfPoints(int points)
{
    LOGFONTA font = {};
    font.lfHeight = -MulDiv(points, ScreenPixelsPerInch(), 72);
    font.lfWeight = 400;
    std::strcpy(font.lfFaceName, "Tahoma");
    return font;
}

struct ExpectedLook {
    const char* daysFace;
    LONG daysHeight;
    const char* titleFace;
    LONG titleWeight;
    DWORD backgroundType;
    const char* image;
    COLORREF dialogBack, dialogTitleBack, dialogTitleText, texts;
    DWORD bold, underline;
    COLORREF shade;
    DWORD grid, otherDays;
};
const ExpectedLook kLooks[9] = {
    {"Times New Roman", -19, "Times New Roman", 700, 4, "marble.jpg", 0xD9D9D9, 0x808080, 0xFFFFFF, 0, 1, 0, 0xACACAC, 1, 1},
    {"Arial", -15, "Arial", 400, 0, "", 0xFFE8D9, 0xFECBA0, 0x800000, 0x800000, 1, 0, 0xFFDAB9, 1, 1},
    {"Arial", -15, "Arial", 400, 0, "", 0xF4F4F4, 0x0000E1, 0xFFFFFF, 0, 0, 0, 0xBFBFFF, 0, 0},
    {"Tahoma", -16, "Tahoma", 400, 4, "yellow.jpg", 0x84F3FE, 0x50ACFF, 0, 0, 0, 0, 0x6CB9FE, 0, 1},
    {"Verdana", -12, "Verdana", 700, 0, "", 0x01E4FF, 0xFD8F01, 0xFFFFFF, 0, 1, 0, 0xFFEACB, 0, 0},
    {"Tahoma", -15, "Tahoma", 400, 4, "blackmarble.jpg", 0x141414, 0, 0xFFFFFF, 0xFFFFFF, 1, 1, 0x737373, 1, 1},
    {"Trebuchet MS", -15, "Trebuchet MS", 400, 3, "", 0x8D8CFF, 0x2424DC, 0xFFFFFF, 0, 0, 0, 0x8988FF, 1, 1},
    {"Impact", -15, "Impact", 400, 0, "", 0xF7ACE0, 0x651A94, 0xFF00FF, 0x800080, 1, 0, 0xED8AD0, 1, 1},
    {"Tahoma", -15, "Tahoma", 700, 5, "", 0x808080, 0x808080, 0xFFFFFF, 0, 1, 1, 0xDD6F00, 1, 1},
};

// A face that is not installed falls back to Arial.
bool FaceIs(const LOGFONTA& font, const char* face)
{
    return lstrcmpiA(font.lfFaceName, face) == 0 || lstrcmpiA(font.lfFaceName, "Arial") == 0;
}
}

TEST(CalendarStyle, TheNineStandardStyles)
{
    BuildDefaultCalendarStyles(7);
    SYSTEMTIME now;
    GetLocalTime(&now);
    CCalendarStyle (&styles)[9] = StandardCalendarStyles();
    for (int i = 0; i < 9; ++i) {
        const ExpectedLook& e = kLooks[i];
        const CCalendarStyle& s = styles[i];
        SCOPED_TRACE(testing::Message() << "style " << i);
        EXPECT_TRUE(FaceIs(s.daysFont.logFont, e.daysFace)) << s.daysFont.logFont.lfFaceName;
        EXPECT_TRUE(FaceIs(s.titleFont.logFont, e.titleFace)) << s.titleFont.logFont.lfFaceName;
        EXPECT_EQ(s.daysFont.logFont.lfHeight, e.daysHeight);
        EXPECT_EQ(s.titleFont.logFont.lfWeight, e.titleWeight);
        EXPECT_EQ(s.daysFont.logFont.lfPitchAndFamily, i == 0 ? 18 : 34);
        EXPECT_NE(s.daysFont.font, nullptr);
        EXPECT_EQ(s.backgroundType, e.backgroundType);
        EXPECT_STREQ(s.backgroundImage, e.image);
        EXPECT_EQ(s.dialogBackColor, e.dialogBack);
        EXPECT_EQ(s.dialogTitleBackColor, e.dialogTitleBack);
        EXPECT_EQ(s.dialogTitleTextColor, e.dialogTitleText);
        EXPECT_EQ(s.daysAreaTextColor, e.texts);
        EXPECT_EQ(s.weekdayTextColor, e.texts);
        EXPECT_EQ(s.prevNextForeColor, e.texts);
        EXPECT_EQ(s.daysWithAlarmBold, e.bold);
        EXPECT_EQ(s.daysWithAlarmUnderline, e.underline);
        EXPECT_EQ(s.daysWithAlarmShadeColor, e.shade);
        EXPECT_EQ(s.showGrid, e.grid);
        EXPECT_EQ(s.showOtherDays, e.otherDays);
        // What every style shares with the first.
        EXPECT_EQ(s.userID, 7u);
        EXPECT_EQ(s.monthOnTheLeft, now.wMonth);
        EXPECT_EQ(s.yearOnTheLeft, now.wYear);
        EXPECT_TRUE(s.firstDayOfWeek == 0 || s.firstDayOfWeek == 6);
        EXPECT_EQ(s.hotkeyAlt + s.hotkeyShift + s.hotkeyCtrl, 2u);
        EXPECT_EQ(s.hotkeyKey, 84u);
        EXPECT_EQ(s.weekdayBackColor, 0x030303u);
        EXPECT_EQ(s.daysAreaBackColor, 0x040404u);
        EXPECT_EQ(s.daysWithAlarmIsShade, 1u);
        EXPECT_EQ(s.calendarTitleStyle, 2);
    }
    // The standard options are those of the second style.
    EXPECT_EQ(StandardCalendarOptions().dialogBackColor, 0xFFE8D9u);
    EXPECT_EQ(StandardCalendarOptions().daysFont.font, styles[1].daysFont.font);
}

TEST(CalendarStyle, CopiesDeriveTheirSmallerFontsAndCutLongTexts)
{
    CCalendarStyle style;
    EXPECT_EQ(style.key, -1);
    EXPECT_EQ(style.firstDayOfWeek, 6);
    EXPECT_EQ(style.hotkeyKey, 84u);
    struct Case {
        int points, smaller, small, smallSmaller;
    };
    for (const Case& c : {Case{12, 11, 7, 7}, Case{7, 7, 7, 7}, Case{8, 7, 7, 7}}) {
        style.SetDaysFont(FontOfPoints(c.points));
        CCalendarStyle copy(style);
        EXPECT_EQ(Points(copy.daysFont), c.points);
        EXPECT_EQ(Points(copy.daysFontSmaller), c.smaller) << c.points;
        EXPECT_EQ(Points(copy.smallDaysFont), c.small) << c.points;
        EXPECT_EQ(Points(copy.smallDaysFontSmaller), c.smallSmaller) << c.points;
    }
    style.SetBackgroundImage(std::string(400, 'i').c_str());
    EXPECT_EQ(std::strlen(style.backgroundImage), 259u);
    style.SetFilterText(std::string(300, 'f').c_str());
    EXPECT_EQ(std::strlen(style.filterText), 100u);
    CCalendarStyle copy;
    copy = style;
    EXPECT_EQ(std::strlen(copy.filterText), 100u);
    EXPECT_EQ(copy.daysFont.font, style.daysFont.font);
}
