// The calendar's settings dialog, opened from its menu, Ctrl+G or Ctrl+click.
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarSettingsDlg.h"
#include "calendar/CalendarWnd.h"

// The dialog edits a copy of the options; only OK makes them the calendar's.
// Styles saved, reset or undone in it are the user's already.
void CCalendarWnd::OpenSettings()
{
    CCalendarSettingsDlg record;
    FillCalendarSettingsDlg(record, CurrentCalendarOptions());
    if (RunCalendarSettingsDialog(m_window, record))
        ApplySettings(record.settings, nullptr, false);
}
