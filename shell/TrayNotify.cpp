// The tray icon's callback and its tooltip.
#include <winsock2.h>

#include <shellapi.h>

#include <cstring>

#include "foundation/CallbackGuard.h"
#include "foundation/StartupValues.h"
#include "note/NoteController.h"
#include "note/NoteWindow.h"
#include "globals/MainWindowMessages.h"
#include "shell/NoteLists.h"
#include "shell/OpenDialogs.h"
#include "globals/ProgramGlobals.h"
#include "shell/TrayDragTracker.h"
#include "shell/WindowController.h"
#include "shell/bytes/TrayTooltip.h"

namespace {
const char kReceivedBalloonText[] = "- A note has been received from ";

bool TwoLineTips()
{
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    return windows.isWindows2000 || windows.isWindowsXp || windows.isVistaOrLater;
}

// The taskbar's balloon that announced a note is clicked away, as the user
// would, once the note has been read.
BOOL CALLBACK CloseReceivedBalloon(HWND window, LPARAM)
{
    return GuardCallback<BOOL>(FALSE, [&] {
        char className[64] = "";
        GetClassNameA(window, className, sizeof className);
        if (lstrcmpiA(className, "tooltips_class32") != 0)
            return TRUE;
        char text[512] = "";
        GetWindowTextA(window, text, sizeof text);
        if (!std::strstr(text, kReceivedBalloonText))
            return TRUE;
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        return FALSE;
    });
}
}

void CWindowController::OnReceivedNoteRead()
{
    if (!m_trayFlashing)
        return;
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    if (UserSettings().balloonOnReceive && (windows.isWindows2000 || windows.isWindowsXp))
        EnumWindows(&CloseReceivedBalloon, 0);
    if (FindPendingReceivedNote())
        return;
    KillTimer(m_mainWindow, kTimerTrayFlash);
    m_trayFlashing = 0;
    m_trayIcon.StopFlashing(m_mainWindow);
    UpdateTrayTooltip();
}

void CWindowController::UpdateTrayTooltip()
{
    if (FindPendingReceivedNote())
        return;  // the flashing tip names the sender until the note is read
    NoteStateCounts counts;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        ++counts.total;
        if (note->m_hidden)
            ++counts.hidden;
        else if (note->m_parked)
            ++counts.parked;
        return true;
    });
    m_trayIcon.SetTip(m_mainWindow, TrayNoteCountTip(counts, TwoLineTips()).c_str());
}

void CWindowController::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    ProgramFlags& flags = GetProgramFlags();
    flags.bulkOperation = true;
    switch (lParam) {
    case WM_LBUTTONDOWN:
    case NIN_BALLOONUSERCLICK:
        if (lParam == WM_LBUTTONDOWN && !FindPendingReceivedNote()) {
            POINT press{};
            GetCursorPos(&press);
            TrayDragTracker().Start(press.x, press.y, m_mainWindow, WindowFromPoint(press));
        }
        for (int guard = 0; guard < 600; ++guard) {
            CNoteController* pending = FindPendingReceivedNote();
            if (!pending)
                break;
            ShowLastNote(pending);
            pending->m_programActivation = false;
        }
        break;
    case WM_LBUTTONDBLCLK:
        if (!ActivateOpenDialog(false))
            CreateDefaultNote();
        break;
    case WM_LBUTTONUP:
        if (!ScreenCaptureActive())
            TrayDragTracker().ForgetStart();
        break;
    case WM_RBUTTONDOWN:
        SendMessageA(m_mainWindow, kMsgOpenTrayMenu, wParam, 0);
        break;
    case NIN_BALLOONTIMEOUT:
        m_trayIcon.StopFlashing(m_mainWindow);
        break;
    default:
        break;
    }
    flags.bulkOperation = false;
}
