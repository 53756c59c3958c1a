#include "calendar/controls/CalendarMessages.h"

namespace {
HWND g_mainWindowInPlace = nullptr;
}

HWND GetCalendarMainWindow()
{
    return g_mainWindowInPlace ? g_mainWindowInPlace : GetMainWindow();
}

void SetCalendarMainWindow(HWND window)
{
    g_mainWindowInPlace = window;
}
