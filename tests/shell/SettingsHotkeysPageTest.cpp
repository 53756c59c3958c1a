// The System-wide hotkeys page of the running program: a combination already
// in use is reported and kept, a hotkey switched off is let go at once, and
// both survive the program's end and a new start.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "SettingsSheetDriving.h"
#include "resources/ids/HotkeysPageIds.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
// Posted: a click may open a dialog or a box that waits for the test.
void ClickHotkeysPageButton(HWND page, int id)
{
    PostMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0);
}
}

TEST(SettingsHotkeysPage, AClashIsReportedAndKeptAndChangesTakeEffectAtOnceAndLater)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    {
        RunningProgram program(install, "");
        HWND sheet = nullptr;
        HWND page = OpenSettingsPage(program, 2, &sheet);
        ASSERT_NE(page, nullptr);

        EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_HOTKEYS_FIND_TEXT_KEYS)), " Alt+Shift+F");
        EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_HOTKEYS_PARK_DESKTOP_KEYS)), " Alt+Shift+P");
        ASSERT_TRUE(Checked(page, IDC_HOTKEYS_NEW_NOTE));
        ASSERT_TRUE(Checked(page, IDC_HOTKEYS_FIND_TEXT));
        ASSERT_TRUE(Checked(page, IDC_HOTKEYS_PARK_DESKTOP));
        EXPECT_FALSE(HotkeyCombinationIsFree(MOD_ALT | MOD_SHIFT, 'P')) << "the program holds its park hotkey";
        EXPECT_TRUE(SaveScreenshotOf(sheet, "settings-hotkeys-page"));

        // "New note" given the keys of "Find text": told, and kept.
        ClickHotkeysPageButton(page, IDC_HOTKEYS_NEW_NOTE_KEYS);
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (dialog = FindTopWindowTitled("#32770", "New note... ", program.ProcessId())); }));
        ChooseHotkey(dialog, false, true, true, "F");
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_EQ(AnswerBoxOverSheet(program.ProcessId(), sheet),
                  "The hotkey combination (Alt+Shift+F) you've selected for \r\n"
                  "  'New note' is already in use for the 'Find text' hotkey.\r\n\r\n"
                  " Please make sure that you choose different hotkey combinations.");
        EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_HOTKEYS_NEW_NOTE_KEYS)), " Alt+Shift+F");

        // A switched-off hotkey is no clash: "Find text" off, then "Park" given Alt+Shift+F.
        ClickHotkeysPageButton(page, IDC_HOTKEYS_FIND_TEXT);
        ASSERT_TRUE(WaitUntil([&] { return !Checked(page, IDC_HOTKEYS_FIND_TEXT); }));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_HOTKEYS_FIND_TEXT_KEYS)));
        ClickHotkeysPageButton(page, IDC_HOTKEYS_PARK_DESKTOP);
        ASSERT_TRUE(WaitUntil([&] { return !Checked(page, IDC_HOTKEYS_PARK_DESKTOP); }));

        // One click opened one dialog: none is left to hold the sheet open.
        EXPECT_EQ(FindTopWindowTitled("#32770", "New note... ", program.ProcessId()), nullptr);
        ASSERT_TRUE(PressSheetOk(sheet));
        EXPECT_TRUE(WaitUntil([] { return HotkeyCombinationIsFree(MOD_ALT | MOD_SHIFT, 'P'); }))
            << "a hotkey switched off is let go without a restart";
        // Every hotkey is let go before any is taken again, so the new keys
        // may come a moment after the old ones went.
        EXPECT_TRUE(WaitUntil([] { return !HotkeyCombinationIsFree(MOD_ALT | MOD_SHIFT, 'F'); }))
            << "the new note's new keys are held";
        CloseProgram(install, program);
    }
    RunningProgram again(install, "");
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(again, 2, &sheet);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_HOTKEYS_NEW_NOTE_KEYS)), " Alt+Shift+F");
    EXPECT_FALSE(Checked(page, IDC_HOTKEYS_FIND_TEXT));
    EXPECT_FALSE(Checked(page, IDC_HOTKEYS_PARK_DESKTOP));
    EXPECT_TRUE(Checked(page, IDC_HOTKEYS_NEW_NOTE));
    EXPECT_TRUE(HotkeyCombinationIsFree(MOD_ALT | MOD_SHIFT, 'P'));
    // The standard values switch every hotkey on again with its standard keys.
    ClickHotkeysPageButton(page, IDC_HOTKEYS_RESET);
    EXPECT_TRUE(WaitUntil([&] { return Checked(page, IDC_HOTKEYS_FIND_TEXT) && Checked(page, IDC_HOTKEYS_PARK_DESKTOP); }));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_HOTKEYS_PARK_DESKTOP_KEYS)));
    EXPECT_EQ(ReadWindowText(GetDlgItem(page, IDC_HOTKEYS_PARK_DESKTOP_KEYS)), " Alt+Shift+P");
    // Escape on a link closes the sheet as Cancel, and the reset is forgotten.
    PostMessageA(GetDlgItem(page, IDC_HOTKEYS_NEW_NOTE_KEYS), WM_CHAR, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    EXPECT_TRUE(HotkeyCombinationIsFree(MOD_ALT | MOD_SHIFT, 'P'));
    CloseProgram(install, again);
}
