// The tray icon after notes arrive: it flashes while a received note is
// unread, goes on flashing when the user reads one of two, and stops once
// both are read. Seen as the user sees it: the icon's picture in the tray
// that Wine's explorer shows on a screen without a tray of its own.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NoteCatcher.h"
#include "ProgramSender.h"
#include "shell/MainWindowMessages.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"

namespace {
const UINT kTrayCallback = 0x8064;
const UINT kTrayIconId = 508;

HWND TrayIconWindow()
{
    HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    return tray ? FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr) : nullptr;
}

// The pixels of the icon's place on the screen.
std::string IconPicture(HWND icon)
{
    RECT r{};
    GetWindowRect(icon, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return std::string();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::string pixels(static_cast<size_t>((width * 3 + 3) & ~3) * height, '\0');
    GetDIBits(memory, picture, 0, height, &pixels[0], reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The icon's picture once the tray has drawn it: the same for a second.
std::string SettledPicture(HWND icon)
{
    std::string earlier = IconPicture(icon), now;
    DWORD since = GetTickCount();
    WaitUntil([&] {
        now = IconPicture(icon);
        if (now != earlier) {
            earlier = now;
            since = GetTickCount();
        }
        return GetTickCount() - since >= 1000;
    });
    return now;
}

// A press and release of the left button in the note's text.
void ClickOn(HWND note)
{
    HWND body = BodyOf(note);
    SendWithTimeout(body, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendWithTimeout(body, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
}

// Flashing goes on: the icon shows its own picture and then the other one
// again, within a few of its half-second turns.
bool KeepsFlashing(HWND icon, const std::string& normal)
{
    return WaitUntil([&] { return IconPicture(icon) == normal; }, 3000) &&
           WaitUntil([&] { return IconPicture(icon) != normal; }, 3000);
}
}

TEST(TrayFlashing, GoesOnWhileAReceivedNoteIsUnreadAndStopsWhenAllAreRead)
{
    WinsockSession winsock;
    ProgramInstall install("flashing");
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = program.WaitForWindow("MainWindowClassName6");
    ASSERT_NE(main, nullptr);
    HWND icon = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (icon = TrayIconWindow()) != nullptr; }));
    const std::string normal = SettledPicture(icon);
    ASSERT_FALSE(normal.empty());
    EXPECT_FALSE(KeepsFlashing(icon, normal)) << "flashing before any note arrived";

    const unsigned short port = install.ListenPort();
    ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(port); }));
    ASSERT_TRUE(SendToProgram(port, WireNote("First", "First unread note")));
    ASSERT_TRUE(SendToProgram(port, WireNote("Second", "Second unread note")));
    HWND first = NoteReading(program.ProcessId(), "First unread note");
    HWND second = NoteReading(program.ProcessId(), "Second unread note");
    ASSERT_TRUE(first && second);
    // New notes come up at the screen's top left, over the tray: the user moves them.
    SetWindowPos(first, nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(second, nullptr, 650, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(KeepsFlashing(icon, normal));

    // One of the two read: the other still calls for the user.
    ClickOn(first);
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    EXPECT_TRUE(KeepsFlashing(icon, normal)) << "stopped with a note still unread";

    // A press on the icon shows the rest; nothing is left unread.
    PostMessageA(main, kTrayCallback, kTrayIconId, WM_LBUTTONDOWN);
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    EXPECT_TRUE(WaitUntil([&] { return IconPicture(icon) == normal; }));
    EXPECT_FALSE(KeepsFlashing(icon, normal)) << "still flashing with every note read";
    EXPECT_TRUE(IsWindowVisible(first) && IsWindowVisible(second));

    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}
