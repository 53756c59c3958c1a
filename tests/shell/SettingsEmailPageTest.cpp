// The Email sending page of the running program: the sender typed as a name
// and an address, wrong ports and addresses refused with their texts, and what
// OK accepted shown again after the program's end and a new start.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "SettingsSheetDriving.h"
#include "resources/ids/EmailPageIds.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
void Type(HWND page, int id, const std::string& text)
{
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(page, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

}

TEST(SettingsEmailPage, RefusesWrongPortsAndAddressesAndKeepsWhatOkAccepted)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    const std::string longName(31, 'N');
    {
        RunningProgram program(install, "");
        HWND sheet = nullptr;
        HWND page = OpenSettingsPage(program, 5, &sheet);
        ASSERT_NE(page, nullptr);
        ASSERT_FALSE(Checked(page, IDC_EMAIL_AUTHENTICATION));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_EMAIL_ACCOUNT)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_EMAIL_PASSWORD)));

        Type(page, IDC_EMAIL_SERVER, "  smtp.example.org ");
        Type(page, IDC_EMAIL_PORT, "0");
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        EXPECT_EQ(AnswerBoxOverSheet(program.ProcessId(), sheet), "Please enter a value greater than zero");
        Type(page, IDC_EMAIL_PORT, "2525");

        Type(page, IDC_EMAIL_ADDRESS, "jane@@example.org");
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        EXPECT_EQ(AnswerBoxOverSheet(program.ProcessId(), sheet), "Incorrect email address");
        // Leaving the page is refused the same way; a long name is told first.
        Type(page, IDC_EMAIL_ADDRESS, longName + " <jane@example.org>");
        PostMessageA(sheet, PSM_SETCURSEL, 0, 0);
        EXPECT_EQ(AnswerBoxOverSheet(program.ProcessId(), sheet).rfind(
                      "Sorry, maximum 30 characters are accepted for the email friendly name (Your Name)", 0),
                  0u);
        EXPECT_EQ(AnswerBoxOverSheet(program.ProcessId(), sheet), "Incorrect email address");
        ASSERT_TRUE(IsWindow(sheet));

        Type(page, IDC_EMAIL_ADDRESS, "  Jane Doe   <jane@example.org> ");
        SendWithTimeout(GetDlgItem(page, IDC_EMAIL_AUTHENTICATION), BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_EMAIL_ACCOUNT)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_EMAIL_PASSWORD)));
        Type(page, IDC_EMAIL_ACCOUNT, "jane");
        Type(page, IDC_EMAIL_PASSWORD, "s3cret");
        SendWithTimeout(GetDlgItem(page, IDC_EMAIL_HTML), BM_CLICK, 0, 0);
        EXPECT_TRUE(SaveScreenshotOf(sheet, "settings-email-page"));
        ASSERT_TRUE(PressSheetOk(sheet));
        CloseProgram(install, program);
    }
    RunningProgram again(install, "");
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(again, 5, &sheet);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_EMAIL_SERVER)), "smtp.example.org");
    EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_EMAIL_PORT)), "2525");
    EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_EMAIL_ADDRESS)), "Jane Doe <jane@example.org>");
    EXPECT_TRUE(Checked(page, IDC_EMAIL_AUTHENTICATION));
    EXPECT_TRUE(Checked(page, IDC_EMAIL_HTML));
    EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_EMAIL_ACCOUNT)), "jane");
    EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_EMAIL_PASSWORD)), "s3cret");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_EMAIL_ACCOUNT)));
    // Escape in an edit closes the sheet as Cancel.
    PostMessageA(GetDlgItem(page, IDC_EMAIL_ADDRESS), WM_CHAR, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    CloseProgram(install, again);
}
