#include "foundation/win/ScreenCatchUp.h"

#include <windows.h>

#include "foundation/CallbackGuard.h"

namespace {
HHOOK g_afterSentMessages = nullptr;

bool ShownActive(const CWPRETSTRUCT& message)
{
    if (message.message != WM_WINDOWPOSCHANGED || !message.lParam)
        return false;
    const auto* position = reinterpret_cast<const WINDOWPOS*>(message.lParam);
    return (position->flags & SWP_SHOWWINDOW) && !(GetWindowLongA(message.hwnd, GWL_STYLE) & WS_CHILD) &&
           GetActiveWindow() == message.hwnd;
}

LRESULT CALLBACK AfterSentMessage(int code, WPARAM wParam, LPARAM lParam)
{
    GuardCallback([&] {
        // A wait of no time for every kind of input: Wine deals with what the
        // screen has told the thread so far.
        if (code == HC_ACTION && ShownActive(*reinterpret_cast<const CWPRETSTRUCT*>(lParam)))
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    });
    return CallNextHookEx(g_afterSentMessages, code, wParam, lParam);
}
}

void CatchUpWithScreenWhenWindowsShowActive()
{
    if (!g_afterSentMessages)
        g_afterSentMessages =
            SetWindowsHookExA(WH_CALLWNDPROCRET, &AfterSentMessage, nullptr, GetCurrentThreadId());
}
