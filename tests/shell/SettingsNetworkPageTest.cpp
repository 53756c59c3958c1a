// The Network page's switches on the running program: chat follows the
// network switch, a relay server without a port takes the second listening
// port, and switching the network off and on stops and starts the listeners
// at once and for the next start.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "SettingsSheetDriving.h"
#include "resources/ids/NetworkPageIds.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
bool Checked(HWND page, int id)
{
    LRESULT state = 0;
    return SendWithTimeout(GetDlgItem(page, id), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

void Click(HWND page, int id)
{
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(page, id), BM_CLICK, 0, 0));
}
}

TEST(SettingsNetworkPage, SwitchesTakeEffectAtOnceAndSurviveANewStart)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    const std::string secondPort = std::to_string(install.SendPort());
    {
        RunningProgram program(install, "");
        HWND main = program.WaitForWindow("MainWindowClassName6");
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
        HWND sheet = nullptr;
        HWND page = OpenSettingsPage(main, program.ProcessId(), 4, &sheet);
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(Checked(page, IDC_NETWORK_ON));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_NETWORK_CHAT)));
        EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_NETWORK_RELAY_PORT)), "");

        const std::string relay = "relay.example.org";
        ASSERT_TRUE(SendWithTimeout(GetDlgItem(page, IDC_NETWORK_RELAY_SERVER), WM_SETTEXT, 0,
                                    reinterpret_cast<LPARAM>(relay.c_str())));
        EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_NETWORK_RELAY_PORT)), secondPort);

        if (!Checked(page, IDC_NETWORK_HIDE_INCOMING))
            Click(page, IDC_NETWORK_HIDE_INCOMING);
        Click(page, IDC_NETWORK_ON);
        EXPECT_FALSE(Checked(page, IDC_NETWORK_CHAT)) << "chat goes with the network";
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_NETWORK_CHAT)));
        EXPECT_TRUE(SaveScreenshotOf(sheet, "settings-network-page"));

        ASSERT_TRUE(PressSheetOk(sheet));
        EXPECT_TRUE(WaitUntil([&] {
            return !PortAcceptsConnections(install.ListenPort()) && !PortAcceptsConnections(install.SendPort());
        })) << "switching the network off closes both listeners";
        CloseBySecondStart(install, program);
    }
    RunningProgram again(install, "");
    HWND main = again.WaitForWindow("MainWindowClassName6");
    ASSERT_NE(main, nullptr);
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(main, again.ProcessId(), 4, &sheet);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(PortAcceptsConnections(install.ListenPort()));
    EXPECT_FALSE(Checked(page, IDC_NETWORK_ON));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_NETWORK_CHAT)));
    EXPECT_TRUE(Checked(page, IDC_NETWORK_HIDE_INCOMING));
    EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_NETWORK_RELAY_SERVER)), "relay.example.org");
    EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_NETWORK_RELAY_PORT)), secondPort);

    // On again: both listeners start at once, and chat comes back with the network.
    Click(page, IDC_NETWORK_ON);
    EXPECT_TRUE(Checked(page, IDC_NETWORK_CHAT));
    ASSERT_TRUE(PressSheetOk(sheet));
    EXPECT_TRUE(WaitUntil([&] {
        return PortAcceptsConnections(install.ListenPort()) && PortAcceptsConnections(install.SendPort());
    }));
    CloseBySecondStart(install, again);
}
