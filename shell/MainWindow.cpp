#include <winsock2.h>

#include "shell/MainWindow.h"

#include <shlobj.h>

#include <cstdio>
#include <memory>
#include <optional>

#include "foundation/BoxesToErrorLog.h"
#include "foundation/CallbackGuard.h"
#include "foundation/FileHelpers.h"
#include "foundation/HeldFileWait.h"
#include "foundation/StartupValues.h"
#include "foundation/win/FrameWindow.h"
#include "foundation/win/Shortcuts.h"
#include "foundation/win/WindowClass.h"
#include "resources/ids/WindowClassIds.h"
#include "globals/MainWindowMessages.h"
#include "note/NoteCreation.h"
#include "note/NoteKeeper.h"
#include "shell/OptionalLibraries.h"
#include "shell/RescueLeftovers.h"
#include "shell/SingleInstance.h"
#include "shell/UserFolder.h"
#include "shell/WindowController.h"

namespace {
CWindowController* g_controller = nullptr;
const int kMainIconId = 242;

LRESULT OnCreateMessage(HWND window, LPARAM lParam)
{
    return GuardCreate([&] {
        auto controller = std::make_unique<CWindowController>(window, *reinterpret_cast<CREATESTRUCTA*>(lParam));
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(controller.get()));
        g_controller = controller.release();
        SetNoteKeeper(g_controller);
        SetMainWindow(window);
        g_controller->OnCreate();
        return 0L;
    });
}

void OnDestroyMessage(HWND window)
{
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    std::unique_ptr<CWindowController> controller(g_controller);
    g_controller = nullptr;
    SetNoteKeeper(nullptr);
    if (controller)
        controller->ReleaseMembers();
    controller.reset();
    UnregisterSessionNotification(window);
    SetMainWindow(nullptr);
    PostQuitMessage(GetProgramFlags().exitCode);
}

void OnCloseMessage(HWND window, CWindowController& controller)
{
    // What could not be written yet keeps the program running; the user was told.
    if (!controller.Shutdown())
        return;
    const char* folder = GetStartupValues().workingFolder;
    DeleteTempFilesNobodyHolds(folder);
    DeleteFilesByExtension(folder, nullptr, "png");
    for (const SendToShortcut& shortcut : kSendToShortcuts)
        RemoveShortcutsTo(CSIDL_SENDTO, "qnpost.exe", shortcut.searchedSwitch);
    if (GetStartupValues().commandLineUser[0])
        DeleteOwnLockFile();
    if (const char* marker = GetFastUserSwitchingMarkerPath(); marker[0])
        DeleteFileA(marker);
    DestroyWindow(window);
}

void OnSessionChange(WPARAM event)
{
    const char* marker = GetFastUserSwitchingMarkerPath();
    if (!marker[0])
        return;
    if (event == WTS_CONSOLE_CONNECT) {
        DeleteFileA(marker);
    } else if (event == WTS_CONSOLE_DISCONNECT) {
        HANDLE file = CreateFileA(marker, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            static const char text[] = "     This file is used by Quillnet+ when fast user switching is used ";
            DWORD written = 0;
            WriteFile(file, text, sizeof text - 1, &written, nullptr);
            CloseHandle(file);
        }
    }
}

LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWindowController* controller = g_controller;
    if (message == WM_COPYDATA) {
        if (controller)
            controller->OnCopyData(wParam, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return 0;
    }
    if (!controller)
        return DefWindowProcA(window, message, wParam, lParam);

    LRESULT result = 0;
    switch (message) {
    case WM_DESTROY:
        OnDestroyMessage(window);
        return 0;
    case WM_CLOSE:
        // A box shown while the notes load lets a close in; the loader still
        // has the notes table open, so the close waits until the notes are in.
        if (GetProgramFlags().loadingNotes) {
            GetProgramFlags().closeAfterLoading = true;
            return 0;
        }
        // A restore or its undo is replacing the tables under the object: it
        // closes once they are in place and loaded.
        if (controller->IsRestoreInProgress()) {
            controller->DeferClose();
            return 0;
        }
        OnCloseMessage(window, *controller);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_COMMAND:
        return controller->OnCommand(wParam, lParam);
    case WM_INITMENUPOPUP:
        controller->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MEASUREITEM:
        controller->OnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return 1;
    case WM_DRAWITEM:
        controller->OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return 1;
    case WM_TIMER:
        controller->OnTimer(wParam);
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETDRAGFULLWINDOWS)
            ReadFullWindowDrag();
        ForgetScreenFacts();
        break;
    case WM_DISPLAYCHANGE:
        ForgetScreenFacts();
        break;
    case WM_WTSSESSION_CHANGE:
        OnSessionChange(wParam);
        break;
    case WM_QUERYENDSESSION:
        if (controller->OnQueryEndSession((static_cast<DWORD>(lParam) & ENDSESSION_CRITICAL) != 0))
            return 0;
        break;
    case WM_ENDSESSION:
        if (wParam)
            controller->OnSessionEnds();
        else
            controller->OnEndSessionCancelled();
        break;
    default:
        if (controller->OnPrivateMessage(message, wParam, lParam, result))
            return result;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
}

const char kNotShownAtSessionEnd[] = "Not shown while Windows ends the session: ";

void ReadFullWindowDrag()
{
    BOOL whole = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &whole, 0);
    GetStartupValues().fullWindowDrag = whole;
}

CWindowController* GetWindowController()
{
    return g_controller;
}

LRESULT CALLBACK MainFrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreateMessage(window, lParam);
    // Only the window's creation is the start's own work: a message handled
    // in a box's loop meanwhile (the system's question, a timer, a restore)
    // waits for no held file on the start's behalf.
    CStartWaitsPaused notTheStartsWork;
    // Windows does not wait for the user while it ends the session, and a
    // user who ends it anyway would end the program with a box up: what would
    // be a box, the guard's included, goes to error.txt instead.
    std::optional<CBoxesToErrorLog> quiet;
    if (message == WM_QUERYENDSESSION || message == WM_ENDSESSION)
        quiet.emplace(kNotShownAtSessionEnd);
    return GuardCallback<LRESULT>(0, [&] { return Dispatch(window, message, wParam, lParam); });
}

void RegisterMainWindowClass(HINSTANCE instance)
{
    CWindowClass mainClass(&MainFrameWndProc, IDS_MAIN_WINDOW_CLASS, instance, CS_DBLCLKS, kMainIconId, 0,
                           static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    mainClass.RegisterClassEx();
}

HWND CreateMainWindow(HINSTANCE instance)
{
    CResourceString className;
    className.LoadString(instance, IDS_MAIN_WINDOW_CLASS);
    CResourceString title;
    title.LoadString(instance, IDS_MAIN_WINDOW_TITLE);
    CFrameWindow frame(WS_EX_TOOLWINDOW, className.GetText(), title.GetText(), WS_OVERLAPPEDWINDOW, 0, 0,
                       GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, 0, instance, nullptr);
    HWND window = frame.Create();
    frame.Show(SW_HIDE);
    return window;
}
