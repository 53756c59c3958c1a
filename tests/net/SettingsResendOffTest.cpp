// Automatic resending switched on and off on the running program's Network
// settings page: a delivery that failed while it was on waits to be tried
// again; switching it off warns and drops every such wait, and the delivery
// record kept at exit no longer asks for one.
#include "SendLoopback.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "resources/ids/NetworkPageIds.h"
#include "shell/MainWindowMessages.h"
#include "store/DbfFile.h"
#include "support/ProgramDriver.h"

namespace {
const ULONG_PTR kSendRequest = 1;

// Opens the settings sheet on its Network page and sets the resend switch;
// the text of the box that switching it off brings, once answered; then OK.
std::string SetResend(HWND main, DWORD process, bool on)
{
    PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
    HWND sheet = nullptr;
    WaitUntil([&] { return (sheet = FindTopWindowTitled("#32770", "General settings...", process)) != nullptr; });
    EXPECT_NE(sheet, nullptr);
    if (!sheet)
        return "";
    SendWithTimeout(sheet, PSM_SETCURSEL, 4, 0);
    LRESULT page = 0;
    SendWithTimeout(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, &page);
    HWND resend = GetDlgItem(reinterpret_cast<HWND>(page), IDC_NETWORK_RESEND);
    LRESULT state = 0;
    SendWithTimeout(resend, BM_GETCHECK, 0, 0, &state);
    const bool wasOn = state == BST_CHECKED;
    if (wasOn != on)
        PostMessageA(resend, BM_CLICK, 0, 0);
    std::string shown;
    if (wasOn && !on) {
        ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet...");
        shown = box.text;
        AnswerMessageBox(box, IDOK);
        WaitUntil([&] { return !IsWindow(box.window); });
    }
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    return shown;
}

bool KeptRecordAsksForResend(const ProgramInstall& install)
{
    CDbfFile table;
    table.SetTable(install.File("transact.QPD").c_str(), true);
    table.Open("READ");
    bool retry = false;
    for (table.GoTop(); !table.IsEOF(); table.Skip(1))
        retry = retry || table.GetLogicalValue("BRETRY");
    table.Close();
    return retry;
}
}

TEST(SettingsResendOff, SwitchingResendingOffDropsEveryWaitingDelivery)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    const unsigned short peerPort = FindFreePort();
    RunningProgram program(install, "");
    HWND main = program.WaitForWindow("MainWindowClassName6");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    EXPECT_EQ(SetResend(main, program.ProcessId(), true), "");

    { ForwardedRequest send(main, kSendRequest, "127.0.0.1:" + std::to_string(peerPort) + "!#%@Nobody listens here"); }
    HWND note = NoteWhoseTextHas(program.ProcessId(), "Nobody listens here");
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return SendStripText(note).find("trying again") != std::string::npos; }))
        << SendStripText(note);

    EXPECT_EQ(SetResend(main, program.ProcessId(), false), "Any existing auto-retry \r\n processes will be canceled");
    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(KeptRecordAsksForResend(install));
}
