// The Note Manager's list on the real program: each filter by the rows it
// leaves, cells that start before a late match of the text filter, sorting
// by a click on a column, the status of a selection, and a style or group
// picked in its box as the user picks it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "globals/MainWindowMessages.h"
#include "notemanager/NoteManagerDriving.h"
#include "resources/ids/NoteManagerIds.h"
#include "support/KeyPresses.h"
#include "support/ListViewDriving.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"

namespace {
const char kWelcome[] = "Welcome to Quillnet+";
const std::string kEchoText = "Echo " + std::string(40, 'x') + " needle at the end";
const std::string kLongTitle = std::string(15, 'T') + "needle" + std::string(19, 't');

std::vector<TestNote> ListNotes()
{
    TestNote charlie("Charlie recurring", false, 20270315, 9);
    charlie.recurring = true;
    return {
        {"Alpha alarm note", false, 20270314, 10},
        {"Bravo alarm note", false, 20270314, 8},
        charlie,
        {"Delta hidden", true},
        {kEchoText, false, 0, 9, "Echo"},
        {"Golf", false, 0, 9, kLongTitle},
    };
}

// The first pixel row under the list's header where the Icons column (shown
// first) holds a bell's gold; -1 when none does.
int FirstLineWithBell(HWND list)
{
    RECT area{};
    GetWindowRect(list, &area);
    RECT header{};
    GetWindowRect(FindWindowExA(list, nullptr, "SysHeader32", nullptr), &header);
    area.top = header.bottom;
    area.left = header.left;
    area.right = header.left + ListColumnWidth(list, 0);
    const std::vector<COLORREF> pixels = ScreenPixels(area);
    const int width = area.right - area.left;
    for (size_t i = 0; width > 0 && i < pixels.size(); ++i) {
        const COLORREF pixel = pixels[i];
        if (GetRValue(pixel) > 160 && GetGValue(pixel) > 110 && GetBValue(pixel) < 90)
            return static_cast<int>(i / static_cast<size_t>(width));
    }
    return -1;
}

std::vector<std::string> SortedTexts(std::vector<std::string> texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

// The titles listed once the list has the count of rows.
std::vector<std::string> TitlesOnceListed(const NoteManagerWindow& manager, size_t rows)
{
    WaitUntil([&] { return manager.Rows() == static_cast<int>(rows); });
    return SortedTexts(manager.Column(1));
}
}

TEST(NoteManagerList, FiltersSortingAndTheStatusShowWhatTheUserAsked)
{
    ProgramInstall install("nmlist");
    install.AddInstalledDataFiles();
    StoreTestNotes(install, ListNotes());
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    HWND main = manager.OpenFromTrayListing(program, 7);
    ASSERT_NE(main, nullptr);

    // The radio buttons, each by the rows it leaves.
    manager.Click(IDC_NM_STATE_HIDDEN);
    EXPECT_EQ(TitlesOnceListed(manager, 1), (std::vector<std::string>{"Delta hidden"}));
    manager.Click(IDC_NM_STATE_DESKTOP);
    EXPECT_EQ(TitlesOnceListed(manager, 6).size(), 6u);
    manager.Click(IDC_NM_STATE_ALL);
    manager.Click(IDC_NM_ALARMS_WITH);
    EXPECT_EQ(TitlesOnceListed(manager, 3),
              (std::vector<std::string>{"Alpha alarm note", "Bravo alarm note", "Charlie recurring"}));
    manager.Click(IDC_NM_ALARMS_RECURRING);
    EXPECT_EQ(TitlesOnceListed(manager, 1), (std::vector<std::string>{"Charlie recurring"}));
    manager.Click(IDC_NM_ALARMS_WITHOUT);
    EXPECT_EQ(TitlesOnceListed(manager, 4), SortedTexts({"Delta hidden", "Echo", kLongTitle, kWelcome}));
    manager.Click(IDC_NM_ASSOC_WITH);
    EXPECT_TRUE(TitlesOnceListed(manager, 0).empty());
    manager.Click(IDC_NM_ASSOC_ALL);
    manager.Click(IDC_NM_PROTECTED);
    EXPECT_TRUE(TitlesOnceListed(manager, 0).empty());
    manager.Click(IDC_NM_PROTECTION_ALL);
    manager.Click(IDC_NM_ALARMS_ALL);
    ASSERT_TRUE(WaitUntil([&] { return manager.Rows() == 7; }));

    // The text filter: a late match shows its cell from 10 characters before it.
    SendWithTimeout(GetDlgItem(manager.Window(), IDC_NM_TEXT), WM_SETTEXT, 0,
                    reinterpret_cast<LPARAM>("NEEDLE"));
    EXPECT_EQ(TitlesOnceListed(manager, 2), SortedTexts({"Echo", kLongTitle.substr(5)}));
    const int echo = manager.RowOfTitle("Echo");
    ASSERT_GE(echo, 0);
    EXPECT_EQ(manager.Cell(echo, 2), kEchoText.substr(36));
    manager.Click(IDC_NM_CLEAR_FILTERS);
    ASSERT_TRUE(WaitUntil([&] { return manager.Rows() == 7; }));
    EXPECT_EQ(manager.Text(IDC_NM_TEXT), "");
    EXPECT_EQ(manager.Cell(manager.RowOfTitle("Echo"), 2), kEchoText);

    // A first click on Created sorts the newest first; a second click turns the order.
    ClickHeaderItem(process, manager.List(), 4);
    EXPECT_TRUE(WaitUntil([&] { return manager.Cell(0, 1) == kWelcome; }));
    ClickHeaderItem(process, manager.List(), 4);
    EXPECT_TRUE(WaitUntil([&] { return manager.Cell(6, 1) == kWelcome; }));
    // Alarm: a first click sorts the latest first; ascending lists the notes
    // without an alarm first, then the alarms from the earliest.
    ClickHeaderItem(process, manager.List(), 3);
    EXPECT_TRUE(WaitUntil([&] { return manager.Cell(0, 1) == "Charlie recurring"; }));
    ClickHeaderItem(process, manager.List(), 3);
    EXPECT_TRUE(WaitUntil([&] { return manager.Cell(6, 1) == "Charlie recurring"; }));
    const std::vector<std::string> titles = manager.Column(1);
    ASSERT_EQ(titles.size(), 7u);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(manager.Cell(row, 3), "") << titles[row];
    EXPECT_EQ(std::vector<std::string>(titles.begin() + 4, titles.end()),
              (std::vector<std::string>{"Bravo alarm note", "Alpha alarm note", "Charlie recurring"}));

    // The desktop notes parked: a hidden and a parked note selected.
    PostMessageA(main, WM_COMMAND, kCmdParkAll, 0);
    HWND alpha = WaitForNoteWithText(process, "Alpha alarm note");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(alpha) || IsIconic(alpha); }));
    manager.SelectTitles({"Delta hidden", "Alpha alarm note"});
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "2 notes are selected, 1 is hidden, 1 is parked"; }))
        << manager.StatusText();
    EXPECT_FALSE(manager.Enabled(IDC_NM_HIDE));
    EXPECT_TRUE(manager.Enabled(IDC_NM_SHOW));
    manager.SelectTitles({"Delta hidden"});
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "The selected note is hidden"; }))
        << manager.StatusText();
    EXPECT_EQ(manager.Text(IDC_NM_SHOW), "&Show note");
    // Show brings the hidden note up, Hide puts it away again.
    HWND delta = WaitForNoteWithText(process, "Delta hidden");
    ASSERT_NE(delta, nullptr);
    manager.Click(IDC_NM_SHOW);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(delta) != FALSE; }));
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "The selected note is on the desktop"; }))
        << manager.StatusText();
    manager.Click(IDC_NM_HIDE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(delta); }));
    manager.SelectTitles({});
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "Nothing selected, 7 notes listed"; }));
    // The Icons column shows the alarm notes' bells, in the fifth row of
    // 16 or 17 pixels and not before. The screen is read again until a bell
    // shows: on a loaded machine the list's repaint after the selection was
    // cleared can come after its status.
    int bell = -1;
    WaitUntil([&] { return (bell = FirstLineWithBell(manager.List())) >= 0; });
    EXPECT_GE(bell, 4 * 16);
    EXPECT_LT(bell, 5 * 16);
    SaveScreenshotOf(manager.Window(), "note-manager-list");

    ASSERT_TRUE(manager.Close());
    CloseProgram(install, program);
}

namespace {
// A click at the left end of the text filter, away from where the boxes'
// lists open (a list that opens under the pointer the program last saw
// lights up the item there); true once the program has taken the click.
bool ClickAsideOfTheLists(const NoteManagerWindow& manager)
{
    HWND edit = GetDlgItem(manager.Window(), IDC_NM_TEXT);
    const RECT place = RectOf(edit);
    if (!manager.ReadyForClicks())
        return false;
    ClickAt({place.left + 5, (place.top + place.bottom) / 2});
    return WaitUntil([&] { return FocusedWindowOf(manager.Window()) == edit; });
}

// The box's own menu opened by the right button, its first item chosen, and
// the name typed into the in-place edit that the item opens.
bool TypeFromMenu(const NoteManagerWindow& manager, HWND box, const char* name)
{
    DWORD process = 0;
    GetWindowThreadProcessId(box, &process);
    PostMessageA(box, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    HWND menu = WaitForOpenMenus(process, 1);
    if (!menu)
        return false;
    PressMenuKey(menu, VK_DOWN);
    PressMenuKey(menu, VK_RETURN);
    return manager.TypeInOpeningInPlaceEdit(name);
}

// Once the list and the status line show that many rows.
bool Listed(const NoteManagerWindow& manager, int rows)
{
    const std::string status = "Nothing selected, " + std::to_string(rows) + " notes listed";
    return WaitUntil([&] { return manager.Rows() == rows && manager.StatusText() == status; });
}
}

// A style or a group picked in its box, with the mouse or with the keys,
// filters the list and its status line at once, and a pick by the mouse
// closes the box's list; the boxes' own menus still reach the window.
TEST(NoteManagerList, AStyleOrGroupPickedInItsBoxFiltersTheListAtOnce)
{
    ProgramInstall install("nmpick");
    install.AddInstalledDataFiles();
    TestNote greenOne("Green one"), greenTwo("Green two");
    greenOne.style = greenTwo.style = 2;
    const DWORD kWork = 8;
    const std::vector<DWORD> ids = StoreTestNotes(install, {{"Plain one"}, greenOne, {"Plain two"}, greenTwo});
    WriteGroupsFile(install, {kWork}, {{kWork, ids[2]}});
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    ASSERT_NE(manager.OpenFromTrayListing(program, 5), nullptr);
    HWND styles = GetDlgItem(manager.Window(), IDC_NM_STYLE);
    HWND groups = GetDlgItem(manager.Window(), IDC_NM_GROUP);

    // Styles. The mouse: the list closes on the item, the two green notes listed.
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_STYLE, 2));
    EXPECT_FALSE(manager.ComboDropped(IDC_NM_STYLE));
    EXPECT_TRUE(Listed(manager, 2));
    EXPECT_EQ(SortedTexts(manager.Column(1)), (std::vector<std::string>{"Green one", "Green two"}));
    // The keys in the closed box: the next style, which no note has.
    ASSERT_TRUE(ClickAsideOfTheLists(manager));
    SendWithTimeout(manager.Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(styles), TRUE);
    PostKeyPress(styles, VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return manager.ComboSelection(IDC_NM_STYLE) == 3; }));
    EXPECT_TRUE(Listed(manager, 0));
    // The keys in the open list: F4 opens it, Up and Return go back to green.
    PostKeyPress(styles, VK_F4);
    EXPECT_TRUE(WaitUntil([&] { return manager.ComboDropped(IDC_NM_STYLE); }));
    PostKeyPress(styles, VK_UP);
    PostKeyPress(styles, VK_RETURN);
    EXPECT_TRUE(WaitUntil(
        [&] { return !manager.ComboDropped(IDC_NM_STYLE) && manager.ComboSelection(IDC_NM_STYLE) == 2; }));
    EXPECT_TRUE(Listed(manager, 2));
    // The style's own menu: its rename reaches the window.
    ASSERT_TRUE(TypeFromMenu(manager, styles, "Green"));
    EXPECT_TRUE(WaitUntil([&] { return manager.ComboItem(IDC_NM_STYLE, 2) == "Green"; }));
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_STYLE, 0));
    EXPECT_TRUE(Listed(manager, 5));

    // Groups: the one just before "Group 008", then that group by the keys.
    int work = -1;
    for (int index = 0; index < 20 && work < 0; ++index) {
        if (manager.ComboItem(IDC_NM_GROUP, index) == "Group 008")
            work = index;
    }
    ASSERT_GT(work, 2) << "after the program's own three groups";
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_GROUP, work - 1));
    const int before = manager.ComboItem(IDC_NM_GROUP, work - 1) == "None" ? 4 : 0;
    EXPECT_TRUE(Listed(manager, before));
    ASSERT_TRUE(ClickAsideOfTheLists(manager));
    SendWithTimeout(manager.Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(groups), TRUE);
    PostKeyPress(groups, VK_DOWN);
    EXPECT_TRUE(Listed(manager, 1));
    EXPECT_EQ(manager.Column(1), (std::vector<std::string>{"Plain two"}));
    // The open list: Up and Return, then the mouse back on the whole list.
    PostKeyPress(groups, VK_F4);
    EXPECT_TRUE(WaitUntil([&] { return manager.ComboDropped(IDC_NM_GROUP); }));
    PostKeyPress(groups, VK_UP);
    PostKeyPress(groups, VK_RETURN);
    EXPECT_TRUE(WaitUntil(
        [&] { return !manager.ComboDropped(IDC_NM_GROUP) && manager.ComboSelection(IDC_NM_GROUP) == work - 1; }));
    EXPECT_TRUE(Listed(manager, before));
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_GROUP, work));
    EXPECT_TRUE(Listed(manager, 1));
    // The group's own menu: a new group made from it.
    ASSERT_TRUE(TypeFromMenu(manager, groups, "Aardvark"));
    EXPECT_TRUE(WaitUntil([&] { return manager.ComboItem(IDC_NM_GROUP, 3) == "Aardvark"; }));
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_GROUP, 0));
    EXPECT_TRUE(Listed(manager, 5));

    ASSERT_TRUE(manager.Close());
    CloseProgram(install, program);
}
