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

bool IsStyleIndex(int index)
{
    return index >= 0 && index < 9;
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
// shown, the transparent flags and the title row style stay. Every text of
// the month takes the style's day colour.
void CCalendarSettingsWnd::ApplyStyle(int index)
{
    if (!IsStyleIndex(index))
        return;
    const CCalendarStyle& style = m_record.styles[index];
    CCalendarStyle& s = m_settings;
    m_record.selectedStyle = index;
    s.firstDayOfWeek = style.firstDayOfWeek;
    s.dialogTitleBackColor = style.dialogTitleBackColor;
    s.dialogTitleTextColor = style.dialogTitleTextColor;
    s.SetDialogTitleFont(style.titleFont.logFont);
    s.dialogBackColor = style.dialogBackColor;
    s.daysAreaBackColor = style.daysAreaBackColor;
    s.calendarTitleBackColor = style.calendarTitleBackColor;
    s.weekdayBackColor = style.weekdayBackColor;
    for (DWORD CCalendarStyle::*flag :
         {&CCalendarStyle::stayOnTop, &CCalendarStyle::hasBorder, &CCalendarStyle::automaticResizing,
          &CCalendarStyle::showGrid, &CCalendarStyle::showOtherDays, &CCalendarStyle::rollUp,
          &CCalendarStyle::daysWithAlarmBold, &CCalendarStyle::daysWithAlarmUnderline,
          &CCalendarStyle::daysWithAlarmIsShade})
        s.*flag = style.*flag;
    s.daysWithAlarmShadeColor = style.daysWithAlarmShadeColor;
    s.transparency = style.transparency;
    s.SetDaysFont(style.daysFont.logFont);
    s.backgroundType = style.backgroundType;
    s.SetBackgroundImage(style.backgroundImage);
    s.tileStretch = style.tileStretch;
    s.prevNextForeColor = style.prevNextForeColor;
    s.weekdayTextColor = style.weekdayTextColor;
    s.calendarTitleTextColor = style.daysAreaTextColor;
    s.daysAreaTextColor = style.daysAreaTextColor;
    SetControlsFromRecord();
    AfterNewLook();
    for (const CDlgCalendarStyleButton& button : m_styleButtons)
        button.RelayTooltip();
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
    if (!IsStyleIndex(index))
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
    if (!IsStyleIndex(index))
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
    if (!IsStyleIndex(index))
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
