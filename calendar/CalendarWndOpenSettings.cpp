// The calendar's settings dialog, opened from its menu, Ctrl+G or Ctrl+click.
#include "calendar/CalendarWnd.h"

// This calendar has no settings dialog yet: the request is answered with the
// system's beep and nothing changes.
void CCalendarWnd::OpenSettings()
{
    MessageBeep(0);
}
