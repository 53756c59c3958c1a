#include "calendar/CalendarWindow.h"

#include <memory>

#include "calendar/CalendarSettingsFile.h"
#include "calendar/CalendarWnd.h"
#include "foundation/CallbackGuard.h"
#include "foundation/bytes/MessageBoxes.h"
#include "resources/ids/CalendarIds.h"

namespace {
HWND g_calendar = nullptr;
// Why the window is being closed: by the user unless the program says else.
CCalendarWnd::Ending g_ending = CCalendarWnd::Ending::kClosed;

INT_PTR OnInitDialog(HWND window)
{
    auto* calendar = new CCalendarWnd(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(calendar));
    try {
        calendar->OnInitDialog();
    } catch (...) {
        // A calendar that cannot be set up is not left half made.
        DestroyWindow(window);
        throw;
    }
    return TRUE;
}

// The program closes the calendar: it is to open again at the next start, or
// at once after a reload.
void CloseByTheProgram(CCalendarWnd::Ending ending)
{
    HWND calendar = GetCalendarWindow();
    if (!calendar)
        return;
    g_ending = ending;
    SendMessageA(calendar, WM_CLOSE, 0, 0);
    // Alt held down keeps the window at WM_CLOSE; the program does not wait.
    if (IsWindow(calendar))
        DestroyWindow(calendar);
    g_ending = CCalendarWnd::Ending::kClosed;
}
}

INT_PTR CALLBACK CalendarDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG)
            return OnInitDialog(window);
        CCalendarWnd* calendar = CCalendarWnd::FromWindow(window);
        if (!calendar)
            return FALSE;
        if (message == WM_DESTROY) {
            if (g_calendar == window)
                g_calendar = nullptr;
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            std::unique_ptr<CCalendarWnd> ending(calendar);
            ending->OnDestroy(g_ending);
            return TRUE;
        }
        LRESULT result = 0;
        if (!calendar->OnMessage(message, wParam, lParam, &result))
            return FALSE;
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return TRUE;
    });
}

HWND GetCalendarWindow()
{
    if (g_calendar && !IsWindow(g_calendar))
        g_calendar = nullptr;
    return g_calendar;
}

HWND CreateCalendarWindow(HWND owner, bool activate)
{
    HWND calendar = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CALENDAR), owner,
                                       &CalendarDlgProc, 0);
    if (!calendar || !IsWindow(calendar)) {
        ShowErrorMessage(owner, "The calendar cannot be opened.", ProgramTitle);
        return nullptr;
    }
    g_calendar = calendar;
    ShowWindow(calendar, activate ? SW_SHOW : SW_SHOWNOACTIVATE);
    return calendar;
}

void CloseCalendarWindowAtExit()
{
    CloseByTheProgram(CCalendarWnd::Ending::kProgramEnd);
}

void LoadCalendarSettings()
{
    HWND open = GetCalendarWindow();
    HWND owner = open ? GetWindow(open, GW_OWNER) : nullptr;
    // The window goes before the records it reads, and saves nothing over
    // the file about to be read.
    CloseByTheProgram(CCalendarWnd::Ending::kReload);
    LoadCalendarSettingsFile();
    if (open)
        CreateCalendarWindow(owner, false);
}

bool PassToCalendar(MSG& message)
{
    HWND calendar = GetCalendarWindow();
    return calendar && IsDialogMessageA(calendar, &message);
}
