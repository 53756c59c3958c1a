// The About box of the real program, opened from its tray menu: the caption
// with the version and the program file's date, the picture's size, the
// links, and the ways it closes without opening a page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "globals/MainWindowMessages.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {

std::string FileDate(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    FILETIME local;
    SYSTEMTIME written;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes) ||
        !FileTimeToLocalFileTime(&attributes.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &written))
        return std::string();
    char date[80] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &written, "MMMM dd, yyyy", date, sizeof date);
    return date;
}

HWND WaitForAboutBox(DWORD processId)
{
    HWND about = nullptr;
    WaitUntil([&] {
        about = FindTopWindow("#32770", processId);
        return about && ReadWindowText(about).rfind("About Quillnet+", 0) == 0 && IsWindowVisible(about);
    });
    return about;
}

RECT RectInClient(HWND dialog, int id)
{
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
}

TEST(AboutBox, OpensFromTheTrayMenuWithTheVersionAndTheProgramFilesDate)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = program.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);

    PostMessageA(main, kMsgOpenTrayMenu, 0, 0);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        menu = FindTopWindow("#32768", program.ProcessId());
        return menu && IsWindowVisible(menu);
    }));
    // "About Quillnet+" stands two entries above the last, over a separator.
    PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    HWND about = WaitForAboutBox(program.ProcessId());
    ASSERT_NE(about, nullptr);

    const std::string date = FileDate(install.File("qnpost.exe"));
    ASSERT_FALSE(date.empty());
    EXPECT_EQ(ReadWindowText(about), "About Quillnet+ v6.6 - " + date);
    // The dialog takes the size of its picture; the links and the OK button
    // stand at the bottom.
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 260);
    EXPECT_EQ(ReadWindowText(GetDlgItem(about, 1046)), "https://quillnet.example");
    EXPECT_EQ(ReadWindowText(GetDlgItem(about, 1047)), "Check for new version...");
    RECT ok = RectInClient(about, IDCANCEL);
    EXPECT_EQ(ok.right, client.right - 20);
    EXPECT_EQ(ok.top, client.bottom - 35);
    RECT bottomLine = RectInClient(about, 1204);
    RECT site = RectInClient(about, 1046);
    RECT version = RectInClient(about, 1047);
    EXPECT_EQ(bottomLine.bottom, client.bottom);
    EXPECT_EQ(site.bottom, bottomLine.top);
    EXPECT_EQ(version.bottom + 10, site.top);
    EXPECT_TRUE(SaveScreenshotOf(about, "AboutBox"));

    // The pointer over a link and back changes only the link's look.
    POINT overSite{(site.left + site.right) / 2, (site.top + site.bottom) / 2};
    PostMessageA(about, WM_MOUSEMOVE, 0, MAKELPARAM(overSite.x, overSite.y));
    PostMessageA(about, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(SendWithTimeout(about, WM_NULL, 0, 0));
    EXPECT_TRUE(IsWindow(about));

    // OK closes it; so does Escape the next time, and the program runs on.
    PostMessageA(about, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(about, IDCANCEL)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    PostMessageA(main, WM_COMMAND, kCmdAbout, 0);
    about = WaitForAboutBox(program.ProcessId());
    ASSERT_NE(about, nullptr);
    PostMessageA(GetDlgItem(about, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    EXPECT_TRUE(program.IsRunning());

    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
}
