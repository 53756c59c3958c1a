// The Note page of the running program's settings sheet: the texts it shows
// as its controls move, the Tab width it refuses, and what OK saves, which a
// new start shows again.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "SettingsSheetDriving.h"
#include "resources/ids/NotePageIds.h"
#include "globals/MainWindowMessages.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
const char kRefusedZero[] = "Please enter a value greater than zero";

std::string ThisYear()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return std::to_string(now.wYear);
}
}

TEST(NoteSettingsPage, ShowsItsTextsRefusesNoTabWidthAndKeepsWhatOkSaved)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    {
        RunningProgram program(install, "");
        HWND sheet = nullptr;
        HWND page = OpenSettingsPage(program, 0, &sheet);
        ASSERT_NE(page, nullptr);
        EXPECT_NE(GetWindowLongA(sheet, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "the sheet stays above the notes";

        // The auto-save interval: its ends and its text as the slider moves.
        EXPECT_EQ(PageItemText(page, IDC_NOTE_SAVE_MIN), "1");
        EXPECT_EQ(PageItemText(page, IDC_NOTE_SAVE_MAX), "15");
        EXPECT_EQ(MovePageSlider(page, IDC_NOTE_SAVE_SLIDER, 1), 1);
        EXPECT_EQ(PageItemText(page, IDC_NOTE_SAVE_INTERVAL), "1 minute");
        MovePageSlider(page, IDC_NOTE_SAVE_SLIDER, 2);
        EXPECT_EQ(PageItemText(page, IDC_NOTE_SAVE_INTERVAL), "2 minutes");
        MovePageSlider(page, IDC_NOTE_SAVE_SLIDER, 9);
        EXPECT_EQ(PageItemText(page, IDC_NOTE_SAVE_INTERVAL), "9 minutes");

        // The date preview follows the format and the time switch.
        ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_DATE_DEFAULT));
        const std::string programDate = PageItemText(page, IDC_NOTE_DATE_PREVIEW);
        EXPECT_NE(programDate.find(ThisYear()), std::string::npos) << programDate;
        ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_DATE_LONG));
        EXPECT_TRUE(Checked(page, IDC_NOTE_DATE_LONG));
        EXPECT_NE(PageItemText(page, IDC_NOTE_DATE_PREVIEW), programDate);
        if (Checked(page, IDC_NOTE_INCLUDE_TIME)) {
            ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_INCLUDE_TIME));
        }
        const std::string longDate = PageItemText(page, IDC_NOTE_DATE_PREVIEW);
        ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_INCLUDE_TIME));
        const std::string withTime = PageItemText(page, IDC_NOTE_DATE_PREVIEW);
        EXPECT_EQ(withTime.rfind(longDate + ", ", 0), 0u) << withTime;
        EXPECT_GT(withTime.size(), longDate.size() + 3);

        // The Tab width takes one digit, which replaces the value.
        HWND tabWidth = GetDlgItem(page, IDC_NOTE_TAB_WIDTH);
        SetPageItemText(page, IDC_NOTE_TAB_WIDTH, "4");
        SendWithTimeout(tabWidth, EM_SETSEL, 1, 1);
        TypeCharacter(tabWidth, '7');
        EXPECT_EQ(PageItemText(page, IDC_NOTE_TAB_WIDTH), "7");
        TypeCharacter(tabWidth, 'x');
        EXPECT_EQ(PageItemText(page, IDC_NOTE_TAB_WIDTH), "7") << "a letter is refused";
        // No width is refused when the page is left or OK pressed.
        SetPageItemText(page, IDC_NOTE_TAB_WIDTH, "");
        PostMessageA(sheet, PSM_SETCURSEL, 1, 0);
        EXPECT_EQ(AnswerBoxOverSheet(program.ProcessId(), sheet), kRefusedZero);
        EXPECT_EQ(CurrentSettingsPage(sheet), page) << "the page stays";
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        EXPECT_EQ(AnswerBoxOverSheet(program.ProcessId(), sheet), kRefusedZero);
        EXPECT_TRUE(IsWindow(sheet));
        // A width changed with the arrows alone is what OK takes.
        SetPageItemText(page, IDC_NOTE_TAB_WIDTH, "2");
        PressKey(tabWidth, VK_UP);
        EXPECT_EQ(PageItemText(page, IDC_NOTE_TAB_WIDTH), "3");

        // The title-bar button is switched by its texts and picture too.
        const bool titleButton = Checked(page, IDC_NOTE_TITLE_BUTTON);
        SendWithTimeout(page, WM_COMMAND, MAKEWPARAM(IDC_NOTE_BUTTON_TEXT, STN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_NOTE_BUTTON_TEXT)));
        EXPECT_NE(Checked(page, IDC_NOTE_TITLE_BUTTON), titleButton);
        SendWithTimeout(page, WM_COMMAND, MAKEWPARAM(IDC_NOTE_BUTTON_CLASSIC, STN_DBLCLK),
                        reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_NOTE_BUTTON_CLASSIC)));
        EXPECT_EQ(Checked(page, IDC_NOTE_TITLE_BUTTON), titleButton);
        ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_TITLE_BUTTON));

        // The standard values leave the menu look as it was.
        const bool xpMenus = Checked(page, IDC_NOTE_XP_MENUS);
        ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_XP_MENUS));
        ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_RESET));
        EXPECT_NE(Checked(page, IDC_NOTE_XP_MENUS), xpMenus);
        EXPECT_EQ(PageItemText(page, IDC_NOTE_TAB_WIDTH), "2");
        EXPECT_EQ(Checked(page, IDC_NOTE_TITLE_BUTTON), titleButton);

        // The values OK is to save.
        MovePageSlider(page, IDC_NOTE_SAVE_SLIDER, 9);
        ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_DATE_LONG));
        if (!Checked(page, IDC_NOTE_INCLUDE_TIME)) {
            ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_INCLUDE_TIME));
        }
        ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_TITLE_BUTTON));
        ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_QUICK_LAUNCH));
        ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_NEAR_CURSOR));
        PressKey(tabWidth, VK_UP);
        EXPECT_TRUE(SaveScreenshotOf(sheet, "settings-note-page"));
        const bool quickLaunch = Checked(page, IDC_NOTE_QUICK_LAUNCH);
        const bool nearCursor = Checked(page, IDC_NOTE_NEAR_CURSOR);
        ASSERT_TRUE(PressSheetOk(sheet));
        CloseProgram(install, program);

        const DWORD user = CurrentUserRecord(install.File("users.QPD"));
        ASSERT_NE(user, 0u);
        EXPECT_EQ(StoredField(install.File("users.QPD"), user, "WSAVEINT"), "9");
        EXPECT_EQ(StoredField(install.File("users.QPD"), user, "DISPLRETRY"), "3");
        EXPECT_EQ(StoredField(install.File("users.QPD"), user, "DATEFORMAT"), "3");
        EXPECT_EQ(StoredField(install.File("users.QPD"), user, "BSENT"), "T");
        EXPECT_EQ(StoredField(install.File("config.QPD"), 1, "DISPLRETRY"), xpMenus ? "1" : "2");
        EXPECT_EQ(StoredField(install.File("config.QPD"), 1, "BHSCROLL"), titleButton ? "F" : "T");
        EXPECT_EQ(StoredField(install.File("config.QPD"), 1, "BRECEIVED1"), quickLaunch ? "T" : "F");
        EXPECT_EQ(StoredField(install.File("config.QPD"), 1, "BSENT1"), nearCursor ? "T" : "F");
    }

    // The next start shows what was saved.
    RunningProgram again(install, "");
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(again, 0, &sheet);
    ASSERT_NE(page, nullptr);
    LRESULT interval = 0;
    SendWithTimeout(GetDlgItem(page, IDC_NOTE_SAVE_SLIDER), TBM_GETPOS, 0, 0, &interval);
    EXPECT_EQ(interval, 9);
    EXPECT_EQ(PageItemText(page, IDC_NOTE_SAVE_INTERVAL), "9 minutes");
    EXPECT_EQ(PageItemText(page, IDC_NOTE_TAB_WIDTH), "3");
    EXPECT_TRUE(Checked(page, IDC_NOTE_DATE_LONG));
    EXPECT_TRUE(Checked(page, IDC_NOTE_INCLUDE_TIME));
    ASSERT_TRUE(PressSheetCancel(sheet));
    CloseProgram(install, again);
}
