#include "foundation/win/WindowHelpers.h"

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
struct TitleSearch {
    const char* title;
    DWORD process;
    HWND found;
};

BOOL CALLBACK MatchOwnWindow(HWND window, LPARAM context)
{
    return GuardCallback<BOOL>(FALSE, [&]() -> BOOL {
        TitleSearch* search = reinterpret_cast<TitleSearch*>(context);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != search->process)
            return TRUE;
        char title[128];
        if (GetWindowTextA(window, title, sizeof title) <= 0 || lstrcmpiA(title, search->title) != 0)
            return TRUE;
        search->found = window;
        return FALSE;
    });
}

void BringForward(HWND window, bool restoreWhenMinimised)
{
    if (restoreWhenMinimised && IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    // On top of its band too: a dialog comes out from under a note made
    // topmost after it.
    BringWindowToTop(window);
    SetForegroundWindow(window);
    SetFocus(window);
}

int Clamp(int value, int start, int end, int size)
{
    if (value < start)
        value = start;
    if (value + size > end)
        value = end - size;
    return value;
}
}

HWND FindOwnWindow(const char* title)
{
    TitleSearch search = {title, GetCurrentProcessId(), nullptr};
    EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void GetRectInParent(HWND window, HWND parent, RECT* rect)
{
    GetWindowRect(window, rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(rect), 2);
}

void GetClientRectInWindow(HWND window, HWND other, RECT* rect)
{
    GetClientRect(window, rect);
    MapWindowPoints(window, other, reinterpret_cast<POINT*>(rect), 2);
}

void CenterWindowOverWindow(HWND window, HWND over)
{
    RECT own;
    RECT other;
    GetWindowRect(window, &own);
    GetWindowRect(over, &other);
    RECT area;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    int width = own.right - own.left;
    int height = own.bottom - own.top;
    int x = other.left + ((other.right - other.left) - width) / 2;
    int y = other.top + ((other.bottom - other.top) - height) / 2;
    x = Clamp(x, area.left, area.right, width);
    y = Clamp(y, area.top, area.bottom, height);
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void ClipCursorToClient(HWND window, int topMargin, int bottomMargin)
{
    RECT rect;
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    rect.top += topMargin;
    rect.bottom -= bottomMargin;
    ClipCursor(&rect);
}

void RepaintWindow(bool erase, HWND window)
{
    InvalidateRect(window, nullptr, erase);
    UpdateWindow(window);
}

void SetMenuItemText(HMENU menu, UINT id, const char* text)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE;
    item.fType = MFT_STRING;
    item.dwTypeData = const_cast<char*>(text);
    if (SetMenuItemInfoA(menu, id, FALSE, &item))
        return;
    char details[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(),
                   MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), details, sizeof details, nullptr);
    ShowInfoMessage(nullptr, details, "SetMenuItemInfo failed");
}

int ActivateFirstOwnWindow(const OwnWindowTitle* titles, int count)
{
    for (int i = 0; i < count; ++i) {
        if (HWND window = FindOwnWindow(titles[i].title)) {
            BringForward(window, titles[i].restoreWhenMinimised);
            return 1;
        }
    }
    return 0;
}
