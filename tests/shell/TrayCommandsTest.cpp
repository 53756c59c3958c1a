// The tray icon and its menu as a user meets them: the menu opens beside the
// pointer (from the icon's own click with its bottom right corner there, or
// where it opened last), not over an open dialog of the program, which comes
// forward instead; a press on the icon let go there starts no drag; a hidden
// note chosen in "Show notes" comes back, and "Park desktop notes" puts the
// shown notes away and brings them back with the note used last in front;
// the menus' entries show their accelerator marks.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "foundation/DateTime.h"
#include "globals/MainWindowMessages.h"
#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "SettingsSheetDriving.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
const WPARAM kTrayIconId = 508;
const int kShowNotesItem = 4;
const char kShortText[] = "short";
const char kLongText[] = "a much longer hidden note";

const char kAlarmText[] = "Dentist";

// A note of the user with an alarm years ahead, written before the program starts.
void StoreTrayAlarmNote(const std::string& folder)
{
    CurrentFolder data(folder);
    NotesFreeSlots().Clear();
    CNoteController note;
    FillTestNote(note, kAlarmText, 500, 300);
    note.m_alarmSet = true;
    note.m_alarm = CDateTime(15, 3, 2035);
    SaveNote(note);
}

// The note's body shows its text: dark pixels in it.
bool ShowsText(HWND note)
{
    for (COLORREF pixel : ScreenPixels(RectOf(BodyOf(note))))
        if (IsDarkPixel(pixel))
            return true;
    return false;
}

bool Hide(HWND note)
{
    PostMessageA(note, WM_COMMAND, kNoteCmdHide, 0);
    return WaitUntil([&] { return !IsWindowVisible(note); });
}

bool TrayIsTopmost(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The tray menu's frame once it is shown, after the request was posted; the
// menu is closed again.
RECT TrayMenuRect(HWND main, DWORD process, UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageA(main, message, wParam, lParam);
    RECT rect{};
    if (HWND menu = WaitForOpenMenus(process, 1))
        rect = RectOf(menu);
    EXPECT_TRUE(CloseMenus(process));
    return rect;
}

// Where the two windows overlap, the screen shows the first (the note made
// topmost after the sheet opened covers it until the sheet comes forward).
::testing::AssertionResult ShownOver(HWND window, HWND other)
{
    RECT a = RectOf(window), b = RectOf(other), both{};
    if (!IntersectRect(&both, &a, &b))
        return ::testing::AssertionFailure() << "the windows do not overlap";
    const POINT inside{(both.left + both.right) / 2, (both.top + both.bottom) / 2};
    HWND shown = GetAncestor(WindowFromPoint(inside), GA_ROOT);
    if (shown == window)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "a window of class " << WindowClassOf(shown) << " is shown there";
}

// The screen shows the first window's colour where the two overlap, not the
// colour the second shows outside the overlap.
bool DrawnOver(HWND window, HWND other)
{
    RECT a = RectOf(window), b = RectOf(other), both{};
    if (!IntersectRect(&both, &a, &b))
        return false;
    const COLORREF otherColour = ScreenPixel({b.left + 10, b.bottom - 10});
    const COLORREF shown = ScreenPixel({both.left + 5, both.bottom - 5});
    return !CloseColour(shown, otherColour);
}

size_t OpenSheets(DWORD process)
{
    size_t count = 0;
    for (HWND dialog : TopWindowsOf(process, "#32770"))
        count += IsWindowVisible(dialog) && ReadWindowText(dialog) == "General settings..." ? 1 : 0;
    return count;
}
}

TEST(TrayCommands, TheMenuOpensWhereAskedAndNotOverAnOpenDialog)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ASSERT_EQ(NoteWindows(process).size(), 1u);
    HWND welcome = NoteWindows(process)[0];

    // Asked without a position mode, the menu's top left corner is 10 pixels
    // right of and above the pointer.
    SetCursorPos(400, 300);
    RECT menu = TrayMenuRect(main, process, kMsgOpenTrayMenu, 0, 0);
    EXPECT_EQ(menu.left, 410);
    EXPECT_EQ(menu.top, 290);
    // The icon's right click puts the bottom right corner there.
    SetCursorPos(600, 700);
    menu = TrayMenuRect(main, process, kMsgTrayCallback, kTrayIconId, WM_RBUTTONDOWN);
    EXPECT_EQ(menu.right, 610);
    EXPECT_EQ(menu.bottom, 690);
    // Position mode 2 opens it where it opened last, wherever the pointer is.
    SetCursorPos(200, 200);
    menu = TrayMenuRect(main, process, kMsgOpenTrayMenu, 2, 0);
    EXPECT_EQ(menu.right, 610);
    EXPECT_EQ(menu.bottom, 690);

    // A press on the icon that comes up on it is no drag: the pointer moved
    // afterwards with the button held is not followed.
    RECT welcomeRect = RectOf(welcome);
    const POINT press{welcomeRect.left + 40, welcomeRect.bottom - 20};
    SetCursorPos(press.x, press.y);
    PressLeftButton(true);
    ASSERT_TRUE(SendWithTimeout(main, kMsgTrayCallback, kTrayIconId, WM_LBUTTONDOWN));
    ASSERT_TRUE(SendWithTimeout(main, kMsgTrayCallback, kTrayIconId, WM_LBUTTONUP));
    SetCursorPos(press.x + 12, press.y + 12);
    EXPECT_FALSE(WaitUntil([&] { return CaptureOf(main) == main; }, 1500)) << "the released press started a drag";
    LetGoOfLeftButtonAside();
    if (CaptureOf(main) == main)
        SendWithTimeout(main, WM_LBUTTONUP, VK_ESCAPE, 0);

    // With the settings sheet open behind a note, the icon's right click
    // brings the sheet forward and opens no menu; General settings asked for
    // again opens no second sheet.
    PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
    HWND sheet = FindSettingsSheet(process);
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(SendWithTimeout(main, kMsgFocusNoteByWindow, 0, reinterpret_cast<LPARAM>(welcome)));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == welcome; }));
    EXPECT_TRUE(SendWithTimeout(main, kMsgTrayCallback, kTrayIconId, WM_RBUTTONDOWN, nullptr, 10000))
        << "the menu opened over the sheet";
    EXPECT_TRUE(OpenMenus(process).empty());
    EXPECT_TRUE(CloseMenus(process));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == sheet; }));
    EXPECT_TRUE(ShownOver(sheet, welcome));

    ASSERT_TRUE(SendWithTimeout(main, kMsgFocusNoteByWindow, 0, reinterpret_cast<LPARAM>(welcome)));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == welcome; }));
    EXPECT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdSettings, 0, nullptr, 10000)) << "a second sheet opened";
    EXPECT_EQ(OpenSheets(process), 1u);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == sheet; }));
    EXPECT_TRUE(ShownOver(sheet, welcome));
    RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    SendWithTimeout(sheet, WM_NULL, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return DrawnOver(sheet, welcome); }));
    ASSERT_TRUE(SaveScreenshot("tray-sheet-brought-forward"));

    // A double click on the icon meanwhile makes no note either.
    ASSERT_TRUE(SendWithTimeout(main, kMsgTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK, nullptr, 10000));
    EXPECT_EQ(NoteWindows(process).size(), 1u);

    for (HWND dialog : TopWindowsOf(process, "#32770")) {
        if (ReadWindowText(dialog) == "General settings...")
            PostMessageA(dialog, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }
    EXPECT_TRUE(WaitUntil([&] { return OpenSheets(process) == 0; }));
    CloseProgram(install, program);
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
}

TEST(TrayCommands, AHiddenNoteComesBackFromShowNotesAndParkingBringsBackWhatItPutAway)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    StoreTrayAlarmNote(install.Path());
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    HWND alarmed = WaitForNoteWithText(process, kAlarmText);
    ASSERT_NE(alarmed, nullptr);
    ASSERT_TRUE(Hide(alarmed));
    HWND welcome = nullptr;
    for (HWND note : NoteWindows(process))
        welcome = note != alarmed ? note : welcome;
    ASSERT_NE(welcome, nullptr);
    HWND shortNote = NewNoteFromCommandLine(install, process, kShortText);
    HWND longNote = NewNoteFromCommandLine(install, process, kLongText);
    ASSERT_NE(shortNote, nullptr);
    ASSERT_NE(longNote, nullptr);
    ASSERT_TRUE(Hide(shortNote));
    ASSERT_TRUE(Hide(longNote));

    // "Show notes" lists the hidden notes after its commands, newest first
    // (the alarm note, stored without a creation date, last); the second
    // entry, chosen with the keys, shows its note and no other.
    HWND showNotes = OpenTrayMenu(main, process, kShowNotesItem);
    ASSERT_NE(showNotes, nullptr);
    bool longListedSecond = false;
    {
        MenuPicture picture(showNotes, "i-iiiii-iii");
        ASSERT_TRUE(picture.Fits());
        EXPECT_TRUE(SaveScreenshotOf(showNotes, "tray-three-hidden-notes"));
        longListedSecond = DrawnAsWideAs(picture.TextEnd(7), kLongText);
        EXPECT_TRUE(longListedSecond || DrawnAsWideAs(picture.TextEnd(7), kShortText));
        EXPECT_TRUE(DrawnAsWideAs(picture.TextEnd(6), longListedSecond ? kShortText : kLongText));
        EXPECT_TRUE(DrawnAsWideAs(picture.TextEnd(8), kAlarmText));
    }
    PressMenuKey(showNotes, VK_UP);
    PressMenuKey(showNotes, VK_UP);
    PressMenuKey(showNotes, VK_RETURN);
    HWND second = longListedSecond ? longNote : shortNote;
    HWND first = longListedSecond ? shortNote : longNote;
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(second) != FALSE; })) << "the chosen hidden note is shown";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == second; }));
    ASSERT_TRUE(CloseMenus(process));
    EXPECT_FALSE(IsWindowVisible(first));

    // Parking puts the shown notes away (the alarm note, shown again, among
    // them); the hidden one stays hidden.
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdShowAlarmed, 0));
    ASSERT_TRUE(IsWindowVisible(alarmed));
    ASSERT_TRUE(SendWithTimeout(main, kMsgFocusNoteByWindow, 0, reinterpret_cast<LPARAM>(welcome)));
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdParkAll, 0));
    EXPECT_FALSE(IsWindowVisible(welcome));
    EXPECT_FALSE(IsWindowVisible(second));
    EXPECT_FALSE(IsWindowVisible(alarmed));
    EXPECT_FALSE(IsWindowVisible(first));
    // With a parked note the bulk commands refuse: nothing is shown.
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdShowAll, 0));
    EXPECT_FALSE(IsWindowVisible(welcome));
    // The parked alarm note is hidden meanwhile.
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdHideAlarmed, 0));

    // Parking again brings back the parked notes that are not hidden, and
    // the note used last comes forward, topmost.
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdParkAll, 0));
    EXPECT_TRUE(IsWindowVisible(welcome));
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_FALSE(IsWindowVisible(alarmed));
    EXPECT_FALSE(IsWindowVisible(first));
    HWND foreground = GetForegroundWindow();
    EXPECT_TRUE(foreground == welcome || foreground == second) << WindowClassOf(foreground);
    EXPECT_TRUE(TrayIsTopmost(foreground));
    EXPECT_TRUE(WaitUntil([&] { return ShowsText(welcome) && ShowsText(second); })) << "drawn without their texts";
    EXPECT_TRUE(SaveScreenshot("tray-notes-unparked"));

    // No note is left parked, the hidden alarm note neither: the bulk
    // commands work again.
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdShowAll, 0));
    EXPECT_TRUE(IsWindowVisible(first));
    EXPECT_TRUE(IsWindowVisible(alarmed));

    CloseProgram(install, program);
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
}

TEST(TrayCommands, TheMenusEntriesMarkTheirAccelerators)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    StoreTrayAlarmNote(install.Path());
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ASSERT_NE(WaitForNoteWithText(process, kAlarmText), nullptr);
    // A deleted note, so that "Undelete all notes" is not grayed.
    HWND deleted = NewNoteFromCommandLine(install, process, "deleted");
    ASSERT_NE(deleted, nullptr);
    ASSERT_TRUE(DeleteNoteWindow(deleted, process));

    HWND tray = OpenTrayMenu(main, process);
    ASSERT_NE(tray, nullptr);
    EXPECT_TRUE(ShowsAccelerators(tray, kTrayMenuLayout,
                                  {{5, "H&ide all notes"}, {6, "Hi&de alarmed notes      "}, {7, "A&rrange visible notes"}}));
    EXPECT_TRUE(SaveScreenshotOf(tray, "tray-menu-accelerators"));
    ASSERT_TRUE(CloseMenus(process));

    HWND undelete = OpenTrayMenu(main, process, 1);
    ASSERT_NE(undelete, nullptr);
    EXPECT_TRUE(ShowsAccelerators(undelete, "i-i", {{0, "Undelete all notes"}}));
    ASSERT_TRUE(CloseMenus(process));

    HWND showNotes = OpenTrayMenu(main, process, kShowNotesItem);
    ASSERT_NE(showNotes, nullptr);
    // The selection moves to the last entry, so the others show their texts dark.
    ASSERT_TRUE(MoveMenuSelectionOff(showNotes, VK_UP, "i-iiiii", 0));
    EXPECT_TRUE(ShowsAccelerators(showNotes, "i-iiiii",
                                  {{0, "All &notes"}, {1, "Bring &desktop notes to front"}, {3, "Show alar&med notes"}}));
    EXPECT_TRUE(SaveScreenshotOf(showNotes, "tray-show-notes-accelerators"));
    ASSERT_TRUE(CloseMenus(process));

    // Arrange visible notes, then its Cascade and Tile submenus.
    const int kArrangeItem = 7;
    for (int submenu = 0; submenu < 2; ++submenu) {
        HWND arrange = OpenTrayMenu(main, process, kArrangeItem);
        ASSERT_NE(arrange, nullptr);
        for (int step = 0; step < submenu; ++step)
            PressMenuKey(arrange, VK_DOWN);
        const std::vector<HWND> before = OpenMenus(process);
        PressMenuKey(arrange, VK_RIGHT);
        HWND orders = WaitForNewMenu(process, before);
        ASSERT_NE(orders, nullptr);
        // Nothing is selected in a submenu opened by the keys but its first entry.
        ASSERT_TRUE(MoveMenuSelectionOff(orders, VK_UP, "iiii", 0));
        EXPECT_TRUE(ShowsAccelerators(orders, "iiii",
                                      {{0, submenu == 0 ? "Cascade by date (ascending)" : "Tile by date (ascending)"},
                                       {1, "By title then date"},
                                       {2, "By colour then date"},
                                       {3, "By colour then title"}}));
        EXPECT_TRUE(SaveScreenshotOf(orders, submenu == 0 ? "tray-cascade-menu" : "tray-tile-menu"));
        ASSERT_TRUE(CloseMenus(process));
    }

    CloseProgram(install, program);
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
}
