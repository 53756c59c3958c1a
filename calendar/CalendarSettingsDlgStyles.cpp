// The style buttons' side of the settings dialog: a style applied to the
// working settings, and a style saved, reset or undone in the user's set at
// once, whatever button ends the dialog.
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarSettingsDlg.h"
#include "calendar/CalendarSettingsDlgWnd.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "resources/ids/CalendarSettingsIds.h"

namespace {
const int kStyleButtonIds[9] = {IDC_CALSET_STYLE_1,     IDC_CALSET_STYLE_1 + 1, IDC_CALSET_STYLE_1 + 2,
                                IDC_CALSET_STYLE_4,     IDC_CALSET_STYLE_5,     IDC_CALSET_STYLE_5 + 1,
                                IDC_CALSET_STYLE_5 + 2, IDC_CALSET_STYLE_5 + 3, IDC_CALSET_STYLE_9};

bool IsCalendarStyleIndex(int index)
{
    return index >= 0 && index < 9;
}

// What a style and the standard values both give the working settings: the
// first day, the colours and fonts, the window's flags, the alarm-day marks,
// transparency and the background. Every text of the month takes the day
// colour.
void TakeLook(CCalendarStyle& s, const CCalendarStyle& from)
{
    s.firstDayOfWeek = from.firstDayOfWeek;
    s.dialogTitleBackColor = from.dialogTitleBackColor;
    s.dialogTitleTextColor = from.dialogTitleTextColor;
    s.SetDialogTitleFont(from.titleFont.logFont);
    s.dialogBackColor = from.dialogBackColor;
    s.daysAreaBackColor = from.daysAreaBackColor;
    s.calendarTitleBackColor = from.calendarTitleBackColor;
    s.weekdayBackColor = from.weekdayBackColor;
    for (DWORD CCalendarStyle::*flag :
         {&CCalendarStyle::stayOnTop, &CCalendarStyle::hasBorder, &CCalendarStyle::automaticResizing,
          &CCalendarStyle::showGrid, &CCalendarStyle::showOtherDays, &CCalendarStyle::rollUp,
          &CCalendarStyle::daysWithAlarmBold, &CCalendarStyle::daysWithAlarmUnderline,
          &CCalendarStyle::daysWithAlarmIsShade})
        s.*flag = from.*flag;
    s.daysWithAlarmShadeColor = from.daysWithAlarmShadeColor;
    s.transparency = from.transparency;
    s.SetDaysFont(from.daysFont.logFont);
    s.backgroundType = from.backgroundType;
    s.SetBackgroundImage(from.backgroundImage);
    s.prevNextForeColor = from.prevNextForeColor;
    s.weekdayTextColor = from.weekdayTextColor;
    s.calendarTitleTextColor = from.daysAreaTextColor;
    s.daysAreaTextColor = from.daysAreaTextColor;
}
}

void CCalendarSettingsWnd::LoadStyleButtons()
{
    for (int index = 0; index < 9; ++index) {
        m_styleButtons[index].Attach(m_dialog, kStyleButtonIds[index]);
        m_styleButtons[index].Show(m_record.styles[index], index);
    }
    for (CDlgCalendarStyleButton& button : m_styleButtons)
        button.UpdateTooltip();
}

CDlgCalendarStyleButton* CCalendarSettingsWnd::StyleButtonOf(HWND window)
{
    for (CDlgCalendarStyleButton& button : m_styleButtons) {
        if (window && button.GetWindow() == window)
            return &button;
    }
    return nullptr;
}

// The style's look and behaviour; the months shown, the hotkey, the month
// shown, the transparent flags and the title row style stay.
void CCalendarSettingsWnd::ApplyStyle(int index)
{
    if (!IsCalendarStyleIndex(index))
        return;
    const CCalendarStyle& style = m_record.styles[index];
    m_record.selectedStyle = index;
    TakeLook(m_settings, style);
    m_settings.tileStretch = style.tileStretch;
    SetControlsFromRecord();
    AfterNewLook();
    for (const CDlgCalendarStyleButton& button : m_styleButtons)
        button.RelayTooltip();
}

// The standard options' look, hotkey and months shown; the month shown, the
// picture's drawing, the transparent flags, the title row style and the
// styles stay.
void CCalendarSettingsWnd::ResetToStandard()
{
    const CCalendarStyle& standard = StandardCalendarOptions();
    TakeLook(m_settings, standard);
    for (DWORD CCalendarStyle::*hotkey : {&CCalendarStyle::hotkeyAllow, &CCalendarStyle::hotkeyCtrl,
                                          &CCalendarStyle::hotkeyAlt, &CCalendarStyle::hotkeyShift,
                                          &CCalendarStyle::hotkeyKey})
        m_settings.*hotkey = standard.*hotkey;
    m_settings.nrOfMonthsToShow = standard.nrOfMonthsToShow;
    SetControlsFromRecord();
    AfterNewLook();
}

// The preview after a style or the standard values: fonts and colours,
// transparency's enabling, roll-up, the month and its layout.
void CCalendarSettingsWnd::AfterNewLook()
{
    EnableTransparency();
    ApplyLookToPreview();
    m_grid->SetWeekStartsOnSunday(m_settings.firstDayOfWeek == 6);
    ShowRolledUp();
    FillPreviewMonth();
    LayOutPreview();
    Redraw();
}

void CCalendarSettingsWnd::SaveStyle(int index)
{
    if (!IsCalendarStyleIndex(index))
        return;
    CCalendarStyle saved;
    saved.Set(UserSettings().userId, m_settings);
    m_record.styles[index] = saved;
    CDlgCalendarStyleButton& button = m_styleButtons[index];
    button.KeepForUndo(CDlgCalendarStyleButton::kUndoSave);
    PublishStyle(index);
}

void CCalendarSettingsWnd::ResetStyle(int index)
{
    if (!IsCalendarStyleIndex(index))
        return;
    CCalendarStyle& style = m_record.styles[index];
    const LONG key = style.key;
    const DWORD owner = style.userID;
    style = StandardCalendarStyles()[index];
    style.key = key;
    style.userID = owner;
    m_styleButtons[index].KeepForUndo(CDlgCalendarStyleButton::kUndoReset);
    PublishStyle(index);
}

void CCalendarSettingsWnd::UndoStyle(int index)
{
    if (!IsCalendarStyleIndex(index))
        return;
    CDlgCalendarStyleButton& button = m_styleButtons[index];
    m_record.styles[index] = button.GetUndoStyle();
    button.TakeBackUndo();
    PublishStyle(index);
}

// The user's set takes the style at once; the calendar writes it with its
// settings.
void CCalendarSettingsWnd::PublishStyle(int index)
{
    CurrentCalendarStyleSet().styles[index] = m_record.styles[index];
    m_styleButtons[index].Show(m_record.styles[index], index);
}
