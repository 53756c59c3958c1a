#pragma once

#include <windows.h>

#include "foundation/RecordList.h"
#include "foundation/win/GdiCaches.h"

// How the calendar window looks and behaves: its options (first day of the
// week, months shown, hotkey, window place, filter) and its appearance
// (background, colours, fonts, grid). Fonts are entries of the program's font
// cache; the record does not own them.
class CCalendarStyle {
public:
    enum { kImageSize = 260, kFilterSize = 101 };

    CCalendarStyle();
    CCalendarStyle(const CCalendarStyle& other) { CopyConstruct(other); }
    CCalendarStyle& operator=(const CCalendarStyle& other);
    void CopyConstruct(const CCalendarStyle& other);
    // Every option and look of the values, owned by the user (its key and
    // owner), with no filter and no place or size: a style made from a
    // window's settings.
    void Set(DWORD userId, const CCalendarStyle& values);

    // The days font from the cache, and the three fonts derived from it.
    void SetDaysFont(const LOGFONTA& font);
    // The same from another entry's LOGFONT; with keep, only the derived fonts
    // are computed again from the present days font.
    void SetDaysFontFromLogFont(const CFontEntry& entry, bool keep);
    void SetDialogTitleFont(const LOGFONTA& font);
    void GetDialogTitleLogFont(LOGFONTA* font) const { *font = titleFont.logFont; }
    // 259 characters are kept; null is empty.
    void SetBackgroundImage(const char* name);
    // 100 characters are kept; null is empty.
    void SetFilterText(const char* text);

    LONG key;
    DWORD userID;
    DWORD visible;
    BYTE firstDayOfWeek;    // 0 Monday .. 6 Sunday
    BYTE nrOfMonthsToShow;  // 1 one, 2 previous-current-next, 3 current and next three
    BYTE monthOnTheLeft;
    WORD yearOnTheLeft;
    BYTE weekdaysAbbrev;  // letters of the weekday names: 1, 2, or 3 the locale's
    DWORD hotkeyAllow, hotkeyCtrl, hotkeyAlt, hotkeyShift;
    DWORD hotkeyKey;
    DWORD stayOnTop, hasBorder, rollUp;
    BYTE transparency;
    LONG left, top;
    WORD width, height;
    DWORD backgroundType;  // 4 texture, 5 colour-keyed, else plain
    char backgroundImage[kImageSize];
    BYTE tileStretch;
    DWORD daysWithAlarmBold, daysWithAlarmUnderline, daysWithAlarmIsShade;
    COLORREF daysWithAlarmShadeColor;
    COLORREF calendarTitleBackColor, calendarTitleTextColor;
    BYTE calendarTitleStyle;
    DWORD prevNextTransparent;
    COLORREF prevNextForeColor;
    COLORREF weekdayBackColor, weekdayTextColor;
    DWORD weekdaysTransparent;
    COLORREF daysAreaTextColor, daysAreaBackColor;
    DWORD daysAreaTransparent;
    COLORREF dialogTitleBackColor, dialogTitleTextColor;
    CFontEntry titleFont;
    COLORREF dialogBackColor;
    CFontEntry daysFont;
    CFontEntry daysFontSmaller;       // one point smaller (not below 7 points)
    CFontEntry smallDaysFont;         // 7 points
    CFontEntry smallDaysFontSmaller;  // one point smaller than that
    DWORD automaticResizing, showGrid, showOtherDays;
    char filterText[kFilterSize];

private:
    void DeriveFonts();
};

// One user's nine calendar styles and the owner's id (-1 and 0 in a new set).
struct CCalendarStyleSet {
    CCalendarStyle styles[9];
    LONG key = -1;
    DWORD userID = 0;
};

// The standard calendar options record and the nine standard calendar styles,
// program-wide objects (globals/ProgramGlobals.h gives their rows).
CCalendarStyle& StandardCalendarOptions();
CCalendarStyle (&StandardCalendarStyles())[9];
// Every user's calendar options, and every user's set of nine calendar styles.
CRecordList<CCalendarStyle>& CalendarSettingsList();
CRecordList<CCalendarStyleSet>& CalendarStyleSetList();

// The standard calendar styles and the standard options record (a copy of
// style 1), made for the current user in the current month.
void BuildDefaultCalendarStyles(DWORD userId);
