#include "support/NoticeReading.h"

#include <windows.h>

#include "support/KeyPresses.h"
#include "support/ProgramDriver.h"

namespace {
// Held down while a notice is awaited: alone, no window acts on it, and X has
// it, so the reading of a notice lets it go.
const BYTE kWitnessKey = VK_SHIFT;

void SendKey(BYTE key, DWORD flags)
{
    INPUT input = KeyInput(key, flags);
    SendInput(1, &input, sizeof input);
}

bool WitnessHeld()
{
    return GetAsyncKeyState(kWitnessKey) < 0;
}

bool ThreadShowsAt(DWORD thread, POINT point)
{
    HWND under = WindowFromPoint(point);
    return under && GetWindowThreadProcessId(under, nullptr) == thread;
}

// A point of the window's thread: where the pointer is, else the window's
// lower left corner (no tip or hot spot of the window's own is there), else
// its middle.
bool PointOfThread(HWND window, DWORD thread, POINT& inside)
{
    RECT place{};
    GetWindowRect(window, &place);
    POINT candidates[3] = {{}, {place.left + 1, place.bottom - 2},
                           {(place.left + place.right) / 2, (place.top + place.bottom) / 2}};
    GetCursorPos(&candidates[0]);
    for (POINT candidate : candidates) {
        if (ThreadShowsAt(thread, candidate)) {
            inside = candidate;
            return true;
        }
    }
    return false;
}

// A point of the bare screen: the pointer moved there enters no window, so no
// thread is told anything that concerns keys.
bool BareScreenPoint(POINT& bare)
{
    const int right = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int bottom = GetSystemMetrics(SM_CYSCREEN) - 1;
    const POINT candidates[] = {{right, bottom}, {right - 1, bottom}, {right, 0}, {0, bottom}, {right / 2, bottom}};
    for (POINT candidate : candidates) {
        if (WindowFromPoint(candidate) == GetDesktopWindow()) {
            bare = candidate;
            return true;
        }
    }
    return false;
}

// A point just beside the given one that the window's thread shows and the
// pointer has not been sent to lately: where a thread reads that the pointer
// entered, the system puts its pointer, also after a later move, and a move
// to where the system has its pointer already does not move X's pointer.
bool FreshPointOfThread(DWORD thread, POINT base, POINT& fresh)
{
    static unsigned used = 0;
    for (unsigned tries = 0; tries < 64; ++tries) {
        ++used;
        fresh = {base.x + 1 + static_cast<LONG>(used % 8), base.y + static_cast<LONG>(used / 8 % 8)};
        if (ThreadShowsAt(thread, fresh))
            return true;
    }
    return false;
}

// The pointer moved into the window and on to the bare screen: Wine takes
// hold of the pointer around each move, and when it lets go inside, X owes
// the window's thread a notice that the pointer entered. Before the second
// move Wine waits for X's answer, so X has sent that notice by then. A
// witness key still held at that moment can only be let go by a reading that
// goes on until it has read that notice; the thread answers a message once
// the reading is over. A witness let go sooner proves nothing (another notice
// may have let it go), and the round is tried again.
bool NoticeReadAfterEntering(HWND window, DWORD thread, POINT inside, POINT bare)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kDriverWaitMs) {
        POINT entered{};
        if (!FreshPointOfThread(thread, inside, entered))
            return false;
        SendKey(kWitnessKey, 0);
        SetCursorPos(entered.x, entered.y);
        SetCursorPos(bare.x, bare.y);
        const bool heldAfterNotice = WitnessHeld();
        const bool read = heldAfterNotice && WaitUntil([] { return !WitnessHeld(); });
        SendKey(kWitnessKey, KEYEVENTF_KEYUP);
        if (!SendWithTimeout(window, WM_NULL, 0, 0) || (heldAfterNotice && !read))
            return false;
        if (read)
            return true;
    }
    return false;
}
}

bool WindowReadItsNotices(HWND window)
{
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    POINT inside{};
    POINT bare{};
    if (!window || !PointOfThread(window, thread, inside) || !BareScreenPoint(bare))
        return false;
    // Twice: the second notice comes after what X answers to the requests the
    // thread sent while it read the first (the focus for a window it had
    // shown, say).
    return NoticeReadAfterEntering(window, thread, inside, bare) &&
           NoticeReadAfterEntering(window, thread, inside, bare);
}

bool ForegroundReadItsNotices()
{
    return WindowReadItsNotices(GetForegroundWindow());
}
