// The calendar settings dialog of the running program, driven from outside:
// its controls, its preview, its style buttons, and what Cancel leaves in the
// calendar and its settings file.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "CalendarDriving.h"
#include "calendar/controls/CalendarMessages.h"
#include "foundation/bytes/NoteColors.h"
#include "resources/ids/CalendarIds.h"
#include "resources/ids/CalendarSettingsIds.h"
#include "resources/ids/TrayMenuIds.h"
#include "support/HotkeyDriving.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/PictureFiles.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/TempFolder.h"

namespace {
const char kCalendarSettingsTitle[] = "Quillnet+ calendar settings";
const UINT kSettingsCommand = IDM_CAL_SETTINGS;

HWND OpenSettings(const RunningProgram& program, HWND calendar)
{
    PostMessageA(calendar, WM_COMMAND, kSettingsCommand, 0);
    HWND dialog = nullptr;
    WaitUntil([&] {
        dialog = FindTopWindowTitled("#32770", kCalendarSettingsTitle, program.ProcessId());
        return dialog && IsWindowVisible(dialog);
    });
    return dialog;
}

// A click as the control tells the dialog; back once the dialog has handled it.
void Click(HWND dialog, int id)
{
    SendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Checked(HWND dialog, int id)
{
    LRESULT state = 0;
    SendWithTimeout(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, &state);
    return state == BST_CHECKED;
}

// The check box clicked as the user clicks it: its state turns, the dialog hears.
void Toggle(HWND dialog, int id)
{
    SendWithTimeout(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// The trackbar moved to the position as the user drags it there.
std::string MoveTransparency(HWND dialog, int position, LRESULT* shown)
{
    HWND bar = GetDlgItem(dialog, IDC_CALSET_TRANSPARENCY);
    SendWithTimeout(bar, TBM_SETPOS, TRUE, position);
    SendWithTimeout(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(bar));
    SendWithTimeout(bar, TBM_GETPOS, 0, 0, shown);
    return ReadWindowText(GetDlgItem(dialog, IDC_CALSET_TRANSPARENCY_LABEL));
}

// The preview's column of day 1, from the empty cells before it.
int ColumnOfFirstDay(HWND dialog)
{
    for (int index = 0; index < 7; ++index) {
        LRESULT empty = 0;
        SendWithTimeout(GetDlgItem(dialog, IDC_CAL_DAY + index), kMsgIsEmptyDayCell, 0, 0, &empty);
        if (!empty)
            return index;
    }
    return -1;
}

LRESULT BackgroundKind(HWND dialog)
{
    LRESULT selected = -1;
    SendWithTimeout(GetDlgItem(dialog, IDC_CALSET_BACKGROUND), CB_GETCURSEL, 0, 0, &selected);
    return selected;
}

// A point of the preview's background under the days, in the dialog's client area.
LPARAM BackgroundPoint(HWND dialog)
{
    RECT frame;
    GetWindowRect(GetDlgItem(dialog, IDC_CALSET_PREVIEW), &frame);
    POINT point = {frame.left + 6, frame.bottom - 5};
    ScreenToClient(dialog, &point);
    return MAKELPARAM(point.x, point.y);
}

// The window in the foreground, once its program has taken the activation.
bool Activate(HWND window)
{
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window && SendWithTimeout(window, WM_NULL, 0, 0); });
}

// The same, and above the others where it lies.
bool BringForward(HWND window)
{
    return Activate(window) && WaitUntil([&] {
               RECT frame;
               GetWindowRect(window, &frame);
               HWND middle = WindowFromPoint({(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2});
               return middle && GetAncestor(middle, GA_ROOT) == window;
           });
}

// Another window takes the activation, once the calendar has handled losing it.
bool ActivateAwayFrom(HWND calendar, HWND other)
{
    return Activate(other) && SendWithTimeout(calendar, WM_NULL, 0, 0);
}

bool OnTop(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The style button's menu, opened by the right button released on it. The
// menu opens where the button is told the button was released: here just
// under the dialog, where neither the dialog nor the calendar behind it can
// come over it while the program is still raising them. The pointer waits in
// a corner, so that it lights up no item of the menu.
HWND OpenStyleMenu(const RunningProgram& program, HWND dialog, int id)
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    HWND button = GetDlgItem(dialog, id);
    RECT frame;
    GetWindowRect(dialog, &frame);
    POINT below = {frame.left, frame.bottom + 2};
    ScreenToClient(button, &below);
    PostMessageA(button, WM_RBUTTONUP, 0, MAKELPARAM(12, below.y));
    return WaitForOpenMenus(program.ProcessId(), 1);
}

COLORREF ScreenPixel(int x, int y)
{
    const std::vector<COLORREF> pixels = ScreenPixels(RECT{x, y, x + 1, y + 1});
    return pixels.empty() ? CLR_INVALID : pixels[0];
}

// The thumbnail's pixel from its top-left corner (4 pixels into the button),
// once the screen shows the colour; the last colour seen otherwise.
COLORREF ThumbnailPixel(HWND dialog, int id, int x, int y, COLORREF expected)
{
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    COLORREF seen = CLR_INVALID;
    WaitUntil([&] { return (seen = ScreenPixel(rect.left + 4 + x, rect.top + 4 + y)) == expected; });
    return seen;
}

// The installed data files with a grey picture as the black marble texture.
void AddBlackMarbleInstall(ProgramInstall& install)
{
    install.AddInstalledDataFiles();
    CreateDirectoryA(install.File("TEXTURES").c_str(), nullptr);
    WriteWholeFile(install.File("TEXTURES\\blackmarble.jpg"), GreyJpeg24x16());
}

void CloseCalendarAndProgram(const ProgramInstall& install, RunningProgram& program, HWND calendar)
{
    EXPECT_TRUE(SendWithTimeout(calendar, WM_CLOSE, 0, 0));
    CloseProgram(install, program);
}
}

TEST(CalendarSettingsDialog, ControlsAndPreviewFollowEachChangeAndCancelLeavesEverything)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RECT place = {};
    {
        RunningProgram program(install, "");
        HWND calendar = OpenCalendar(program);
        ASSERT_NE(calendar, nullptr);
        GetWindowRect(calendar, &place);
        CloseCalendarAndProgram(install, program, calendar);
    }
    const std::string before = ReadWholeFile(install.File("calendar.QPD"));

    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    HWND dialog = OpenSettings(program, calendar);
    ASSERT_NE(dialog, nullptr);
    // The standard options: the locale's week starts on Sunday, one month.
    EXPECT_TRUE(Checked(dialog, IDC_CALSET_SUNDAY));
    EXPECT_TRUE(Checked(dialog, IDC_CALSET_ONE_MONTH));
    EXPECT_TRUE(Checked(dialog, IDC_CALSET_GRID));
    EXPECT_EQ(ReadWindowText(GetDlgItem(dialog, IDC_CALSET_HOTKEY)), " Alt+Shift+T");

    // The label shows the position rounded to tens, and the thumb follows.
    LRESULT shown = -1;
    EXPECT_EQ(MoveTransparency(dialog, 33, &shown), "&Transparency         (30%)");
    EXPECT_EQ(shown, 30);
    EXPECT_EQ(MoveTransparency(dialog, 37, &shown), "&Transparency         (40%)");
    EXPECT_EQ(shown, 40);
    EXPECT_EQ(MoveTransparency(dialog, 35, &shown), "&Transparency         (35%)");
    EXPECT_EQ(shown, 35);
    EXPECT_EQ(MoveTransparency(dialog, 0, &shown), "&Transparency         (0%)");

    // Without the neighbouring days the empty cells show where day 1 stands:
    // a week from Monday puts it one column further left.
    Toggle(dialog, IDC_CALSET_OTHER_DAYS);
    const int sundayColumn = ColumnOfFirstDay(dialog);
    ASSERT_GE(sundayColumn, 0);
    Click(dialog, IDC_CALSET_MONDAY);
    EXPECT_EQ(ColumnOfFirstDay(dialog), (sundayColumn + 6) % 7);
    // The months shown do not change the preview's month.
    const std::string title = ReadWindowText(GetDlgItem(dialog, IDC_CAL_TITLE));
    EXPECT_FALSE(title.empty());
    SendWithTimeout(GetDlgItem(dialog, IDC_CALSET_FOUR_MONTHS), BM_CLICK, 0, 0);
    EXPECT_EQ(ReadWindowText(GetDlgItem(dialog, IDC_CAL_TITLE)), title);
    EXPECT_EQ(ColumnOfFirstDay(dialog), (sundayColumn + 6) % 7);

    // Ctrl+click on the background steps through the gradients.
    EXPECT_EQ(BackgroundKind(dialog), 0);
    const LPARAM background = BackgroundPoint(dialog);
    for (LRESULT kind : {1, 2, 3, 0}) {
        PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, background);
        PostMessageA(dialog, WM_LBUTTONUP, MK_CONTROL, background);
        EXPECT_TRUE(WaitUntil([&] { return BackgroundKind(dialog) == kind; })) << kind;
    }
    EXPECT_TRUE(SaveScreenshotOf(dialog, "calendar-settings-monday-first"));
    for (int id : {IDC_CALSET_ON_TOP, IDC_CALSET_BORDER, IDC_CALSET_GRID, IDC_CALSET_ROLL_UP, IDC_CALSET_ALARM_BOLD,
                   IDC_CALSET_AUTO_RESIZE})
        Toggle(dialog, id);
    MoveTransparency(dialog, 50, &shown);

    Click(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    RECT after;
    GetWindowRect(calendar, &after);
    EXPECT_TRUE(EqualRect(&after, &place));
    // Not on top, also once another window has taken the activation.
    const std::vector<HWND> notes = NoteWindows(program.ProcessId());
    ASSERT_FALSE(notes.empty());
    ASSERT_TRUE(ActivateAwayFrom(calendar, notes[0]));
    EXPECT_FALSE(OnTop(calendar));
    CloseCalendarAndProgram(install, program, calendar);
    EXPECT_EQ(ReadWholeFile(install.File("calendar.QPD")), before);
}

TEST(CalendarSettingsDialog, AHotkeyOfAnotherActionIsNamedAndKept)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    HWND dialog = OpenSettings(program, calendar);
    ASSERT_NE(dialog, nullptr);
    HWND button = GetDlgItem(dialog, IDC_CALSET_HOTKEY);
    auto openKeys = [&] {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CALSET_HOTKEY, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        HWND keys = nullptr;
        WaitUntil([&] { return (keys = FindTopWindowTitled("#32770", "Calendar...", program.ProcessId())) != nullptr; });
        return keys;
    };

    // Cancel changes nothing and warns of nothing.
    HWND keys = openKeys();
    ASSERT_NE(keys, nullptr);
    // Opened over the calendar's settings, it shows as itself.
    EXPECT_TRUE(ShowsReadably(keys, "calendar-hotkey-dialog"));
    PostMessageA(keys, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(keys); }));
    SendWithTimeout(dialog, WM_NULL, 0, 0);
    EXPECT_EQ(FindTopWindowTitled("#32770", "Quillnet+", program.ProcessId()), nullptr);
    EXPECT_EQ(ReadWindowText(button), " Alt+Shift+T");

    // The calendar's own keys again: no warning.
    keys = openKeys();
    ASSERT_NE(keys, nullptr);
    ChooseHotkey(keys, false, true, true, "T");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(keys); }));
    SendWithTimeout(dialog, WM_NULL, 0, 0);
    EXPECT_EQ(FindTopWindowTitled("#32770", "Quillnet+", program.ProcessId()), nullptr);

    // The Note Manager's keys: the user is told, and they stay chosen.
    keys = openKeys();
    ASSERT_NE(keys, nullptr);
    ChooseHotkey(keys, false, true, true, "M");
    const ShownMessageBox box = WaitForMessageBox(program.ProcessId(), kDriverWaitMs, "Quillnet+");
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.text, "The hotkey combination (Alt+Shift+M) you've selected for \r\n  'Calendar' is already in use for "
                        "the 'Note Manager' hotkey.\r\n\r\n Please make sure that you choose different hotkey "
                        "combinations.");
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    EXPECT_EQ(ReadWindowText(button), " Alt+Shift+M");

    // Without the check box the keys cannot be chosen.
    Toggle(dialog, IDC_CALSET_HOTKEY_ON);
    EXPECT_FALSE(IsWindowEnabled(button));
    Click(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_FALSE(HotkeyCombinationIsFree(MOD_ALT | MOD_SHIFT, 'T'));

    // Keys of their own, kept by OK: the calendar holds them at once and lets
    // the old ones go.
    dialog = OpenSettings(program, calendar);
    ASSERT_NE(dialog, nullptr);
    button = GetDlgItem(dialog, IDC_CALSET_HOTKEY);
    keys = openKeys();
    ASSERT_NE(keys, nullptr);
    ChooseHotkey(keys, true, true, false, "K");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(keys); }));
    EXPECT_EQ(ReadWindowText(button), " Ctrl+Alt+K");
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(WaitUntil([] { return HotkeyCombinationIsFree(MOD_ALT | MOD_SHIFT, 'T'); }));
    EXPECT_FALSE(HotkeyCombinationIsFree(MOD_CONTROL | MOD_ALT, 'K'));
    CloseCalendarAndProgram(install, program, calendar);
    EXPECT_EQ(CalendarFile(install.File("calendar.QPD")).Option(1, "hotkeyKey"), "75");
}

TEST(CalendarSettingsDialog, AStyleSavedIsTheUsersAtOnceAndShowsOnItsButton)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    const int second = IDC_CALSET_STYLE_1 + 1;
    {
        RunningProgram program(install, "");
        HWND calendar = OpenCalendar(program);
        ASSERT_NE(calendar, nullptr);
        HWND dialog = OpenSettings(program, calendar);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(BringForward(dialog));
        // Just reset, a style can be undone but not reset again.
        ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, second), WM_COMMAND, ID_CALSTYLE_RESET, 0));
        HWND menu = OpenStyleMenu(program, dialog, second);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(MenuShows(menu, "ii-i", {true, false, true}));
        ASSERT_TRUE(CloseMenus(program.ProcessId()));
        SendWithTimeout(dialog, WM_NULL, 0, 0);
        ASSERT_TRUE(IsWindow(dialog));

        // Saved with the window on top: the thumbnail gets the red border.
        Toggle(dialog, IDC_CALSET_ON_TOP);
        ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, second), WM_COMMAND, ID_CALSTYLE_SAVE, 0));
        SendWithTimeout(dialog, WM_NULL, 0, 0);
        ASSERT_TRUE(SaveScreenshotOf(dialog, "calendar-settings-style-saved"));
        const COLORREF red = RGB(255, 0, 0);
        for (POINT at : {POINT{0, 0}, POINT{7, 5}, POINT{7, 14}, POINT{0, 9}, POINT{14, 9}})
            EXPECT_EQ(ThumbnailPixel(dialog, second, at.x, at.y, red), red) << at.x << "," << at.y;
        // Caption strip and grid of the standard options.
        for (const auto& [at, colour] : {std::pair<POINT, COLORREF>{{7, 2}, 0xFECBA0},
                                         {{5, 8}, GetBackgroundTint(0x800000)},
                                         {{3, 8}, 0xFFE8D9}})
            EXPECT_EQ(ThumbnailPixel(dialog, second, at.x, at.y, colour), colour) << at.x << "," << at.y;

        menu = OpenStyleMenu(program, dialog, second);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(MenuShows(menu, "ii-i", {true, true, true}));
        ASSERT_TRUE(CloseMenus(program.ProcessId()));
        Click(dialog, IDCANCEL);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        CloseCalendarAndProgram(install, program, calendar);
    }
    // Kept after Cancel; the calendar's own options are untouched.
    CalendarFile file(install.File("calendar.QPD"));
    EXPECT_EQ(file.Style(1, 1, "stayOnTop"), "1");
    EXPECT_EQ(file.Option(1, "stayOnTop"), "0");
    EXPECT_EQ(file.Style(1, 2, "stayOnTop"), "0");

    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    HWND dialog = OpenSettings(program, calendar);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(BringForward(dialog));
    EXPECT_EQ(ThumbnailPixel(dialog, second, 7, 5, RGB(255, 0, 0)), RGB(255, 0, 0));
    HWND menu = OpenStyleMenu(program, dialog, second);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(MenuShows(menu, "ii-i", {true, true, false}));
    ASSERT_TRUE(CloseMenus(program.ProcessId()));
    Click(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    // Alt+2 in the calendar takes the saved style: the window stays on top
    // when another window is activated. Before, the calendar is not on top
    // once another window has the activation.
    const std::vector<HWND> notes = NoteWindows(program.ProcessId());
    ASSERT_FALSE(notes.empty());
    ASSERT_TRUE(ActivateAwayFrom(calendar, notes[0]));
    EXPECT_FALSE(OnTop(calendar));
    ASSERT_TRUE(BringForward(calendar));
    PressKeys({VK_MENU, '2'});
    EXPECT_TRUE(WaitUntil([&] { return OnTop(calendar); }));
    ASSERT_TRUE(ActivateAwayFrom(calendar, notes[0]));
    EXPECT_TRUE(OnTop(calendar));

    // Reset, then in a new dialog: the style equals its standard, so there
    // is nothing to reset, and nothing to undo.
    dialog = OpenSettings(program, calendar);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, second), WM_COMMAND, ID_CALSTYLE_RESET, 0));
    Click(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    dialog = OpenSettings(program, calendar);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(BringForward(dialog));
    menu = OpenStyleMenu(program, dialog, second);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(MenuShows(menu, "ii-i", {true, false, false}));
    ASSERT_TRUE(CloseMenus(program.ProcessId()));
    Click(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    CloseCalendarAndProgram(install, program, calendar);
}

TEST(CalendarSettingsDialog, TheBlackMarbleStyleShowsInThePreview)
{
    ProgramInstall install;
    AddBlackMarbleInstall(install);
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    HWND dialog = OpenSettings(program, calendar);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_CALSET_STYLE_5 + 1);
    EXPECT_EQ(BackgroundKind(dialog), 4);
    ASSERT_TRUE(SaveScreenshotOf(dialog, "calendar-settings-black-marble"));
    // The caption strip is black; a day cell shows the grey picture.
    RECT frame;
    GetWindowRect(GetDlgItem(dialog, IDC_CALSET_PREVIEW), &frame);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(frame.right - 6, frame.top + 3) == RGB(0, 0, 0); }));
    RECT cell;
    GetWindowRect(GetDlgItem(dialog, IDC_CAL_DAY + 15), &cell);
    COLORREF day = CLR_INVALID;
    EXPECT_TRUE(WaitUntil([&] {
        day = ScreenPixel(cell.left + 2, cell.top + 2);
        return GetRValue(day) > 110 && GetRValue(day) < 150 && GetRValue(day) == GetBValue(day);
    })) << std::hex << day;
    Click(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    CloseCalendarAndProgram(install, program, calendar);
}

TEST(CalendarSettingsDialog, OkGivesTheCalendarTheSettingsAtOnce)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    HWND dialog = OpenSettings(program, calendar);
    ASSERT_NE(dialog, nullptr);
    // The third style's red caption, with the week from Monday, three months
    // and the window on top.
    Click(dialog, IDC_CALSET_STYLE_1 + 2);
    Click(dialog, IDC_CALSET_MONDAY);
    SendWithTimeout(GetDlgItem(dialog, IDC_CALSET_THREE_MONTHS), BM_CLICK, 0, 0);
    Toggle(dialog, IDC_CALSET_ON_TOP);
    LRESULT shown = -1;
    MoveTransparency(dialog, 33, &shown);
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(WaitUntil([&] { return OnTop(calendar); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(calendar, IDC_CAL2_TITLE)) != 0; }));
    RECT window;
    GetWindowRect(calendar, &window);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(window.right - 8, window.top + 3) == RGB(225, 0, 0); }))
        << std::hex << ScreenPixel(window.right - 8, window.top + 3);
    CloseCalendarAndProgram(install, program, calendar);
    CalendarFile file(install.File("calendar.QPD"));
    EXPECT_EQ(file.Option(1, "transparency"), "30");
    EXPECT_EQ(file.Option(1, "firstDayOfWeek"), "0");
    EXPECT_EQ(file.Option(1, "nrOfMonthsToShow"), "2");
    EXPECT_EQ(file.Option(1, "stayOnTop"), "1");
    EXPECT_EQ(file.Option(1, "dialogTitleBackColor"), "225");
}

TEST(CalendarSettingsDialog, AnImageBackgroundWithoutATexturesFolderTellsWhereToMakeIt)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    HWND dialog = OpenSettings(program, calendar);
    ASSERT_NE(dialog, nullptr);
    HWND combo = GetDlgItem(dialog, IDC_CALSET_BACKGROUND);
    SendWithTimeout(combo, CB_SETCURSEL, 4, 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CALSET_BACKGROUND, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(AcknowledgeProgramBox(program.ProcessId()),
              "Sorry, the folder '" + install.Path() +
                  "\\TEXTURES'is missing.\r\n\r\nPlease create this folder, copy into it some nice images and then "
                  "try again.");
    Click(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    CloseCalendarAndProgram(install, program, calendar);
}

TEST(CalendarSettingsDialog, BackgroundKindsRollUpAndTheStandardValues)
{
    ProgramInstall install;
    AddBlackMarbleInstall(install);
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    HWND dialog = OpenSettings(program, calendar);
    ASSERT_NE(dialog, nullptr);
    HWND combo = GetDlgItem(dialog, IDC_CALSET_BACKGROUND);
    HWND bar = GetDlgItem(dialog, IDC_CALSET_TRANSPARENCY);
    auto chooseKind = [&](int kind) {
        SendWithTimeout(combo, CB_SETCURSEL, kind, 0);
        SendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(IDC_CALSET_BACKGROUND, CBN_SELENDOK),
                        reinterpret_cast<LPARAM>(combo));
    };
    // Six kinds; a transparent calendar has no transparency of its own.
    LRESULT count = 0;
    SendWithTimeout(combo, CB_GETCOUNT, 0, 0, &count);
    EXPECT_EQ(count, 6);
    chooseKind(5);
    EXPECT_FALSE(IsWindowEnabled(bar));
    chooseKind(1);
    EXPECT_TRUE(IsWindowEnabled(bar));

    // Rolled up, the month goes; unrolled, it comes back.
    HWND cell = GetDlgItem(dialog, IDC_CAL_DAY + 10);
    EXPECT_TRUE(IsWindowVisible(cell));
    Toggle(dialog, IDC_CALSET_ROLL_UP);
    EXPECT_FALSE(IsWindowVisible(cell));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_CAL_TITLE)));
    ASSERT_TRUE(SaveScreenshotOf(dialog, "calendar-settings-rolled-up"));
    Toggle(dialog, IDC_CALSET_ROLL_UP);
    EXPECT_TRUE(IsWindowVisible(cell));

    // The black marble style, then the standard values back: the options'
    // plain background, the week from Sunday, the standard hotkey.
    Click(dialog, IDC_CALSET_STYLE_5 + 1);
    Click(dialog, IDC_CALSET_MONDAY);
    EXPECT_EQ(BackgroundKind(dialog), 4);
    Click(dialog, IDC_CALSET_RESET);
    EXPECT_EQ(BackgroundKind(dialog), 0);
    EXPECT_TRUE(Checked(dialog, IDC_CALSET_SUNDAY));
    EXPECT_FALSE(Checked(dialog, IDC_CALSET_MONDAY));
    EXPECT_EQ(ReadWindowText(GetDlgItem(dialog, IDC_CALSET_HOTKEY)), " Alt+Shift+T");

    // Plain colour after the picture leaves no picture behind.
    Click(dialog, IDC_CALSET_STYLE_5 + 1);
    chooseKind(0);
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    CloseCalendarAndProgram(install, program, calendar);
    CalendarFile file(install.File("calendar.QPD"));
    EXPECT_EQ(file.Option(1, "backgroundType"), "0");
    EXPECT_EQ(file.Option(1, "backgroundImage"), "");
    EXPECT_EQ(file.Option(1, "dialogBackColor"), std::to_string(0x141414));
}

TEST(CalendarSettingsDialog, TheBackgroundColourColoursTitleWeekdaysAndDaysToo)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    HWND dialog = OpenSettings(program, calendar);
    ASSERT_NE(dialog, nullptr);
    // A plain click on the background opens the colour choice.
    const LPARAM background = BackgroundPoint(dialog);
    PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, background);
    PostMessageA(dialog, WM_LBUTTONUP, 0, background);
    // Red 0, green 128, blue 0 typed into its fields; still a plain colour.
    ASSERT_TRUE(AnswerColourDialog(program.ProcessId(), "Select the calendar background color", RGB(0, 128, 0)));
    EXPECT_EQ(BackgroundKind(dialog), 0);
    // The preview's day cells show the new colour.
    RECT cell;
    GetWindowRect(GetDlgItem(dialog, IDC_CAL_DAY + 15), &cell);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(cell.left + 2, cell.top + 2) == RGB(0, 128, 0); }))
        << std::hex << ScreenPixel(cell.left + 2, cell.top + 2);
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    CloseCalendarAndProgram(install, program, calendar);
    CalendarFile file(install.File("calendar.QPD"));
    for (const char* key : {"dialogBackColor", "daysAreaBackColor", "calendarTitleBackColor", "weekdayBackColor"})
        EXPECT_EQ(file.Option(1, key), std::to_string(RGB(0, 128, 0))) << key;
}
