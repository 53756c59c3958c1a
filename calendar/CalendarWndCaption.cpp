// The mouse on the calendar's frame: the icon zone at the caption's left
// opens the menu, the rest of the caption moves the window or, with the
// right button, opens the settings; a double click opens the system's date
// and time settings.
#include <string>

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWnd.h"
#include "foundation/StartupValues.h"
#include "resources/ids/CalendarIds.h"

namespace {
// A window this close to the screen's right edge opens no menu from its icon.
const int kCaptionMenuRoomFromRight = 35;

int IconZoneWidth()
{
    return GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CYSIZE);
}

bool IconZoneOpensMenu(const RECT& window)
{
    return window.left + kCaptionMenuRoomFromRight < GetSystemMetrics(SM_CXSCREEN);
}
}

// Left of the caption's text, on the caption.
bool CCalendarWnd::InIconZone(POINT screenPoint) const
{
    RECT window;
    GetWindowRect(m_window, &window);
    POINT clientTop = {0, 0};
    ClientToScreen(m_window, &clientTop);
    return screenPoint.x >= window.left && screenPoint.x < window.left + IconZoneWidth() &&
           screenPoint.y >= window.top && screenPoint.y < clientTop.y;
}

// True when handled here (the menu was shown); otherwise the system goes on
// with the click, starting a move.
bool CCalendarWnd::OnNcLeftButtonDown(WPARAM hit, POINT screenPoint, LRESULT* result)
{
    RECT window;
    GetWindowRect(m_window, &window);
    if (InIconZone(screenPoint) && IconZoneOpensMenu(window)) {
        POINT client = screenPoint;
        ScreenToClient(m_window, &client);
        m_menuDate = CDateTime(0, 0, 0);
        ShowContextMenu(client);
        *result = HTMENU;
        return true;
    }
    StopRollTimer();
    CloseFilterBar(false);
    if (CloseBoxClicked()) {
        PostMessageA(m_window, WM_COMMAND, IDCANCEL, 0);
        *result = 0;
        return true;
    }
    const CCalendarStyle& options = CurrentCalendarOptions();
    // A rolled window dragged by its caption rolls up again where it is left.
    m_moved = hit == HTCAPTION && options.rollUp && m_rolled;
    Raise();
    return false;
}

// The menu from the icon zone, or anywhere on a see-through calendar whose
// caption has the window's colour; the settings from the rest of the frame.
void CCalendarWnd::OnNcRightButtonDown(POINT screenPoint)
{
    StopRollTimer();
    EndCloseHover();
    CloseFilterBar(false);
    const CCalendarStyle& options = CurrentCalendarOptions();
    const bool seeThroughCaption =
        options.backgroundType == 5 && options.dialogTitleBackColor == options.dialogBackColor;
    if (seeThroughCaption || InIconZone(screenPoint)) {
        POINT client = screenPoint;
        ScreenToClient(m_window, &client);
        m_menuDate = CDateTime(0, 0, 0);
        ShowContextMenu(client);
        return;
    }
    PostMessageA(m_window, WM_COMMAND, IDM_CAL_SETTINGS, 0);
}

void CCalendarWnd::OpenDateAndTimeSettings()
{
    const StartupValues& startup = GetStartupValues();
    char folder[MAX_PATH] = "";
    if (lstrcmpA(startup.windows.platformName, "Windows 98") == 0)
        lstrcpynA(folder, startup.windowsFolder, sizeof folder);
    else
        GetSystemDirectoryA(folder, sizeof folder);
    std::string command = std::string(folder) + "\\control.exe" + " date/time";
    STARTUPINFOA startupInfo = {};
    startupInfo.cb = sizeof startupInfo;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startupInfo, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}
