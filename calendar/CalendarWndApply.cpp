// New settings for the open calendar, from its settings dialog or from one of
// the user's calendar styles: each value is kept, and only what it changes is
// built again (grids, fonts, background, frame, layered style, hotkey).
#include <cstring>

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWindow.h"
#include "calendar/CalendarWnd.h"
#include "calendar/controls/CalendarMessages.h"
#include "foundation/win/GdiObjects.h"

namespace {
// The texture name that stands for no picture.
const char kCalendarWndApplyNoImage[] = "  NoImage";
const int kCalendarHotkeyId = 27;

// Stores the value and tells whether it differed.
template <class Field, class Value>
bool Take(Field& field, Value value)
{
    if (field == static_cast<Field>(value))
        return false;
    field = static_cast<Field>(value);
    return true;
}
}

BOOL CalendarRegisterHotkey(HWND main)
{
    const CCalendarStyle& options = CurrentCalendarOptions();
    const UINT modifiers = (options.hotkeyCtrl ? MOD_CONTROL : 0) | (options.hotkeyAlt ? MOD_ALT : 0) |
                           (options.hotkeyShift ? MOD_SHIFT : 0);
    UnregisterHotKey(main, kCalendarHotkeyId);
    return RegisterHotKey(main, kCalendarHotkeyId, modifiers, options.hotkeyKey);
}

void CCalendarWnd::ApplySettings(const CCalendarStyle& values, const CCalendarStyle* sourceStyle, bool fromStyle)
{
    CCalendarStyle& options = CurrentCalendarOptions();
    bool relayout = false;
    bool refill = false;
    bool reAsk = false;
    bool erase = false;
    bool frame = false;

    if (!fromStyle)
        options.automaticResizing = values.automaticResizing;
    // Days of the neighbouring months come and go with the cells' dates: the
    // same months are filled again, from a style too.
    if (Take(options.showOtherDays, values.showOtherDays))
        relayout = refill = true;
    relayout |= Take(options.showGrid, values.showGrid);

    if (Take(options.dialogTitleBackColor, values.dialogTitleBackColor)) {
        m_captionBrush = BrushCache().GetBrush(options.dialogTitleBackColor);
        frame = true;
    }
    frame |= Take(options.dialogTitleTextColor, values.dialogTitleTextColor);
    if (!LogFontsEqual(options.titleFont.logFont, values.titleFont.logFont)) {
        options.SetDialogTitleFont(values.titleFont.logFont);
        m_captionFont.ChangeLogFont(options.titleFont.logFont);
        frame = erase = true;
    }
    const bool daysFontChanged = !LogFontsEqual(options.daysFont.logFont, values.daysFont.logFont);
    if (daysFontChanged) {
        options.SetDaysFont(values.daysFont.logFont);
        relayout = true;
    }

    bool firstDayChanged = false;
    const BYTE oldMonths = options.nrOfMonthsToShow;
    if (!sourceStyle) {
        firstDayChanged = Take(options.firstDayOfWeek, values.firstDayOfWeek);
        if (firstDayChanged) {
            SetWeekStart(options.firstDayOfWeek == 6);
            relayout = refill = true;
        }
        if (values.nrOfMonthsToShow >= 1 && values.nrOfMonthsToShow <= 3)
            options.nrOfMonthsToShow = values.nrOfMonthsToShow;
    }

    relayout |= Take(options.daysAreaTextColor, values.daysAreaTextColor);
    relayout |= Take(options.prevNextForeColor, values.prevNextForeColor);
    relayout |= Take(options.calendarTitleTextColor, values.calendarTitleTextColor);
    relayout |= Take(options.weekdayTextColor, values.weekdayTextColor);
    relayout |= Take(options.calendarTitleBackColor, values.calendarTitleBackColor);
    relayout |= Take(options.weekdayBackColor, values.weekdayBackColor);
    relayout |= Take(options.daysAreaBackColor, values.daysAreaBackColor);
    const bool dialogBackChanged = Take(options.dialogBackColor, values.dialogBackColor);
    if (dialogBackChanged) {
        m_dialogBrush = BrushCache().GetBrush(options.dialogBackColor);
        relayout = erase = frame = true;
    }
    // The weekday names and the arrows are drawn in the days' text colour.
    options.weekdayTextColor = options.prevNextForeColor = options.daysAreaTextColor;

    const DWORD oldType = options.backgroundType;
    if (Take(options.backgroundType, values.backgroundType))
        erase = frame = true;
    if (oldType == 4 || values.backgroundType == 4) {
        // Only a picture background keeps a picture.
        const char* name = values.backgroundType == 4 && values.backgroundImage[0] ? values.backgroundImage : kCalendarWndApplyNoImage;
        if (LoadBackgroundTexture(name, values.tileStretch))
            erase = frame = true;
    } else {
        options.tileStretch = values.tileStretch;
    }

    const bool onTopChanged = Take(options.stayOnTop, values.stayOnTop);
    frame |= Take(options.hasBorder, values.hasBorder);
    options.rollUp = values.rollUp;

    const BYTE oldTransparency = options.transparency;
    options.transparency = values.transparency >= 1 && values.transparency <= 4 ? 0 : values.transparency;
    if (ApplyLayeredStyle(oldTransparency, oldType, dialogBackChanged))
        erase = frame = true;

    ApplyHotkey(values);

    // A change of a mark has every cell ask again whether its day holds an
    // alarm note, so that the marks show at once, from a style too.
    if (Take(options.daysWithAlarmBold, values.daysWithAlarmBold))
        relayout = reAsk = true;
    if (Take(options.daysWithAlarmUnderline, values.daysWithAlarmUnderline))
        relayout = reAsk = true;
    if (Take(options.daysWithAlarmIsShade, values.daysWithAlarmIsShade))
        relayout = reAsk = true;
    relayout |= Take(options.daysWithAlarmShadeColor, values.daysWithAlarmShadeColor);

    if (onTopChanged)
        SetWindowPos(m_window, options.stayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (relayout)
        ApplyGridStyles();
    if (erase) {
        m_background.Release();
        if (!relayout)
            InvalidateRect(m_window, nullptr, TRUE);
    }
    if (frame)
        SendMessageA(m_window, WM_NCPAINT, 1, 0);
    const bool monthsChanged = oldMonths != options.nrOfMonthsToShow;
    if (monthsChanged)
        SetMonthsShown(oldMonths, options.nrOfMonthsToShow, !relayout);
    if (relayout || refill) {
        LayOutGrids(refill);
        RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    if (reAsk && !refill)
        RefreshAlarmDays(true);

    if ((firstDayChanged || daysFontChanged || monthsChanged) && options.automaticResizing) {
        FitToGrids();
        RECT window;
        GetWindowRect(m_window, &window);
        if (options.backgroundType == 5 && window.right > GetSystemMetrics(SM_CXSCREEN))
            InvalidateRect(m_window, nullptr, TRUE);
    }
    // The clock's next tick keeps the new settings in the settings file.
    m_modified = true;
    UpdateWindow(m_window);
    if (options.backgroundType == 5) {
        if (!m_hoverTimer.GetId())
            m_hoverTimer.Set(m_window, kHoverTimer, kHoverPeriod);
    }
    else
        m_hoverTimer.Kill();
}

void CCalendarWnd::ApplyStyle(int index)
{
    if (index < 0 || index > 8)
        return;
    // A copy: applying may not change the style it reads.
    const CCalendarStyle style = CurrentCalendarStyleSet().styles[index];
    ApplySettings(style, &style, true);
}

// True when the picture or the way it is drawn changed.
bool CCalendarWnd::LoadBackgroundTexture(const char* name, BYTE tileStretch)
{
    CCalendarStyle& options = CurrentCalendarOptions();
    char wanted[CCalendarStyle::kImageSize] = "";
    std::strncpy(wanted, name ? name : "", sizeof wanted - 1);
    const bool picture = wanted[0] && lstrcmpiA(wanted, kCalendarWndApplyNoImage) != 0;
    const char* kept = picture ? wanted : "";
    const bool changed = lstrcmpiA(kept, options.backgroundImage) != 0 || tileStretch != options.tileStretch;
    options.tileStretch = tileStretch;
    if (picture) {
        options.SetBackgroundImage(wanted);
        options.backgroundType = 4;
    } else {
        options.SetBackgroundImage(nullptr);
        options.backgroundType = 0;
        m_picture.Free();
    }
    if (!changed)
        return false;
    if (picture) {
        m_picture.Free();
        // A picture that is not in the folder leaves the plain background.
        LoadBackgroundPicture();
    }
    m_background.Release();
    PaintBackgroundDC();
    return true;
}

// The window see-through by a colour key (background 5) or by its
// transparency; opaque again when neither is left. True when the layered
// style or its values changed.
bool CCalendarWnd::ApplyLayeredStyle(BYTE oldTransparency, DWORD oldType, bool colourKeyChanged)
{
    const CCalendarStyle& options = CurrentCalendarOptions();
    const BYTE transparency = options.transparency;
    const DWORD type = options.backgroundType;
    if (type == 5) {
        if (oldType == 5 && !colourKeyChanged)
            return false;
        ApplyTransparency();
        return true;
    }
    if (transparency != 0) {
        if (transparency == oldTransparency && type == oldType)
            return false;
        ApplyTransparency();
        return true;
    }
    if (oldTransparency == 0 && oldType != 5)
        return false;
    SetWindowLongPtrA(m_window, GWL_EXSTYLE, GetWindowLongPtrA(m_window, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    return true;
}

// The calendar's system-wide hotkey follows the settings: dropped when it was
// switched off, registered anew when switched on or given other keys.
void CCalendarWnd::ApplyHotkey(const CCalendarStyle& values)
{
    CCalendarStyle& options = CurrentCalendarOptions();
    bool keysChanged = Take(options.hotkeyCtrl, values.hotkeyCtrl);
    keysChanged |= Take(options.hotkeyAlt, values.hotkeyAlt);
    keysChanged |= Take(options.hotkeyShift, values.hotkeyShift);
    keysChanged |= Take(options.hotkeyKey, values.hotkeyKey);
    const bool wasAllowed = options.hotkeyAllow != 0;
    options.hotkeyAllow = values.hotkeyAllow;
    HWND main = GetCalendarMainWindow();
    if (wasAllowed && !options.hotkeyAllow)
        UnregisterHotKey(main, kCalendarHotkeyId);
    else if (options.hotkeyAllow && (!wasAllowed || keysChanged))
        CalendarRegisterHotkey(main);
}

void CCalendarWnd::SetWeekStart(bool sundayFirst)
{
    m_main.SetWeekStartsOnSunday(sundayFirst);
    for (int index = 1; index <= 3; ++index)
        ExtraGrid(index).SetWeekStartsOnSunday(sundayFirst);
}

// The first month laid out in its new look, the column beside it; with a
// refill the same months take their days again.
void CCalendarWnd::LayOutGrids(bool refill)
{
    m_main.SetOrigin(m_gridLeft, m_stripHeight);
    FillGrid(m_main, refill);
    PlaceExtraGrids(refill);
}
