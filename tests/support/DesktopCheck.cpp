#include "support/DesktopCheck.h"

#include <string>

namespace {
const char kCheckClass[] = "QuillnetTestDesktopCheck";
// A colour no window of the program or of Wine paints, kept exact by the
// screen's 24 bits.
const COLORREF kCheckColour = RGB(0x13, 0x57, 0x9B);
const int kSide = 24;
const DWORD kPollMs = 50;

struct Check {
    DWORD timeoutMs = 0;
    std::string cause;
};

std::string Seconds(DWORD milliseconds)
{
    return std::to_string(milliseconds / 1000) + " s";
}

bool ScreenShowsColourAt(int x, int y)
{
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    const COLORREF shown = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return shown == kCheckColour;
}

void HandleMessagesFor(DWORD milliseconds)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string ShowAndReadBack(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HBRUSH colour = CreateSolidBrush(kCheckColour);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = colour;
    windowClass.lpszClassName = kCheckClass;
    RegisterClassA(&windowClass);
    // Low on the screen, where tests put nothing, over everything and never
    // active, so that no test finds the focus or the foreground moved by it.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - kSide / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) - 3 * kSide;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kCheckClass, "", WS_POPUP, x,
                                  y, kSide, kSide, nullptr, nullptr, instance, nullptr);
    std::string cause;
    if (!window) {
        // Wine makes no window at all when it could load no display driver for
        // the desktop (its explorer did not start, or the screen cannot be
        // reached), and that lasts for the life of the process.
        cause = "no window can be made: the desktop has no display driver";
    } else {
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
        while (!ScreenShowsColourAt(x + kSide / 2, y + kSide / 2)) {
            if (GetTickCount() - start >= timeoutMs) {
                cause = "a window made and shown did not reach the screen in " + Seconds(timeoutMs);
                break;
            }
            HandleMessagesFor(kPollMs);
        }
        DestroyWindow(window);
        HandleMessagesFor(0);
    }
    UnregisterClassA(kCheckClass, instance);
    DeleteObject(colour);
    return cause;
}

DWORD WINAPI RunCheck(void* parameter)
{
    Check* check = static_cast<Check*>(parameter);
    check->cause = ShowAndReadBack(check->timeoutMs);
    return 0;
}
}

std::string WindowsShowOnScreen(DWORD timeoutMs)
{
    // Making the first window waits, without a bound of its own, for the
    // desktop's process to start: the check runs on a thread of its own, so
    // that a desktop that never comes fails within the time too.
    Check* check = new Check;
    check->timeoutMs = timeoutMs;
    HANDLE thread = CreateThread(nullptr, 0, &RunCheck, check, 0, nullptr);
    if (!thread) {
        delete check;
        return "no thread could be started for the check";
    }
    const DWORD waited = WaitForSingleObject(thread, timeoutMs + kPollMs * 20);
    CloseHandle(thread);
    if (waited == WAIT_TIMEOUT) {
        // The thread may still finish, and then writes into its check: it is
        // left to it.
        return "no window could be made in " + Seconds(timeoutMs) + ": the desktop did not answer";
    }
    const std::string cause = check->cause;
    delete check;
    return cause;
}
