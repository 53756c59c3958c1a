// The Security page of the running program's settings sheet: the choices it
// refuses to be left with (a password asked for and not set, a backup folder
// that is not a full path), the ones it only warns about, the set-password
// dialog, a password saved by OK that the next start asks for, and the
// browser of the backup folder.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "SettingsSheetDriving.h"
#include "resources/ids/NotePageIds.h"
#include "resources/ids/SecurityPageIds.h"
#include "resources/ids/SetPasswordIds.h"
#include "resources/ids/StartupPasswordIds.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/TempFolder.h"

namespace {
const char kPassword[] = "open sesame";

bool SheetOkEnabled(HWND sheet)
{
    return IsWindowEnabled(GetDlgItem(sheet, IDOK)) != FALSE;
}

// A control's rectangle in its dialog's client area.
RECT PlaceIn(HWND dialog, HWND control)
{
    RECT place = RectOf(control);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// The shell's ids of the browser's title, folder tree and status line.
const int kBrowserTitle = 0x3742;
const int kBrowserTree = 0x3741;
const int kBrowserStatus = 0x3743;

// Tries to leave the page for the Note page; the box that refused, or empty
// when the page was left (the sheet is then turned back to the page).
std::string LeavePage(DWORD processId, HWND sheet, HWND page, int answer = IDOK)
{
    PostMessageA(sheet, PSM_SETCURSEL, 0, 0);
    std::string refusal;
    WaitUntil([&] {
        if (CurrentSettingsPage(sheet) != page)
            return true;
        HWND box = FindOtherDialog(processId, sheet, nullptr, 0);
        if (box)
            refusal = AnswerBoxOverSheet(processId, sheet, answer);
        return box != nullptr;
    });
    if (refusal.empty())
        SendWithTimeout(sheet, PSM_SETCURSEL, 1, 0);
    return refusal;
}

// The set-password dialog opened from the page's link, typed into as the
// user types (each edit left by Tab) and confirmed; the text of a box it
// answered with, else empty.
std::string TypeIntoPasswordDialog(DWORD processId, HWND sheet, HWND page, const char* old, const char* typed,
                                   const char* confirmed, std::string* caption = nullptr)
{
    HWND dialog = OpenSetPasswordDialog(processId, sheet, page);
    if (!dialog)
        return "no dialog";
    if (caption)
        *caption = ReadWindowText(dialog);
    std::string refusal;
    if (old) {
        SetPageItemText(dialog, IDC_SET_PASSWORD_OLD, old);
        LeaveDialogEdit(dialog, IDC_SET_PASSWORD_OLD);
        WaitUntil([&] {
            if (FindOtherDialog(processId, sheet, dialog, 0))
                refusal = AnswerBoxOverSheet(processId, sheet, IDOK, dialog);
            return !refusal.empty() || IsWindowEnabled(GetDlgItem(dialog, IDC_SET_PASSWORD_NEW));
        });
    }
    if (refusal.empty()) {
        SetPageItemText(dialog, IDC_SET_PASSWORD_NEW, typed);
        SetPageItemText(dialog, IDC_SET_PASSWORD_CONFIRM, confirmed);
        LeaveDialogEdit(dialog, IDC_SET_PASSWORD_CONFIRM);
        PostMessageA(dialog, WM_COMMAND, IDC_SET_PASSWORD_OK, 0);
        refusal = BoxOrClose(processId, sheet, dialog);
    }
    if (IsWindow(dialog)) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        WaitUntil([&] { return !IsWindow(dialog); });
    }
    return refusal;
}
}

TEST(SecuritySettingsPage, AFreshInstallAsksForNoPasswordSoOkSavesAnotherPagesSetting)
{
    ProgramInstall install;
    install.AddUpgradeSet();
    RunningProgram program(install, "");
    const DWORD id = program.ProcessId();
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(program, 1, &sheet);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(Checked(page, IDC_SECURITY_PASSWORD_AT_START));
    EXPECT_FALSE(Checked(page, IDC_SECURITY_PROTECT_LOCKED));
    EXPECT_TRUE(SheetOkEnabled(sheet));
    // Leaving the page for the Note page is allowed, and OK takes the tab width.
    EXPECT_EQ(LeavePage(id, sheet, page), "");
    ASSERT_TRUE(SendWithTimeout(sheet, PSM_SETCURSEL, 0, 0));
    HWND notePage = CurrentSettingsPage(sheet);
    SetPageItemText(notePage, IDC_NOTE_TAB_WIDTH, "5");
    ASSERT_TRUE(PressSheetOk(sheet));
    CloseProgram(install, program);
    const std::string users = install.File("users.QPD");
    const DWORD user = CurrentUserRecord(users);
    ASSERT_NE(user, 0u);
    EXPECT_EQ(StoredField(users, user, "DISPLRETRY"), "5");
    EXPECT_EQ(StoredField(users, user, "BRECEIVED1"), "F");
    EXPECT_EQ(StoredField(users, user, "BHSCROLL"), "F");
    // The program's own switches in those fields of its record stay on.
    EXPECT_EQ(StoredField(install.File("config.QPD"), 1, "BRECEIVED1"), "T");
    EXPECT_EQ(StoredField(install.File("config.QPD"), 1, "BHSCROLL"), "T");
}

TEST(SecuritySettingsPage, RefusesContradictionsAndSavesAPasswordTheNextStartAsksFor)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    const std::string myBackups = install.Path() + "\\MyBackups";
    ASSERT_TRUE(CreateDirectoryA(myBackups.c_str(), nullptr));
    {
        RunningProgram program(install, "");
        const DWORD id = program.ProcessId();
        HWND sheet = nullptr;
        HWND page = OpenSettingsPage(program, 1, &sheet);
        ASSERT_NE(page, nullptr);

        // Both password switches on and no password: OK is off, and neither
        // leaving nor OK lets the user go.
        ASSERT_TRUE(ClickPageButton(page, IDC_SECURITY_PASSWORD_AT_START));
        ASSERT_TRUE(ClickPageButton(page, IDC_SECURITY_PROTECT_LOCKED));
        EXPECT_EQ(PageItemText(page, IDC_SECURITY_SET_PASSWORD), "&Set password...");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_SECURITY_CLEAR_PASSWORDS)));
        EXPECT_FALSE(SheetOkEnabled(sheet));
        const std::string startupRefusal = "Before leaving the Security tab, please either set a password or turn off "
                                           "the\r\n \"Require password entry on startup \" checkbox. ";
        EXPECT_EQ(LeavePage(id, sheet, page), startupRefusal);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        EXPECT_EQ(AnswerBoxOverSheet(id, sheet), startupRefusal);
        EXPECT_TRUE(IsWindow(sheet));
        ASSERT_TRUE(ClickPageButton(page, IDC_SECURITY_PASSWORD_AT_START));
        EXPECT_EQ(LeavePage(id, sheet, page), "Before leaving the Security tab, please either set a password or turn "
                                              "off the\r\n \"Password-protect locked notes\" checkbox. ");
        ASSERT_TRUE(ClickPageButton(page, IDC_SECURITY_PASSWORD_AT_START));

        // The password typed twice, differently and then alike.
        std::string caption;
        EXPECT_EQ(TypeIntoPasswordDialog(id, sheet, page, nullptr, kPassword, "open sesamE", &caption),
                  "The 'new password' does not match the 'confirm new password'.");
        EXPECT_EQ(caption, "Set password...");
        EXPECT_EQ(TypeIntoPasswordDialog(id, sheet, page, nullptr, kPassword, kPassword), "");
        EXPECT_EQ(PageItemText(page, IDC_SECURITY_SET_PASSWORD), "Change or reset pa&ssword...");
        EXPECT_TRUE(SheetOkEnabled(sheet));
        // Changing it asks for the old one first.
        EXPECT_EQ(TypeIntoPasswordDialog(id, sheet, page, "sesame", "other", "other", &caption),
                  "Sorry, the password you have typed does not match the existing password.\r\n\r\n"
                  "Unless you provide the existing password first, you cannot alter it.");
        EXPECT_EQ(caption, "Change or reset password...");

        // Days that backups are kept: 1 to 100, arrows included.
        if (!Checked(page, IDC_SECURITY_DAILY_BACKUPS)) {
            ASSERT_TRUE(ClickPageButton(page, IDC_SECURITY_DAILY_BACKUPS));
        }
        SetPageItemText(page, IDC_SECURITY_DAYS, "500");
        EXPECT_EQ(LeavePage(id, sheet, page), "Daily backups can be kept for 1 to 100 days.");
        SetPageItemText(page, IDC_SECURITY_DAYS, "0");
        EXPECT_EQ(LeavePage(id, sheet, page), "Please enter a value greater than zero");
        SetPageItemText(page, IDC_SECURITY_DAYS, "29");
        PressKey(GetDlgItem(page, IDC_SECURITY_DAYS), VK_UP);
        EXPECT_EQ(PageItemText(page, IDC_SECURITY_DAYS), "30");

        // A folder that is not a full path is refused; one that does not
        // exist only warns, and OK stays on for it.
        SetPageItemText(page, IDC_SECURITY_FOLDER, "relative\\folder");
        EXPECT_EQ(LeavePage(id, sheet, page),
                  "Before leaving the Security tab, please enter a full path Backup folder \r\n"
                  "e.g. C:\\MyBackupLocation or \\\\ServerName\\SharedFolder\\MyBackupLocation.");
        EXPECT_FALSE(SheetOkEnabled(sheet));
        const std::string missing = install.Path() + "\\NoSuchFolder";
        SetPageItemText(page, IDC_SECURITY_FOLDER, missing.c_str());
        const std::string warning = LeavePage(id, sheet, page, IDNO);
        EXPECT_EQ(warning.rfind("Warning: your current Backup location '" + missing + "' does not exist, so the '" +
                                    install.Path() + "\\BACKUP' folder will be used instead.",
                                0),
                  0u)
            << warning;
        EXPECT_EQ(CurrentSettingsPage(sheet), page) << "No keeps the user on the page";
        EXPECT_TRUE(SheetOkEnabled(sheet));
        SetPageItemText(page, IDC_SECURITY_FOLDER, myBackups.c_str());
        EXPECT_EQ(LeavePage(id, sheet, page), "");

        // The other switches, flipped.
        const bool sharing = Checked(page, IDC_SECURITY_SHARE);
        const bool confirming = Checked(page, IDC_SECURITY_CONFIRM_DELETE);
        const bool monthly = Checked(page, IDC_SECURITY_MONTHLY_BACKUP);
        for (int check : {IDC_SECURITY_SHARE, IDC_SECURITY_CONFIRM_DELETE, IDC_SECURITY_MONTHLY_BACKUP})
            ASSERT_TRUE(ClickPageButton(page, check));
        EXPECT_TRUE(SaveScreenshotOf(sheet, "settings-security-page"));
        ASSERT_TRUE(PressSheetOk(sheet));
        CloseProgram(install, program);

        const std::string users = install.File("users.QPD");
        const DWORD user = CurrentUserRecord(users);
        ASSERT_NE(user, 0u);
        EXPECT_EQ(StoredField(users, user, "BRECEIVED1"), "T");
        EXPECT_EQ(StoredField(users, user, "BHSCROLL"), "T");
        EXPECT_EQ(StoredField(users, user, "SZ1").size(), 8u);
        EXPECT_EQ(StoredField(users, user, "BYIPPART1"), "1");
        EXPECT_EQ(StoredField(users, user, "BYIPPART2"), "30");
        EXPECT_EQ(StoredField(users, user, "BSHARENOTE"), sharing ? "F" : "T");
        EXPECT_EQ(StoredField(users, user, "BRECEIVED"), confirming ? "F" : "T");
        EXPECT_EQ(StoredField(users, user, "BVSCROLL"), monthly ? "F" : "T");
        EXPECT_EQ(StoredField(install.File("config.QPD"), 4, "SZSOUND"), myBackups);
    }

    // The next start asks for the password that was set.
    RunningProgram again(install, "");
    HWND prompt = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (prompt = FindTopWindowTitled("#32770", "Quillnet+ password", again.ProcessId())); }));
    SetPageItemText(prompt, IDC_PASSWORD_EDIT, kPassword);
    PostPageClick(prompt, IDC_PASSWORD_OK);
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(again, 1, &sheet);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(PageItemText(page, IDC_SECURITY_SET_PASSWORD), "Change or reset pa&ssword...");
    EXPECT_EQ(PageItemText(page, IDC_SECURITY_DAYS), "30");
    EXPECT_EQ(PageItemText(page, IDC_SECURITY_FOLDER), myBackups);
    // The standard values take the password away and the standard folder back.
    ASSERT_TRUE(ClickPageButton(page, IDC_SECURITY_RESET));
    EXPECT_EQ(PageItemText(page, IDC_SECURITY_SET_PASSWORD), "&Set password...");
    EXPECT_EQ(PageItemText(page, IDC_SECURITY_FOLDER), install.Path() + "\\BACKUP");
    // Without a password they ask for none, so OK stays on.
    EXPECT_FALSE(Checked(page, IDC_SECURITY_PASSWORD_AT_START));
    EXPECT_FALSE(Checked(page, IDC_SECURITY_PROTECT_LOCKED));
    EXPECT_TRUE(SheetOkEnabled(sheet));
    ASSERT_TRUE(PressSheetCancel(sheet));
    CloseProgram(install, again);
}

TEST(SecuritySettingsPage, TheBackupFolderBrowserShowsTheFolderChosenOrWhyNotAtItsFoot)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    const DWORD id = program.ProcessId();
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(program, 1, &sheet);
    ASSERT_NE(page, nullptr);
    // Not in the temporary folder, which other test programs change all the
    // time while the browser finds its way down to it.
    TempFolder backups("backups", "C:\\");
    const std::string& folder = backups.Path();
    SetPageItemText(page, IDC_SECURITY_FOLDER, folder.c_str());
    PostPageClick(page, IDC_SECURITY_BROWSE);
    HWND browser = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (browser = FindTopWindowTitled("#32770", "Select the notes backup folder", id)) != nullptr;
    }));
    HWND tree = GetDlgItem(browser, kBrowserTree);
    HWND status = GetDlgItem(browser, kBrowserStatus);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(browser) && ReadWindowText(status) == folder; }))
        << ReadWindowText(status);
    LRESULT chosen = 0;
    EXPECT_TRUE(WaitUntil([&] { return SendWithTimeout(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, &chosen) && chosen; }));

    // The tree takes the top, in place of the title the caption repeats; the
    // status line sits below it, above OK and Cancel.
    RECT client{};
    GetClientRect(browser, &client);
    const RECT treePlace = PlaceIn(browser, tree);
    const RECT statusPlace = PlaceIn(browser, status);
    const RECT okPlace = PlaceIn(browser, GetDlgItem(browser, IDOK));
    HWND title = GetDlgItem(browser, kBrowserTitle);
    EXPECT_LT(treePlace.top, PlaceIn(browser, title).bottom);
    EXPECT_FALSE(IsWindowVisible(title));
    EXPECT_GE(statusPlace.top, treePlace.bottom);
    EXPECT_LE(statusPlace.bottom, okPlace.top);
    EXPECT_LE(statusPlace.bottom, client.bottom - 30);
    EXPECT_TRUE(IsWindowVisible(status));

    // A place that is no folder (the computer itself) is refused at the foot,
    // and a folder of the disk is offered again.
    const std::string refusal = "Sorry, this is an incorrect BACKUP location";
    LRESULT root = 0;
    ASSERT_TRUE(SendWithTimeout(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0, &root));
    LRESULT item = 0;
    SendWithTimeout(tree, TVM_GETNEXTITEM, TVGN_CHILD, root, &item);
    bool refused = false;
    for (int round = 0; round < 30 && item && !refused; ++round) {
        SendWithTimeout(tree, TVM_SELECTITEM, TVGN_CARET, item);
        refused = WaitUntil([&] { return ReadWindowText(status) == refusal; }, 500);
        if (!refused)
            SendWithTimeout(tree, TVM_GETNEXTITEM, TVGN_NEXT, item, &item);
    }
    EXPECT_TRUE(refused) << ReadWindowText(status);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(browser, IDOK)));
    SendWithTimeout(tree, TVM_SELECTITEM, TVGN_CARET, chosen);
    EXPECT_TRUE(WaitUntil([&] { return ReadWindowText(status) == folder; })) << ReadWindowText(status);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(browser, IDOK)));
    EXPECT_TRUE(SaveScreenshotOf(browser, "backup-folder-browser"));

    PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); }));
    ASSERT_TRUE(PressSheetCancel(sheet));
    CloseProgram(install, program);
}
