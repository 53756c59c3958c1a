// What CreateProcessA reports for a Linux program, and what closing a stray
// handle value can do: the handle of the process's desktop or window station
// with a low bit set is closed, though the handle's own value is refused.
// Run with "desktop" or "station"; try-closing-a-handle-plus-two.sh runs both.
#include <windows.h>

#include <cstdio>
#include <cstring>

static bool Open(HANDLE userObject)
{
    char name[64];
    DWORD needed = 0;
    return GetUserObjectInformationA(userObject, UOI_NAME, name, sizeof name, &needed) != FALSE;
}

static void Show(const char* when)
{
    SetLastError(0);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const DWORD windowError = GetLastError();
    if (window)
        DestroyWindow(window);
    SetLastError(0);
    const BOOL clipboard = OpenClipboard(nullptr);
    const DWORD clipboardError = GetLastError();
    if (clipboard)
        CloseClipboard();
    std::printf("%-24s station open %d, desktop open %d, CreateWindowEx %s (error %lu), OpenClipboard %d (error %lu)\n",
                when, Open(GetProcessWindowStation()), Open(GetThreadDesktop(GetCurrentThreadId())),
                window ? "made" : "failed", windowError, clipboard, clipboardError);
}

int main(int argc, char** argv)
{
    char line[] = "/bin/true";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    std::printf("/bin/true started %d: process %p, thread %p (left alone)\n", started, process.hProcess,
                process.hThread);

    const bool desktop = argc > 1 && std::strcmp(argv[1], "desktop") == 0;
    HANDLE handle = desktop ? static_cast<HANDLE>(GetThreadDesktop(GetCurrentThreadId()))
                            : static_cast<HANDLE>(GetProcessWindowStation());
    Show("at the start");
    std::printf("CloseHandle(%p) = %d\n", handle, CloseHandle(handle));
    Show("after that");
    HANDLE plusTwo = reinterpret_cast<HANDLE>(reinterpret_cast<UINT_PTR>(handle) | 2);
    std::printf("CloseHandle(%p) = %d\n", plusTwo, CloseHandle(plusTwo));
    Show("after that");
    return 0;
}
