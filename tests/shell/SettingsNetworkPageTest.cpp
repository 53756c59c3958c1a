// The Network page's switches on the running program: chat follows the
// network switch, a relay server without a port takes the second listening
// port, switching resending off warns, and switching the network off and on
// stops and starts the listeners at once and for the next start; a port that
// cannot be taken is reported and every setting is still kept. Ports typed
// wrong are refused as their edit is left, holding OK and the page.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "SettingsSheetDriving.h"
#include "resources/ids/NetworkPageIds.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
void ClickOnPage(HWND page, int id)
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
        ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
        HWND sheet = nullptr;
        HWND page = OpenSettingsPage(program, 4, &sheet);
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(Checked(page, IDC_NETWORK_ON));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_NETWORK_CHAT)));
        EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_NETWORK_RELAY_PORT)), "");

        const std::string relay = "relay.example.org";
        ASSERT_TRUE(SendWithTimeout(GetDlgItem(page, IDC_NETWORK_RELAY_SERVER), WM_SETTEXT, 0,
                                    reinterpret_cast<LPARAM>(relay.c_str())));
        EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_NETWORK_RELAY_PORT)), secondPort);

        if (!Checked(page, IDC_NETWORK_HIDE_INCOMING))
            ClickOnPage(page, IDC_NETWORK_HIDE_INCOMING);
        ClickOnPage(page, IDC_NETWORK_ON);
        EXPECT_FALSE(Checked(page, IDC_NETWORK_CHAT)) << "chat goes with the network";
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_NETWORK_CHAT)));
        if (!Checked(page, IDC_NETWORK_RESEND))
            ClickOnPage(page, IDC_NETWORK_RESEND);
        PostMessageA(GetDlgItem(page, IDC_NETWORK_RESEND), BM_CLICK, 0, 0);
        EXPECT_EQ(AnswerBoxOverSheet(program.ProcessId(), sheet), "Any existing auto-retry \r\n processes will be canceled");
        EXPECT_TRUE(SaveScreenshotOf(sheet, "settings-network-page"));

        ASSERT_TRUE(PressSheetOk(sheet));
        EXPECT_TRUE(WaitUntil([&] {
            return !PortAcceptsConnections(install.ListenPort()) && !PortAcceptsConnections(install.SendPort());
        })) << "switching the network off closes both listeners";
        CloseProgram(install, program);
    }
    RunningProgram again(install, "");
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(again, 4, &sheet);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(PortAcceptsConnections(install.ListenPort()));
    EXPECT_FALSE(Checked(page, IDC_NETWORK_ON));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_NETWORK_CHAT)));
    EXPECT_TRUE(Checked(page, IDC_NETWORK_HIDE_INCOMING));
    EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_NETWORK_RELAY_SERVER)), "relay.example.org");
    EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_NETWORK_RELAY_PORT)), secondPort);

    EXPECT_FALSE(Checked(page, IDC_NETWORK_RESEND));

    // On again, on a first port the test holds: the second listener starts at
    // once, the first is reported, and chat comes back with the network.
    WSADATA winsock;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &winsock), 0);
    const unsigned short heldPort = FindFreePort();
    SOCKET holder = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(heldPort);
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(holder, 1), 0);
    const std::string ports = std::to_string(heldPort) + "," + secondPort;
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(page, IDC_NETWORK_PORTS), WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(ports.c_str())));
    ClickOnPage(page, IDC_NETWORK_ON);
    EXPECT_TRUE(Checked(page, IDC_NETWORK_CHAT));
    ASSERT_TRUE(PressSheetOk(sheet));
    EXPECT_EQ(AnswerBoxOverSheet(again.ProcessId(), nullptr).rfind(
                  "Quillnet+ cannot listen on port " + std::to_string(heldPort) + ":", 0),
              0u);
    EXPECT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.SendPort()); }));
    closesocket(holder);
    CloseProgram(install, again);

    RunningProgram third(install, "");
    EXPECT_TRUE(WaitUntil([&] { return PortAcceptsConnections(heldPort); })) << "the refused port was kept";
    page = OpenSettingsPage(third, 4, &sheet);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(Checked(page, IDC_NETWORK_ON));
    EXPECT_TRUE(Checked(page, IDC_NETWORK_CHAT));
    EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_NETWORK_PORTS)), ports);
    EXPECT_TRUE(PressSheetCancel(sheet));
    CloseProgram(install, third);
    WSACleanup();
}

TEST(SettingsNetworkPage, PortsAreCheckedAsTheirEditIsLeftAndHoldOkAndThePageUntilRight)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(program, 4, &sheet);
    ASSERT_NE(page, nullptr);
    HWND ports = GetDlgItem(page, IDC_NETWORK_PORTS);
    HWND ok = GetDlgItem(sheet, IDOK);
    ASSERT_TRUE(IsWindowEnabled(ok));

    // Leaving the edit with a refused text says why, turns OK off and puts
    // the user back in the edit.
    ASSERT_TRUE(SendWithTimeout(ports, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("1,2")));
    LeaveDialogEdit(page, IDC_NETWORK_PORTS);
    EXPECT_EQ(AnswerBoxOverSheet(program.ProcessId(), sheet), "Please type at least 5 digits.");
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindowOf(sheet) == ports; }));
    EXPECT_FALSE(IsWindowEnabled(ok));
    EXPECT_TRUE(SaveScreenshotOf(sheet, "settings-network-ports-refused"));

    // Meanwhile the page cannot be left for another.
    PostMessageA(sheet, PSM_SETCURSEL, 0, 0);
    EXPECT_EQ(AnswerBoxOverSheet(program.ProcessId(), sheet),
              "Before leaving the dialog box, please check the values of the two listening ports.");
    EXPECT_EQ(CurrentSettingsPage(sheet), page);
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindowOf(sheet) == ports; }));

    // Two good ports turn OK on again, and the page may be left.
    const std::string good = std::to_string(FindFreePort()) + "," + std::to_string(install.SendPort());
    ASSERT_TRUE(SendWithTimeout(ports, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(good.c_str())));
    LeaveDialogEdit(page, IDC_NETWORK_PORTS);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(ok) != FALSE; }));
    ASSERT_TRUE(SendWithTimeout(sheet, PSM_SETCURSEL, 0, 0));
    EXPECT_NE(CurrentSettingsPage(sheet), page);
    EXPECT_TRUE(PressSheetCancel(sheet));
    CloseProgram(install, program);
}
