// The Sounds page of the running program's settings sheet: the alarm's repeat
// snapping to steps of ten seconds with its texts, the choices of each event,
// a custom file chosen in the Open dialog and reported once it has gone, and
// what OK saves in the sounds table.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "SettingsSheetDriving.h"
#include "resources/ids/SoundsPageIds.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "store/TableText.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
// Chooses the event in the list as a click does.
void SelectEvent(HWND page, int index, bool wait = true)
{
    HWND list = GetDlgItem(page, IDC_SOUNDS_EVENTS);
    SendWithTimeout(list, LB_SETCURSEL, index, 0);
    const WPARAM command = MAKEWPARAM(IDC_SOUNDS_EVENTS, LBN_SELCHANGE);
    if (wait)
        SendWithTimeout(page, WM_COMMAND, command, reinterpret_cast<LPARAM>(list));
    else
        PostMessageA(page, WM_COMMAND, command, reinterpret_cast<LPARAM>(list));
}

bool EnabledOnPage(HWND page, int id)
{
    return IsWindowEnabled(GetDlgItem(page, id)) != FALSE;
}

struct StoredSound {
    long type = 0;
    long replay = 0;
    std::string enabled;
    std::string path;
};

// The user's sounds in the table, by kind.
std::map<long, StoredSound> StoredSounds(const std::string& file, DWORD user)
{
    std::map<long, StoredSound> sounds;
    CDbfFile table;
    table.SetTable(file.c_str(), true);
    table.Open("READ");
    const DWORD count = table.GetRecordCount();
    for (DWORD record = 1; record <= count; ++record) {
        table.GoTo(record);
        if (ReadNumber(table, "WUSERID") != static_cast<long>(user))
            continue;
        StoredSound& sound = sounds[ReadNumber(table, "WID")];
        sound.type = ReadNumber(table, "WTYPE");
        sound.replay = ReadNumber(table, "WREPLAY");
        sound.enabled = ReadTrimmedText(table, "BENABLED");
        sound.path = ReadTrimmedText(table, "SZPATH");
    }
    table.Close();
    return sounds;
}
}

TEST(SoundsSettingsPage, SnapsTheRepeatReportsAGoneFileAndSavesEachEventsSound)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    const std::string bell = install.File("bell.wav");
    std::ofstream(bell, std::ios::binary) << "RIFF";
    {
        RunningProgram program(install, "");
        const DWORD id = program.ProcessId();
        HWND sheet = nullptr;
        HWND page = OpenSettingsPage(program, 3, &sheet);
        ASSERT_NE(page, nullptr);
        LRESULT events = 0;
        SendWithTimeout(GetDlgItem(page, IDC_SOUNDS_EVENTS), LB_GETCOUNT, 0, 0, &events);
        EXPECT_EQ(events, 4);
        EXPECT_EQ(PageItemText(page, IDC_SOUNDS_TEST), " Test sound ");
        EXPECT_EQ(PageItemText(page, IDC_SOUNDS_BROWSE), " Browse... ");

        // The alarm's repeat comes in steps of ten seconds.
        const struct {
            int dragged, snapped;
            const char* text;
        } repeats[] = {
            {64, 60, "Repeat sound after  1 minute"},   {4, 0, "Repeat sound after 0 seconds"},
            {0, 0, "No repeat, play alarm sound just once "}, {120, 120, "Repeat sound after  2 minutes"},
            {35, 40, "Repeat sound after 40 seconds"},  {31, 30, "Repeat sound after 30 seconds"},
        };
        for (const auto& repeat : repeats) {
            EXPECT_EQ(MovePageSlider(page, IDC_SOUNDS_REPEAT_SLIDER, repeat.dragged), repeat.snapped);
            EXPECT_EQ(PageItemText(page, IDC_SOUNDS_REPEAT_TEXT), repeat.text) << repeat.dragged;
        }

        // Only the alarm repeats; no sound leaves nothing to test.
        SelectEvent(page, 1);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_SOUNDS_REPEAT_SLIDER)));
        ASSERT_TRUE(ClickPageButton(page, IDC_SOUNDS_NONE));
        EXPECT_FALSE(EnabledOnPage(page, IDC_SOUNDS_TEST));
        EXPECT_FALSE(EnabledOnPage(page, IDC_SOUNDS_BROWSE));

        // A custom file chosen in the Open dialog.
        // The standard file the event had is not there to play.
        SelectEvent(page, 3);
        PostPageClick(page, IDC_SOUNDS_CUSTOM);
        const char* const missingFile = "The sound file does not exist\r\nOr the file path is wrong";
        EXPECT_EQ(AnswerBoxOverSheet(id, sheet), missingFile);
        EXPECT_TRUE(EnabledOnPage(page, IDC_SOUNDS_BROWSE));
        PostPageClick(page, IDC_SOUNDS_BROWSE);
        HWND open = FindOtherDialog(id, sheet);
        ASSERT_NE(open, nullptr);
        EXPECT_EQ(ReadWindowText(open), "Select a sound file");
        HWND name = GetDlgItem(open, 0x47C) ? GetDlgItem(open, 0x47C) : GetDlgItem(open, 0x480);
        SendWithTimeout(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(bell.c_str()));
        PostPageClick(open, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open); }));
        EXPECT_EQ(PageItemText(page, IDC_SOUNDS_PATH), bell);
        EXPECT_TRUE(Checked(page, IDC_SOUNDS_CUSTOM));
        // Gone since it was chosen: shown again, it is reported.
        ASSERT_TRUE(DeleteFileA(bell.c_str()));
        SelectEvent(page, 1);
        SelectEvent(page, 3, false);
        EXPECT_EQ(AnswerBoxOverSheet(id, sheet), missingFile);

        // The standard values change only the event shown.
        SelectEvent(page, 2);
        ASSERT_TRUE(ClickPageButton(page, IDC_SOUNDS_BEEP));
        EXPECT_FALSE(EnabledOnPage(page, IDC_SOUNDS_PATH));
        ASSERT_TRUE(ClickPageButton(page, IDC_SOUNDS_RESET));
        EXPECT_TRUE(Checked(page, IDC_SOUNDS_DEFAULT));
        EXPECT_EQ(PageItemText(page, IDC_SOUNDS_PATH), install.File("startchat.wav"));
        SelectEvent(page, 0);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, IDC_SOUNDS_REPEAT_SLIDER)));
        EXPECT_EQ(PageItemText(page, IDC_SOUNDS_REPEAT_TEXT), "Repeat sound after 30 seconds");
        EXPECT_TRUE(SaveScreenshotOf(sheet, "settings-sounds-page"));
        ASSERT_TRUE(PressSheetOk(sheet));
        CloseProgram(install, program);

        const DWORD user = CurrentUserRecord(install.File("users.QPD"));
        ASSERT_NE(user, 0u);
        std::map<long, StoredSound> sounds = StoredSounds(install.File("sounds.QPD"), user);
        ASSERT_EQ(sounds.size(), 4u);
        EXPECT_EQ(sounds[1].replay, 30);
        EXPECT_EQ(sounds[2].type, 1);
        EXPECT_EQ(sounds[2].enabled, "F");
        EXPECT_EQ(sounds[3].type, 3);
        EXPECT_EQ(sounds[3].path, install.File("startchat.wav"));
        EXPECT_EQ(sounds[4].type, 4);
        EXPECT_EQ(sounds[4].path, bell);
    }

    // The next start shows the saved repeat.
    RunningProgram again(install, "");
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(again, 3, &sheet);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(PageItemText(page, IDC_SOUNDS_REPEAT_TEXT), "Repeat sound after 30 seconds");
    ASSERT_TRUE(PressSheetCancel(sheet));
    CloseProgram(install, again);
}
