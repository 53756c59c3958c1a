// The tray menu's commands on the notes as a user meets them: a hidden note
// chosen in "Show notes" comes back, and "Park desktop notes" puts the shown
// notes away and brings them back with the note used last in front.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "globals/MainWindowMessages.h"
#include "note/NoteMessages.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
const int kShowNotesItem = 4;
const char kShortText[] = "short";
const char kLongText[] = "a much longer hidden note";

bool Hide(HWND note)
{
    PostMessageA(note, WM_COMMAND, kNoteCmdHide, 0);
    return WaitUntil([&] { return !IsWindowVisible(note); });
}

bool IsTopmost(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}
}

TEST(TrayCommands, AHiddenNoteComesBackFromShowNotesAndParkingBringsBackWhatItPutAway)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ASSERT_EQ(NoteWindows(process).size(), 1u);
    HWND welcome = NoteWindows(process)[0];
    RunToEnd(install, std::string("/new \"") + kShortText + "\"");
    RunToEnd(install, std::string("/new \"") + kLongText + "\"");
    HWND shortNote = WaitForNoteWithText(process, kShortText);
    HWND longNote = WaitForNoteWithText(process, kLongText);
    ASSERT_NE(shortNote, nullptr);
    ASSERT_NE(longNote, nullptr);
    ASSERT_TRUE(Hide(shortNote));
    ASSERT_TRUE(Hide(longNote));

    // "Show notes" lists the two hidden notes after its commands; the last
    // entry, chosen with the keys, shows its note and no other.
    HWND showNotes = OpenTrayMenu(main, process, kShowNotesItem);
    ASSERT_NE(showNotes, nullptr);
    bool longListedSecond = false;
    {
        MenuPicture picture(showNotes, "i-iiiii-ii");
        ASSERT_TRUE(picture.Fits());
        EXPECT_TRUE(SaveScreenshotOf(showNotes, "tray-two-hidden-notes"));
        longListedSecond = DrawnAsWideAs(picture.TextEnd(7), kLongText);
        EXPECT_TRUE(longListedSecond || DrawnAsWideAs(picture.TextEnd(7), kShortText));
        EXPECT_TRUE(DrawnAsWideAs(picture.TextEnd(6), longListedSecond ? kShortText : kLongText));
    }
    PressMenuKey(showNotes, VK_UP);
    PressMenuKey(showNotes, VK_RETURN);
    HWND second = longListedSecond ? longNote : shortNote;
    HWND first = longListedSecond ? shortNote : longNote;
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(second) != FALSE; })) << "the chosen hidden note is shown";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == second; }));
    ASSERT_TRUE(CloseMenus(process));
    EXPECT_FALSE(IsWindowVisible(first));

    // Parking puts the shown notes away; the hidden one stays hidden.
    ASSERT_TRUE(SendWithTimeout(main, kMsgFocusNoteByWindow, 0, reinterpret_cast<LPARAM>(welcome)));
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdParkAll, 0));
    EXPECT_FALSE(IsWindowVisible(welcome));
    EXPECT_FALSE(IsWindowVisible(second));
    EXPECT_FALSE(IsWindowVisible(first));
    // With a parked note the bulk commands refuse: nothing is shown.
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdShowAll, 0));
    EXPECT_FALSE(IsWindowVisible(welcome));

    // Parking again brings back the parked notes, and the note used last
    // comes forward, topmost; the hidden note stays hidden.
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdParkAll, 0));
    EXPECT_TRUE(IsWindowVisible(welcome));
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_FALSE(IsWindowVisible(first));
    HWND foreground = GetForegroundWindow();
    EXPECT_TRUE(foreground == welcome || foreground == second) << WindowClassOf(foreground);
    EXPECT_TRUE(IsTopmost(foreground));

    // The notes back on the desktop no longer hold the bulk commands.
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdShowAll, 0));
    EXPECT_TRUE(IsWindowVisible(first));

    CloseProgram(install, program);
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
}
