// The set-password dialog of the running program, opened from the Security
// page: OK waits for the new password typed twice alike, the new edits wait
// for the old password (or its code typed with "#"), both left empty remove
// the password, Cancel goes quietly, and OK keeps what the edits hold.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "SettingsSheetDriving.h"
#include "resources/ids/SecurityPageIds.h"
#include "resources/ids/SetPasswordIds.h"
#include "note/NoteController.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
// The password text of "secret".
const char kSecretText[] = "426897c0";

bool Enabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// Waits until the control is enabled (or not), as the dialog answers typing.
bool Becomes(HWND dialog, int id, bool enabled)
{
    return WaitUntil([&] { return Enabled(dialog, id) == enabled; });
}

void Press(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}
}

TEST(SetPasswordDialog, OkWaitsForTwoEqualEntriesAndTheOldPasswordAndKeepsWhatIsTyped)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    const DWORD id = program.ProcessId();
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(program, 1, &sheet);
    ASSERT_NE(page, nullptr);
    // Locked notes protected: a password is wanted.
    if (!Checked(page, IDC_SECURITY_PROTECT_LOCKED)) {
        ASSERT_TRUE(ClickPageButton(page, IDC_SECURITY_PROTECT_LOCKED));
    }
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_SECURITY_SET_PASSWORD)));

    // No password yet: no old one to type, OK off until both entries agree.
    HWND dialog = OpenSetPasswordDialog(id, sheet, page);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ReadWindowText(dialog), "Set password...");
    EXPECT_FALSE(Enabled(dialog, IDC_SET_PASSWORD_OLD));
    EXPECT_TRUE(Enabled(dialog, IDC_SET_PASSWORD_NEW));
    EXPECT_FALSE(Enabled(dialog, IDC_SET_PASSWORD_OK));
    EXPECT_EQ(ReadWindowText(GetDlgItem(dialog, IDC_SET_PASSWORD_LINK)), "Password Recovery Service");
    SetPageItemText(dialog, IDC_SET_PASSWORD_NEW, "secret");
    SetPageItemText(dialog, IDC_SET_PASSWORD_CONFIRM, "secre");
    EXPECT_FALSE(Enabled(dialog, IDC_SET_PASSWORD_OK));
    SetPageItemText(dialog, IDC_SET_PASSWORD_CONFIRM, "secret");
    EXPECT_TRUE(Becomes(dialog, IDC_SET_PASSWORD_OK, true));
    // Opened over the Settings sheet, it shows as itself.
    EXPECT_TRUE(ShowsReadably(dialog, "set-password-dialog"));
    // Help first (there is no help file here), then OK: the typed password is kept.
    Press(dialog, IDC_SET_PASSWORD_HELP);
    EXPECT_EQ(AnswerBoxOverSheet(id, sheet, IDOK, dialog), "Unable to activate help");
    PostMessageA(dialog, WM_COMMAND, IDC_SET_PASSWORD_OK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(PageItemText(page, IDC_SECURITY_SET_PASSWORD), "Change or reset pa&ssword...");

    // With a password the new entries wait for the old one, typed or as its code.
    dialog = OpenSetPasswordDialog(id, sheet, page);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ReadWindowText(dialog), "Change or reset password...");
    EXPECT_TRUE(Enabled(dialog, IDC_SET_PASSWORD_OLD));
    EXPECT_FALSE(Enabled(dialog, IDC_SET_PASSWORD_NEW));
    EXPECT_FALSE(Enabled(dialog, IDC_SET_PASSWORD_CONFIRM));
    SetPageItemText(dialog, IDC_SET_PASSWORD_OLD, "Secret");
    EXPECT_FALSE(Enabled(dialog, IDC_SET_PASSWORD_NEW));
    SetPageItemText(dialog, IDC_SET_PASSWORD_OLD, (std::string(kSecretText) + "#").c_str());
    EXPECT_TRUE(Becomes(dialog, IDC_SET_PASSWORD_NEW, true));
    EXPECT_TRUE(Enabled(dialog, IDC_SET_PASSWORD_CONFIRM));
    SetPageItemText(dialog, IDC_SET_PASSWORD_OLD, "wrong");
    EXPECT_TRUE(Becomes(dialog, IDC_SET_PASSWORD_NEW, false));
    // Cancel while the old password is wrong: the dialog goes without a word.
    Press(dialog, IDCANCEL);
    EXPECT_EQ(BoxOrClose(id, sheet, dialog), "");
    EXPECT_FALSE(IsWindow(dialog));

    // The right old password, then both new entries left empty: no password.
    dialog = OpenSetPasswordDialog(id, sheet, page);
    ASSERT_NE(dialog, nullptr);
    SetPageItemText(dialog, IDC_SET_PASSWORD_OLD, "secret");
    LeaveDialogEdit(dialog, IDC_SET_PASSWORD_OLD);
    ASSERT_TRUE(Becomes(dialog, IDC_SET_PASSWORD_OLD, false));
    EXPECT_TRUE(Enabled(dialog, IDC_SET_PASSWORD_NEW));
    EXPECT_FALSE(Enabled(dialog, IDC_SET_PASSWORD_OK));
    LeaveDialogEdit(dialog, IDC_SET_PASSWORD_CONFIRM);
    ASSERT_TRUE(Becomes(dialog, IDC_SET_PASSWORD_OK, true));
    PostMessageA(dialog, WM_COMMAND, IDC_SET_PASSWORD_OK, 0);
    EXPECT_EQ(BoxOrClose(id, sheet, dialog), "");
    EXPECT_EQ(PageItemText(page, IDC_SECURITY_SET_PASSWORD), "&Set password...");

    // Set once more and kept: the users table holds the code of what was typed.
    dialog = OpenSetPasswordDialog(id, sheet, page);
    ASSERT_NE(dialog, nullptr);
    SetPageItemText(dialog, IDC_SET_PASSWORD_NEW, "  secret ");
    SetPageItemText(dialog, IDC_SET_PASSWORD_CONFIRM, "secret");
    ASSERT_TRUE(Becomes(dialog, IDC_SET_PASSWORD_OK, true));
    PostMessageA(dialog, WM_COMMAND, IDC_SET_PASSWORD_OK, 0);
    EXPECT_EQ(BoxOrClose(id, sheet, dialog), "");
    ASSERT_TRUE(PressSheetOk(sheet));
    CloseProgram(install, program);
    const std::string users = install.File("users.QPD");
    EXPECT_EQ(StoredField(users, CurrentUserRecord(users), "SZ1"), kSecretText);
}

TEST(SetPasswordDialog, AKeyCodeTypedInCapitalsLocksANoteThatItsSmallLettersOpen)
{
    ProgramInstall install("keycode");
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        CNoteController note;
        FillTestNote(note, "Key code note", 60, 100);
        SaveNote(note);
    }
    {
        RunningProgram program(install, "");
        const DWORD id = program.ProcessId();
        HWND note = WaitForNoteWithText(id, "Key code note");
        ASSERT_NE(note, nullptr);
        HWND sheet = nullptr;
        HWND page = OpenSettingsPage(program, 1, &sheet);
        ASSERT_NE(page, nullptr);
        if (!Checked(page, IDC_SECURITY_PROTECT_LOCKED)) {
            ASSERT_TRUE(ClickPageButton(page, IDC_SECURITY_PROTECT_LOCKED));
        }
        HWND dialog = OpenSetPasswordDialog(id, sheet, page);
        ASSERT_NE(dialog, nullptr);
        SetPageItemText(dialog, IDC_SET_PASSWORD_NEW, "ABCD1234#");
        SetPageItemText(dialog, IDC_SET_PASSWORD_CONFIRM, "ABCD1234#");
        ASSERT_TRUE(Becomes(dialog, IDC_SET_PASSWORD_OK, true));
        PostMessageA(dialog, WM_COMMAND, IDC_SET_PASSWORD_OK, 0);
        EXPECT_EQ(BoxOrClose(id, sheet, dialog), "");
        ASSERT_TRUE(PressSheetOk(sheet));
        // The lock command.
        ASSERT_TRUE(SendWithTimeout(note, WM_COMMAND, 4088, 0));
        CloseProgram(install, program);
    }
    const std::string users = install.File("users.QPD");
    EXPECT_EQ(StoredField(users, CurrentUserRecord(users), "SZ1"), "abcd1234");

    RunningProgram program(install, "");
    const DWORD id = program.ProcessId();
    HWND prompt = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (prompt = FindTopWindowTitled("#32770", "  Quillnet+", id)) != nullptr; }));
    // The first prompt may be the start's own; each is answered alike.
    for (int round = 0; round < 2 && prompt; ++round) {
        SetPageItemText(prompt, 1125, "abcd1234#");
        PostMessageA(prompt, WM_COMMAND, MAKEWPARAM(1293, BN_CLICKED), 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
        WaitUntil([&] { return (prompt = FindTopWindowTitled("#32770", "  Quillnet+", id)) != nullptr; }, 2000);
    }
    EXPECT_NE(WaitForNoteWithText(id, "Key code note"), nullptr) << "opened with the small letters";
    CloseProgram(install, program);
}
