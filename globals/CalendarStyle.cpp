#include "globals/CalendarStyle.h"

#include <cstdio>
#include <cstring>

#include "globals/CalendarFonts.h"
#include "foundation/Clock.h"
#include "foundation/win/FontConversion.h"
#include "globals/ProgramGlobals.h"

CCalendarStyle::CCalendarStyle()
    : key(-1), userID(0), visible(0), firstDayOfWeek(6), nrOfMonthsToShow(1), monthOnTheLeft(0), yearOnTheLeft(0),
      weekdaysAbbrev(3), hotkeyAllow(1), hotkeyCtrl(1), hotkeyAlt(0), hotkeyShift(0), hotkeyKey(84), stayOnTop(0),
      hasBorder(0), rollUp(0), transparency(0), left(0), top(0), width(0), height(0), backgroundType(0),
      backgroundImage(""), tileStretch(0), daysWithAlarmBold(0), daysWithAlarmUnderline(0), daysWithAlarmIsShade(0),
      daysWithAlarmShadeColor(0), calendarTitleBackColor(0), calendarTitleTextColor(0), calendarTitleStyle(2),
      prevNextTransparent(1), prevNextForeColor(0), weekdayBackColor(0), weekdayTextColor(0), weekdaysTransparent(1),
      daysAreaTextColor(0), daysAreaBackColor(0), daysAreaTransparent(1), dialogTitleBackColor(0),
      dialogTitleTextColor(0), dialogBackColor(0), automaticResizing(1), showGrid(0), showOtherDays(0), filterText("")
{
}

CCalendarStyle& CCalendarStyle::operator=(const CCalendarStyle& other)
{
    if (this != &other)
        CopyConstruct(other);
    return *this;
}

void CCalendarStyle::CopyConstruct(const CCalendarStyle& other)
{
    key = other.key;
    userID = other.userID;
    visible = other.visible;
    firstDayOfWeek = other.firstDayOfWeek;
    nrOfMonthsToShow = other.nrOfMonthsToShow;
    monthOnTheLeft = other.monthOnTheLeft;
    yearOnTheLeft = other.yearOnTheLeft;
    weekdaysAbbrev = other.weekdaysAbbrev;
    hotkeyAllow = other.hotkeyAllow;
    hotkeyCtrl = other.hotkeyCtrl;
    hotkeyAlt = other.hotkeyAlt;
    hotkeyShift = other.hotkeyShift;
    hotkeyKey = other.hotkeyKey;
    stayOnTop = other.stayOnTop;
    hasBorder = other.hasBorder;
    rollUp = other.rollUp;
    transparency = other.transparency;
    left = other.left;
    top = other.top;
    width = other.width;
    height = other.height;
    backgroundType = other.backgroundType;
    SetBackgroundImage(other.backgroundImage);
    tileStretch = other.tileStretch;
    daysWithAlarmBold = other.daysWithAlarmBold;
    daysWithAlarmUnderline = other.daysWithAlarmUnderline;
    daysWithAlarmIsShade = other.daysWithAlarmIsShade;
    daysWithAlarmShadeColor = other.daysWithAlarmShadeColor;
    calendarTitleBackColor = other.calendarTitleBackColor;
    calendarTitleTextColor = other.calendarTitleTextColor;
    calendarTitleStyle = other.calendarTitleStyle;
    prevNextTransparent = other.prevNextTransparent;
    prevNextForeColor = other.prevNextForeColor;
    weekdayBackColor = other.weekdayBackColor;
    weekdayTextColor = other.weekdayTextColor;
    weekdaysTransparent = other.weekdaysTransparent;
    daysAreaTextColor = other.daysAreaTextColor;
    daysAreaBackColor = other.daysAreaBackColor;
    daysAreaTransparent = other.daysAreaTransparent;
    dialogTitleBackColor = other.dialogTitleBackColor;
    dialogTitleTextColor = other.dialogTitleTextColor;
    titleFont = other.titleFont;
    dialogBackColor = other.dialogBackColor;
    daysFont = other.daysFont;
    automaticResizing = other.automaticResizing;
    showGrid = other.showGrid;
    showOtherDays = other.showOtherDays;
    SetFilterText(other.filterText);
    // An empty entry has no font to derive from.
    if (daysFont.font)
        DeriveFonts();
    else
        daysFontSmaller = smallDaysFont = smallDaysFontSmaller = daysFont;
}

void CCalendarStyle::Set(DWORD userId, const CCalendarStyle& values)
{
    if (this != &values)
        CopyConstruct(values);
    key = static_cast<LONG>(userId);
    userID = userId;
    SetFilterText(nullptr);
    left = top = 0;
    width = height = 0;
}

void CCalendarStyle::SetDaysFont(const LOGFONTA& font)
{
    daysFont = FontCache().GetFont(font);
    DeriveFonts();
}

void CCalendarStyle::SetDaysFontFromLogFont(const CFontEntry& entry, bool keep)
{
    if (!keep)
        daysFont = FontCache().GetFont(entry.logFont);
    DeriveFonts();
}

void CCalendarStyle::SetDialogTitleFont(const LOGFONTA& font)
{
    titleFont = FontCache().GetFont(font);
}

void CCalendarStyle::SetBackgroundImage(const char* name)
{
    if (name != backgroundImage)
        std::snprintf(backgroundImage, sizeof backgroundImage, "%s", name ? name : "");
}

void CCalendarStyle::SetFilterText(const char* text)
{
    if (text != filterText)
        std::snprintf(filterText, sizeof filterText, "%s", text ? text : "");
}

void CCalendarStyle::DeriveFonts()
{
    MakeSmallerCalendarFont(&daysFontSmaller, daysFont.logFont);
    MakeCalendarFont(&smallDaysFont, daysFont.logFont, 7);
    MakeSmallerCalendarFont(&smallDaysFontSmaller, smallDaysFont.logFont);
}

namespace {
struct StandardLook {
    const char* daysFace;
    LONG daysHeight, daysWeight;
    const char* titleFace;
    LONG titleHeight, titleWeight;
    DWORD backgroundType;
    const char* image;
    COLORREF dialogBack, dialogTitleBack, dialogTitleText, texts;
    DWORD bold, underline;
    COLORREF shade;
    DWORD showGrid, showOtherDays;
};

const StandardLook kLooks[9] = {
    {"Times New Roman", -19, 400, "Times New Roman", -15, 700, 4, "marble.jpg", 0xD9D9D9, 0x808080, 0xFFFFFF, 0, 1, 0,
     0xACACAC, 1, 1},
    {"Arial", -15, 400, "Arial", -15, 400, 0, "", 0xFFE8D9, 0xFECBA0, 0x800000, 0x800000, 1, 0, 0xFFDAB9, 1, 1},
    {"Arial", -15, 400, "Arial", -15, 400, 0, "", 0xF4F4F4, 0x0000E1, 0xFFFFFF, 0, 0, 0, 0xBFBFFF, 0, 0},
    {"Tahoma", -16, 400, "Tahoma", -16, 400, 4, "yellow.jpg", 0x84F3FE, 0x50ACFF, 0, 0, 0, 0, 0x6CB9FE, 0, 1},
    {"Verdana", -12, 400, "Verdana", -13, 700, 0, "", 0x01E4FF, 0xFD8F01, 0xFFFFFF, 0, 1, 0, 0xFFEACB, 0, 0},
    {"Tahoma", -15, 400, "Tahoma", -15, 400, 4, "blackmarble.jpg", 0x141414, 0, 0xFFFFFF, 0xFFFFFF, 1, 1, 0x737373, 1,
     1},
    {"Trebuchet MS", -15, 400, "Trebuchet MS", -15, 400, 3, "", 0x8D8CFF, 0x2424DC, 0xFFFFFF, 0, 0, 0, 0x8988FF, 1, 1},
    {"Impact", -15, 400, "Impact", -15, 400, 0, "", 0xF7ACE0, 0x651A94, 0xFF00FF, 0x800080, 1, 0, 0xED8AD0, 1, 1},
    {"Tahoma", -15, 400, "Tahoma", -15, 700, 5, "", 0x808080, 0x808080, 0xFFFFFF, 0, 1, 1, 0xDD6F00, 1, 1},
};

BYTE LocaleFirstDayOfWeek()
{
    char text[4] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, text, sizeof text);
    return text[0] == '6' ? 6 : 0;
}

void ApplyLook(CCalendarStyle& style, const StandardLook& look, BYTE pitchAndFamily)
{
    LOGFONTA font;
    MakeLogFont(&font, look.titleHeight, look.titleWeight, pitchAndFamily, look.titleFace);
    style.SetDialogTitleFont(font);
    MakeLogFont(&font, look.daysHeight, look.daysWeight, pitchAndFamily, look.daysFace);
    style.SetDaysFont(font);
    style.backgroundType = look.backgroundType;
    style.SetBackgroundImage(look.image);
    style.dialogBackColor = look.dialogBack;
    style.dialogTitleBackColor = look.dialogTitleBack;
    style.dialogTitleTextColor = look.dialogTitleText;
    style.daysAreaTextColor = style.weekdayTextColor = style.prevNextForeColor = look.texts;
    style.daysWithAlarmBold = look.bold;
    style.daysWithAlarmUnderline = look.underline;
    style.daysWithAlarmShadeColor = look.shade;
    style.showGrid = look.showGrid;
    style.showOtherDays = look.showOtherDays;
}
}

CCalendarStyle& StandardCalendarOptions()
{
    static CCalendarStyle options;
    return LiveGlobal(options, kRowCalendarStyles);
}

CCalendarStyle (&StandardCalendarStyles())[9]
{
    static CCalendarStyle styles[9];
    return LiveGlobal(styles, kRowCalendarStyles);
}

CRecordList<CCalendarStyle>& CalendarSettingsList()
{
    static CRecordList<CCalendarStyle> list("CalendarSettingsList");
    return LiveGlobal(list, kRowCalendarLists);
}

CRecordList<CCalendarStyleSet>& CalendarStyleSetList()
{
    static CRecordList<CCalendarStyleSet> list;
    return LiveGlobal(list, kRowCalendarLists);
}

void BuildDefaultCalendarStyles(DWORD userId)
{
    SYSTEMTIME now = GetLocalNow();
    CCalendarStyle first;
    first.key = static_cast<LONG>(userId);
    first.userID = userId;
    first.monthOnTheLeft = static_cast<BYTE>(now.wMonth);
    first.yearOnTheLeft = now.wYear;
    first.visible = 0;
    first.weekdaysAbbrev = 3;
    first.automaticResizing = 1;
    first.firstDayOfWeek = LocaleFirstDayOfWeek();
    first.nrOfMonthsToShow = 1;
    first.prevNextTransparent = 1;
    first.calendarTitleBackColor = GetSysColor(COLOR_ACTIVECAPTION);
    first.calendarTitleTextColor = 0;
    first.calendarTitleStyle = 2;
    first.weekdayBackColor = 0x030303;
    first.weekdaysTransparent = 1;
    first.daysAreaBackColor = 0x040404;
    first.daysAreaTransparent = 1;
    first.tileStretch = 0;
    first.stayOnTop = first.hasBorder = first.rollUp = 0;
    first.transparency = 0;
    first.hotkeyCtrl = 0;
    first.hotkeyAlt = 1;
    first.hotkeyShift = 1;
    first.hotkeyKey = 84;
    first.hotkeyAllow = 1;
    first.daysWithAlarmIsShade = 1;
    ApplyLook(first, kLooks[0], 18);

    CCalendarStyle (&styles)[9] = StandardCalendarStyles();
    styles[0] = first;
    for (int i = 1; i < 9; ++i) {
        styles[i] = first;
        ApplyLook(styles[i], kLooks[i], 34);
    }
    StandardCalendarOptions() = styles[1];
}
