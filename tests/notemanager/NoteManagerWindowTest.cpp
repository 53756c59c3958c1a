// The Note Manager window of the real program: opened from the tray command
// and by alarm-day requests, its filters, rows, sorting and status, its combo
// menus and its columns menu, its place among the windows and its list's focus.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "globals/MainWindowMessages.h"
#include "notemanager/NoteManagerDriving.h"
#include "resources/ids/NoteManagerIds.h"
#include "support/ListViewDriving.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"

namespace {
const DWORD kWindowAlarmDay = 20270314;

// With the welcome note of a new user, six notes.
std::vector<TestNote> SixNotes()
{
    return {
        {"Alpha alarm note", false, kWindowAlarmDay, 10},
        {"Bravo alarm note", false, kWindowAlarmDay, 8},
        {"Charlie other day", false, 20270315, 9},
        {"Delta hidden", true},
        {"Echo " + std::string(40, 'x') + " needle at the end", false, 0, 9, "Echo"},
    };
}

// The program's menus give an item its text's width in the menu font and 30
// pixels more; a popup adds a little room of its own.
const int kItemRoom = 30;
const int kPopupRoom = 40;

// The open combo menu is as wide as its widest text asks and as high as its
// items and separators.
::testing::AssertionResult SizedForItsTexts(HWND menu, const std::vector<std::string>& texts, const char* layout)
{
    RECT client{};
    GetClientRect(menu, &client);
    int widest = 0;
    for (const std::string& text : texts)
        widest = std::max(widest, MenuTextWidth(text));
    if (client.right < widest + kItemRoom || client.right > widest + kItemRoom + kPopupRoom)
        return ::testing::AssertionFailure() << "the menu is " << client.right << " wide, its widest text "
                                             << widest;
    if (!MenuPicture(menu, layout).Fits())
        return ::testing::AssertionFailure() << "the menu's " << client.bottom << " pixels do not hold " << layout;
    return ::testing::AssertionSuccess();
}

bool HasRect(HWND window, const RECT& expected)
{
    const RECT rect = RectOf(window);
    return EqualRect(&rect, &expected) != FALSE;
}

// Maximised as the user sees it: the flag and the window over the whole work
// area (the system sets the flag before it moves the window).
bool ShowsMaximised(HWND window)
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const RECT rect = RectOf(window);
    return IsZoomed(window) && rect.left <= work.left && rect.top <= work.top && rect.right >= work.right &&
           rect.bottom >= work.bottom;
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}
}

TEST(NoteManagerWindow, ComboMenusFitTheirTextsAndTheListHandsOnTheFocus)
{
    ProgramInstall install("nmmenus");
    install.AddInstalledDataFiles();
    StoreTestNotes(install, SixNotes());
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    ASSERT_NE(manager.OpenFromTrayListing(program, 6), nullptr);
    // Not kept on top: neither topmost nor system-modal.
    EXPECT_EQ(GetWindowLongA(manager.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindowLongA(manager.Window(), GWL_STYLE) & DS_SYSMODAL, 0);

    // The style combo's menu for "All", which keeps its name.
    ASSERT_TRUE(WaitUntilPainted(manager.Window()));
    PostMessageA(GetDlgItem(manager.Window(), IDC_NM_STYLE), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    HWND menu = WaitForOpenMenus(process, 1);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(SizedForItsTexts(menu, {"Rename style 'All'", "Cancel"}, "i-i"));
    // The first menu opened in the window shows in front of it: the grayed
    // entry without dark text, and "Cancel" drawn as wide as it is.
    EXPECT_TRUE(MenuShows(menu, "i-i", {false, true}));
    EXPECT_TRUE(DrawnAsWideAs(MenuPicture(menu, "i-i").TextEnd(1), "Cancel"));
    EXPECT_TRUE(SaveScreenshotOf(menu, "note-manager-style-menu"));
    ASSERT_TRUE(CloseMenus(process));

    // The group combo's menu for "All (except Deleted)", its entry and
    // separator for a reset taken out; the program's own group is neither
    // renamed nor deleted nor given a hotkey.
    const std::string all = "All (except Deleted)";
    PostMessageA(GetDlgItem(manager.Window(), IDC_NM_GROUP), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    menu = WaitForOpenMenus(process, 1);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(SizedForItsTexts(menu,
                                 {"&Create new group", "&Rename group '" + all + "'", "&Delete group '" + all + "'",
                                  "&Set system-wide hotkey...", "Cancel"},
                                 "iiii-i"));
    EXPECT_TRUE(MenuShows(menu, "iiii-i", {true, false, false, false, true}));
    EXPECT_TRUE(SaveScreenshotOf(menu, "note-manager-group-menu"));
    ASSERT_TRUE(CloseMenus(process));

    // The list losing the focus hands it to the window that takes it.
    manager.SelectTitles({"Alpha alarm note"});
    SendWithTimeout(manager.Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(manager.List()), TRUE);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(manager.Window()) == manager.List(); }));
    HWND edit = GetDlgItem(manager.Window(), IDC_NM_TEXT);
    PostMessageA(manager.List(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(edit), 0);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(manager.Window()) == edit; }));

    ASSERT_TRUE(manager.Close());
    CloseProgram(install, program);
}

// A note made while the window is open and moved over it stays in front of
// it when the window's first menu opens, and after.
TEST(NoteManagerWindow, ANoteMadeOverItStaysInFrontOfItsMenus)
{
    ProgramInstall install("nmfront");
    install.AddInstalledDataFiles();
    StoreTestNotes(install, SixNotes());
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    HWND main = manager.OpenFromTrayListing(program, 6);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntilPainted(manager.Window()));

    HWND note = NewNoteFromMainWindow(main, process);
    ASSERT_NE(note, nullptr);
    const RECT managerRect = RectOf(manager.Window());
    SetWindowPos(note, nullptr, managerRect.left + 40, managerRect.top + 200, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntilPainted(note));
    // The middle of the empty note's body shows its yellow.
    const RECT body = RectOf(BodyOf(note));
    const POINT inNote{(body.left + body.right) / 2, (body.top + body.bottom) / 2};
    COLORREF yellow = CLR_INVALID;
    ASSERT_TRUE(WaitUntil([&] {
        yellow = ScreenPixel(inNote);
        return GetRValue(yellow) > 0xE0 && GetGValue(yellow) > 0xE0 && GetBValue(yellow) < 0xE0;
    }));

    PostMessageA(GetDlgItem(manager.Window(), IDC_NM_GROUP), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    HWND menu = WaitForOpenMenus(process, 1);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(MenuShows(menu, "iiii-i", {true, false, false, false, true}));
    EXPECT_EQ(ScreenPixel(inNote), yellow) << "the note went under the window as its menu opened";
    EXPECT_TRUE(SaveScreenshotOf(menu, "note-manager-menu-beside-note"));
    ASSERT_TRUE(CloseMenus(process));
    EXPECT_TRUE(WaitUntilPainted(manager.Window()));
    EXPECT_EQ(ScreenPixel(inNote), yellow) << "the note went under the window";
    ASSERT_TRUE(manager.Close());
}

TEST(NoteManagerWindow, RequestsForAnAlarmDayShowOneWindowAndLeaveTheFiltersAsTheyWere)
{
    ProgramInstall install("nmwindow");
    install.AddInstalledDataFiles();
    StoreTestNotes(install, SixNotes());
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    HWND main = manager.OpenFromTray(program);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "Nothing selected, 6 notes listed"; }))
        << manager.StatusText();
    EXPECT_TRUE(manager.Checked(IDC_NM_ALARMS_ALL));
    SaveScreenshotOf(manager.Window(), "note-manager");
    // The install has no help file: the user is told.
    manager.Press(IDC_NM_HELP);
    const ShownMessageBox help = WaitForMessageBox(process, kDriverWaitMs, "");
    EXPECT_EQ(help.text, "Unable to activate help");
    EXPECT_TRUE(AnswerMessageBox(help, IDOK));

    // Two requests for one day: one window, showing that day's alarm notes by alarm time.
    PostMessageA(main, kMsgOpenNoteManager, 0, kWindowAlarmDay);
    PostMessageA(main, kMsgOpenNoteManager, 0, kWindowAlarmDay);
    EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 2 && manager.Checked(IDC_NM_ALARMS_WITH); }));
    EXPECT_EQ(TopWindowsOf(process, "#32770").size(), 1u);
    EXPECT_EQ(manager.Column(1), (std::vector<std::string>{"Bravo alarm note", "Alpha alarm note"}));

    ASSERT_TRUE(manager.Close());
    PostMessageA(main, WM_COMMAND, kCmdNoteManager, 0);
    NoteManagerWindow again(process);
    ASSERT_TRUE(again.Wait());
    EXPECT_TRUE(WaitUntil([&] { return again.Rows() == 6; }));
    EXPECT_TRUE(again.Checked(IDC_NM_ALARMS_ALL));
    ASSERT_TRUE(again.Close());
    CloseProgram(install, program);
}

// The windows a user meets over the open Note Manager show as themselves on
// the screen: its question before a deletion, its list's menu, and a note
// made meanwhile.
TEST(NoteManagerWindow, WindowsOpenedOverItShowReadably)
{
    ProgramInstall install("nmpictures");
    install.AddInstalledDataFiles();
    StoreTestNotes(install, SixNotes());
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    HWND main = manager.OpenFromTrayListing(program, 6);
    ASSERT_NE(main, nullptr);

    manager.SelectTitles({"Charlie other day"});
    PostMessageA(manager.List(), WM_KEYDOWN, VK_DELETE, 0);
    const ShownMessageBox question = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(question.window, nullptr);
    EXPECT_TRUE(ShowsReadably(question.window, "note-manager-delete-question"));
    ASSERT_TRUE(AnswerMessageBox(question, IDNO));

    // A right click on a row opens the list's menu.
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    RemoteBlock rect(process, sizeof row);
    ASSERT_TRUE(rect.Write(&row, sizeof row));
    ASSERT_TRUE(SendWithTimeout(manager.List(), LVM_GETITEMRECT, 0, rect.Param()));
    ASSERT_TRUE(rect.Read(&row, sizeof row));
    const LPARAM at = MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2);
    PostMessageA(manager.List(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(manager.List(), WM_RBUTTONUP, 0, at);
    HWND menu = WaitForOpenMenus(process, 1);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(ShowsReadably(menu, "note-manager-list-menu"));
    EXPECT_TRUE(CloseMenus(process));

    HWND note = NewNoteFromMainWindow(main, process);
    ASSERT_NE(note, nullptr);
    const char text[] = "Written while the Note Manager is open";
    ASSERT_TRUE(SendWithTimeout(BodyOf(note), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
    EXPECT_TRUE(ShowsReadably(note, "note-over-note-manager"));
    ASSERT_TRUE(manager.Close());
}

// Closed maximised, the window opens again maximised, on the whole screen,
// and un-maximising it gives back the size the user gave it before.
TEST(NoteManagerWindow, OpenedMaximisedItRestoresToTheSizeTheUserGaveIt)
{
    ProgramInstall install("nmplace");
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    HWND main = manager.OpenFromTray(program);
    ASSERT_NE(main, nullptr);
    const RECT given{70, 50, 70 + 720, 50 + 500};
    SetWindowPos(manager.Window(), nullptr, given.left, given.top, 720, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return HasRect(manager.Window(), given); }));
    PostMessageA(manager.Window(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ShowsMaximised(manager.Window()); }));
    const RECT maximised = RectOf(manager.Window());
    ASSERT_TRUE(manager.Close());

    PostMessageA(main, WM_COMMAND, kCmdNoteManager, 0);
    NoteManagerWindow again(process);
    ASSERT_TRUE(again.Wait());
    // Maximised as the user left it, and still so once it has painted.
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(again.Window()) && HasRect(again.Window(), maximised); }));
    EXPECT_TRUE(SaveScreenshotOf(again.Window(), "note-manager-maximised"));
    EXPECT_TRUE(IsZoomed(again.Window()));
    EXPECT_TRUE(HasRect(again.Window(), maximised));
    PostMessageA(again.Window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsZoomed(again.Window()); }));
    // The flag goes before the window takes its normal rectangle again.
    WaitUntil([&] { return HasRect(again.Window(), given); });
    const RECT restored = RectOf(again.Window());
    EXPECT_TRUE(HasRect(again.Window(), given)) << "restored to " << restored.left << "," << restored.top << " "
                                                << restored.right - restored.left << "x"
                                                << restored.bottom - restored.top;
    EXPECT_TRUE(SaveScreenshotOf(again.Window(), "note-manager-restored"));
    ASSERT_TRUE(again.Close());
    const std::string stored = ReadWholeFile(install.File("noteman.QPD"));
    EXPECT_NE(stored.find("<dialogWidth>720</dialogWidth>"), std::string::npos);
    EXPECT_NE(stored.find("<dialogMaximized>0</dialogMaximized>"), std::string::npos);
    CloseProgram(install, program);
}

// The header's menu marks each column shown with the menus' check picture,
// the hidden Owner column with none, and its choice shows that column.
TEST(NoteManagerWindow, TheColumnsMenuChecksTheColumnsShown)
{
    ProgramInstall install("nmcolmenu");
    install.AddInstalledDataFiles();
    StoreTestNotes(install, SixNotes());
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    ASSERT_NE(manager.OpenFromTrayListing(program, 6), nullptr);
    ASSERT_TRUE(WaitUntilPainted(manager.Window()));
    HWND header = FindWindowExA(manager.List(), nullptr, "SysHeader32", nullptr);
    auto openMenu = [&] {
        // The menu opens at the pointer, over the header's Title.
        const RECT place = RectOf(header);
        const POINT at{60, (place.bottom - place.top) / 2};
        SetCursorPos(place.left + at.x, place.top + at.y);
        PostMessageA(header, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
        PostMessageA(header, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        return WaitForOpenMenus(process, 1);
    };
    // The title, the eight columns, Reset and Cancel.
    const char kLayout[] = "i-iiiiiiii-i-i";
    const size_t kOwnerItem = 7;
    HWND menu = openMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return MenuPicture(menu, kLayout).HasDarkPicture(2); }));
    MenuPicture picture(menu, kLayout);
    EXPECT_TRUE(picture.Fits());
    EXPECT_FALSE(picture.HasDarkPicture(0)) << "the title";
    for (size_t item = 1; item <= 8; ++item)
        EXPECT_EQ(picture.HasDarkPicture(item), item != kOwnerItem) << "column item " << item;
    EXPECT_FALSE(picture.HasMark(kOwnerItem));
    EXPECT_TRUE(SaveScreenshotOf(menu, "note-manager-columns-menu"));
    // Owner chosen: shown, and checked the next time.
    for (size_t step = 0; step <= kOwnerItem; ++step)
        PressMenuKey(menu, VK_DOWN);
    PressMenuKey(menu, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return ListColumnWidth(manager.List(), 6) == 100; }));
    menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return MenuPicture(menu, kLayout).HasDarkPicture(kOwnerItem); }));
    ASSERT_TRUE(CloseMenus(process));

    ASSERT_TRUE(manager.Close());
    CloseProgram(install, program);
}
