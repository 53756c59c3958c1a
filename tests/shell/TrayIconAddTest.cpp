// The tray icon put in a tray that refuses it for a while, as Explorer does
// while it is still starting: the icon tries again from its window's timer,
// three times 3 s apart, without holding the thread that adds it. (Wine's
// tray never refuses, so the system's call is replaced here.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "globals/MainWindowMessages.h"
#include "shell/TrayIcon.h"
#include "support/ProgramDriver.h"

namespace {
int g_refusals = 0;     // NIM_ADD calls still to refuse
int g_addCalls = 0;
std::string g_lastTip;
CTrayIcon* g_icon = nullptr;

BOOL WINAPI FakeNotify(DWORD message, PNOTIFYICONDATAA data)
{
    if (message != NIM_ADD)
        return TRUE;
    ++g_addCalls;
    g_lastTip = data->szTip;
    if (g_refusals > 0) {
        --g_refusals;
        return FALSE;
    }
    return TRUE;
}

LRESULT CALLBACK IconOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerTrayAddRetry && g_icon) {
        g_icon->RetryAdd(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class TrayIconAdd : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &IconOwner;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TrayIconAddTest";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(WS_EX_TOOLWINDOW, "TrayIconAddTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        icon.SetNotifyCall(&FakeNotify);
        icon.LoadIcons(GetModuleHandleA(nullptr), CTrayIcon::kNormalIconId, CTrayIcon::kAlternateIconId);
        g_icon = &icon;
        g_addCalls = 0;
        g_lastTip.clear();
    }
    void TearDown() override
    {
        icon.Remove(window);
        g_icon = nullptr;
        DestroyWindow(window);
        UnregisterClassA("TrayIconAddTest", GetModuleHandleA(nullptr));
    }

    HWND window = nullptr;
    CTrayIcon icon;
};
}

TEST_F(TrayIconAdd, ARefusedIconIsAddedByTheNextTryFromTheTimer)
{
    g_refusals = 1;
    EXPECT_FALSE(icon.Add(window, "Quillnet+"));
    EXPECT_EQ(g_addCalls, 1) << "the first refusal was tried again at once";
    EXPECT_FALSE(icon.IsAdded());
    // The next try comes with the window's timer, while its messages are handled.
    EXPECT_TRUE(WaitUntil([&] { return icon.IsAdded(); }));
    EXPECT_EQ(g_addCalls, 2);
    EXPECT_EQ(g_lastTip, "Quillnet+");
}

TEST_F(TrayIconAdd, ATrayThatKeepsRefusingIsTriedThreeMoreTimesThenLeftToTheHousekeeping)
{
    g_refusals = 100;
    EXPECT_FALSE(icon.Add(window, "Quillnet+, 3 notes"));
    for (int tick = 0; tick < 5; ++tick)
        icon.RetryAdd(window);
    EXPECT_EQ(g_addCalls, 4);
    EXPECT_FALSE(icon.IsAdded());
    EXPECT_EQ(g_lastTip, "Quillnet+, 3 notes");
    // The housekeeping's add tries again, with three more tries of its own.
    g_refusals = 0;
    EXPECT_TRUE(icon.Add(window, "Quillnet+"));
    EXPECT_EQ(g_addCalls, 5);
    icon.RetryAdd(window);
    EXPECT_EQ(g_addCalls, 5) << "an added icon is not added again";
}
